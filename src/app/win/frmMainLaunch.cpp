// The main window's Launch button: starts the game on the queued demos and
// minimises the window when the user asked for it.
#include "app/win/frmMain.h"
#include "launch/Launch.h"
#include "core/win/Controls.h"

namespace reelwright {

void frmMain::cmdLaunch_Click() {
    const std::string optionalParameters = win::GetText(txtOptionalParams);
    if (Launch(services(), queue(), optionalParameters)) ::ShowWindow(hwnd(), SW_MINIMIZE);
}

}  // namespace reelwright
