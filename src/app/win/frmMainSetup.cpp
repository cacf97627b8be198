// The main window's game folder setup and first-run setup.
#include <exception>

#include "core/AppInfo.h"
#include "app/FirstRunSetup.h"
#include "app/GameFolderSetup.h"
#include "app/win/frmMain.h"

namespace reelwright {

void frmMain::SetupSOF2Folder() {
    appKey_ = AppKey();
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

LoadOutcome frmMain::RunFirstRunSetup(const std::string& gameFolder) {
    return reelwright::RunFirstRunSetup(services_, gameFolder);
}

}  // namespace reelwright
