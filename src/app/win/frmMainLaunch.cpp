// The main window's Launch button and the dialogs that prepare a launch: the
// game folder setup and the properties.
#include <exception>

#include "app/GameFolderSetup.h"
#include "app/win/frmMain.h"
#include "core/AppInfo.h"
#include "core/win/Controls.h"
#include "launch/ElevatedProgramCopy.h"
#include "launch/Launch.h"
#include "launch/win/Win32SessionPlatform.h"
#include "prefs/win/frmProperties.h"
#include "shell/win/OwnProgramFile.h"
#include "shell/win/Win32ElevatedRunner.h"

namespace reelwright {

void frmMain::cmdLaunch_Click() {
    const std::string optionalParameters = win::GetText(txtOptionalParams);
    // The program, started again with rights from a fresh copy of its own
    // bytes, places the script in a game folder that the user cannot write.
    win::Win32ElevatedRunner starter(hwnd());
    ElevatedProgramCopy elevation(services_.files, starter, win::ReadOwnProgramFile,
                                  services_.location.baseName + ".exe");
    // The program itself, started as a watcher, puts the game's config back
    // after a chained session.
    win::Win32SessionPlatform sessions(services_.files, services_.location.ProgramPath(), hwnd());
    if (Launch(services_, queue_, optionalParameters, &elevation, &sessions)) ::ShowWindow(hwnd(), SW_MINIMIZE);
}

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

void frmMain::mnuProperties_Click() {
    // An open dialog comes to the front; a closed one is made anew.
    if (!Properties()) properties_ = std::make_unique<frmProperties>(services_, hwnd());
    if (!properties_->Open()) properties_.reset();
}

}  // namespace reelwright
