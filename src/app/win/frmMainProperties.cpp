// The main window's "Properties" menu item.
#include "app/win/frmMain.h"
#include "prefs/win/frmProperties.h"

namespace reelwright {

void frmMain::mnuProperties_Click() {
    // An open dialog comes to the front; a closed one is made anew.
    if (!Properties()) properties_ = std::make_unique<frmProperties>(services_, hwnd());
    if (!properties_->Open()) properties_.reset();
}

}  // namespace reelwright
