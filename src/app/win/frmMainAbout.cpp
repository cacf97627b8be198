// The main window's "About" menu item.
#include "about/win/frmAbout.h"
#include "app/win/frmMain.h"

namespace reelwright {

void frmMain::mnuAbout_Click() {
    if (frmAbout::Current()) {
        frmAbout::Open(hwnd_);  // brings the open one forward
        return;
    }
    ::EnableWindow(hwnd_, FALSE);
    if (!frmAbout::Open(hwnd_)) ::EnableWindow(hwnd_, TRUE);
}

}  // namespace reelwright
