// The main window's "Properties" menu item.
#include "app/win/frmMain.h"
#include "prefs/win/frmProperties.h"

namespace reelwright {

void frmMain::mnuProperties_Click() {
    const bool alreadyOpen = frmProperties::Current() != nullptr;
    if (!frmProperties::Open(services_, hwnd_) || alreadyOpen) return;
    ::EnableWindow(hwnd_, FALSE);
}

}  // namespace reelwright
