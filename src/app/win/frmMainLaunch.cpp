// The main window's Launch button: starts the game on the queued demos and
// minimises the window when the user asked for it.
#include "app/win/frmMain.h"
#include "launch/Launch.h"
#include "core/win/Controls.h"
#include "launch/ElevatedProgramCopy.h"
#include "shell/win/OwnProgramFile.h"
#include "shell/win/Win32ElevatedRunner.h"
#include "launch/win/Win32SessionPlatform.h"

namespace reelwright {

void frmMain::cmdLaunch_Click() {
    const std::string optionalParameters = win::GetText(txtOptionalParams);
    // The program, started again with rights from a fresh copy of its own
    // bytes, places the script in a game folder that the user cannot write.
    win::Win32ElevatedRunner starter(hwnd());
    ElevatedProgramCopy elevation(services().files, starter, win::ReadOwnProgramFile,
                                  services().location.baseName + ".exe");
    // The program itself, started as a watcher, puts the game's config back
    // after a chained session.
    win::Win32SessionPlatform sessions(services().files, services().location.ProgramPath(), hwnd());
    if (Launch(services(), queue(), optionalParameters, &elevation, &sessions)) ::ShowWindow(hwnd(), SW_MINIMIZE);
}

}  // namespace reelwright
