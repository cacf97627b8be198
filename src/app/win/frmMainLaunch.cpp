// The main window's Launch button: starts the game on the queued demos and
// minimises the window when the user asked for it.
#include "app/win/frmMain.h"
#include "launch/Launch.h"
#include "core/win/Controls.h"
#include "shell/win/Win32ElevatedRunner.h"
#include "launch/win/Win32SessionPlatform.h"

namespace reelwright {

void frmMain::cmdLaunch_Click() {
    const std::string optionalParameters = win::GetText(txtOptionalParams);
    // The program itself, started again with rights, places the script in a
    // game folder that the user cannot write.
    win::Win32ElevatedRunner elevation(hwnd(), services().location.ProgramPath());
    // The program itself, started as a watcher, puts the game's config back
    // after a chained session.
    win::Win32SessionPlatform sessions(services().files, services().location.ProgramPath(), hwnd());
    if (Launch(services(), queue(), optionalParameters, &elevation, &sessions)) ::ShowWindow(hwnd(), SW_MINIMIZE);
}

}  // namespace reelwright
