// The main window's Launch button and the dialogs that prepare a launch: the
// game folder setup and the properties.
#include <exception>

#include "app/GameFolderSetup.h"
#include "app/win/frmMain.h"
#include "core/AppInfo.h"
#include "core/win/Controls.h"
#include "launch/Launch.h"
#include "prefs/win/frmProperties.h"

namespace reelwright {

void frmMain::cmdLaunch_Click() {
    const std::string optionalParameters = win::GetText(txtOptionalParams);
    if (Launch(services_, sessions_, queue_, optionalParameters)) ::ShowWindow(hwnd(), SW_MINIMIZE);
}

void frmMain::SetupSOF2Folder() {
    reelwright::SetupSOF2Folder(services_);
}

void frmMain::mnuLocateFile_Click() {
    try {
        SetupSOF2Folder();
    } catch (const std::exception&) {
        // The folder could not be stored; an exception must not unwind through
        // the window procedure.
        services_.prompts.ShowMessage(kGameFolderNotSavedText, kGameFolderSetupTitle, MessageIcon::Stop,
                                      MessageButtons::Ok);
    }
}

void frmMain::mnuProperties_Click() {
    // An open dialog comes to the front; a closed one is made anew.
    if (!Properties()) properties_ = std::make_unique<frmProperties>(services_, hwnd());
    if (!properties_->Open()) properties_.reset();
}

}  // namespace reelwright
