// The main window's "About" menu item.
#include "about/win/frmAbout.h"
#include "app/win/frmMain.h"

namespace reelwright {

void frmMain::mnuAbout_Click() {
    // An open box comes to the front; a closed one is made anew.
    if (!About()) about_ = std::make_unique<frmAbout>(hwnd());
    about_->Open();
}

}  // namespace reelwright
