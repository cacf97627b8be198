// Temporary definitions of the main window's handlers that are still being
// built; each moves to the file of the feature that implements it.
#include "app/win/Win32Prompts.h"
#include "app/win/frmMain.h"

namespace reelwright {

void frmMain::mnuProperties_Click() {}
void frmMain::mnuAbout_Click() {}

void frmMain::cmdAdd_Click() {}
void frmMain::cmdRemove_Click() {}
void frmMain::cmdClear_Click() {}
void frmMain::RefreshDemoList() {}

void frmMain::cmdLaunch_Click() {}

}  // namespace reelwright

namespace reelwright::win {

std::optional<OpenFileResult> Win32Prompts::ShowOpenFile(const OpenFileRequest&) { return std::nullopt; }

}  // namespace reelwright::win
