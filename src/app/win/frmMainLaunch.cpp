// The main window's Launch button: starts the game on the queued demos and
// minimises the window when the user asked for it.
#include "app/win/frmMain.h"
#include "launch/Launch.h"
#include "core/win/Controls.h"
#include "launch/ElevatedProgramCopy.h"
#include "shell/win/OwnProgramFile.h"
#include "shell/win/Win32ElevatedRunner.h"

namespace reelwright {

void frmMain::cmdLaunch_Click() {
    const std::string optionalParameters = win::GetText(txtOptionalParams);
    // The program, started again with rights from a fresh copy of its own
    // bytes, places the script in a game folder that the user cannot write.
    win::Win32ElevatedRunner starter(hwnd());
    ElevatedProgramCopy elevation(services().files, starter, win::ReadOwnProgramFile,
                                  services().location.baseName + ".exe");
    if (Launch(services(), queue(), optionalParameters, &elevation)) ::ShowWindow(hwnd(), SW_MINIMIZE);
}

}  // namespace reelwright
