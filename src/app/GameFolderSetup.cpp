#include "app/GameFolderSetup.h"

#include <exception>

#include "core/AppInfo.h"
#include "core/GameFolder.h"
#include "queue/ConsoleNames.h"

namespace reelwright {

namespace {

void ReportUnavailable(UserPrompts& prompts, const char* text) {
    prompts.ShowMessage(text, kGameFolderSetupTitle, MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace

void SetupSOF2Folder(AppServices& services) {
    for (;;) {
        std::string folder;
        try {
            folder = services.prompts.BrowseForFolder(kBrowseGameFolderTitle);
        } catch (const std::exception&) {
            ReportUnavailable(services.prompts, kPickerUnavailableText);
            return;
        }
        if (folder.empty()) return;  // cancelled: an earlier folder stays

        bool holdsGame = false;
        try {
            holdsGame = services.files.FileExists(JoinFolder(folder, kGameExecutable));
        } catch (const std::exception&) {
            ReportUnavailable(services.prompts, kFileTestUnavailableText);
            return;
        }
        if (!holdsGame) {
            services.prompts.ShowMessage(kInvalidGameFolderText, kInvalidGameFolderTitle, MessageIcon::Exclamation,
                                         MessageButtons::Ok);
            continue;
        }
        // A folder the game's command line cannot carry is not stored: every
        // later start of the game would fail on it.
        if (const auto character = GameFolderBreakingCharacter(folder)) {
            services.prompts.ShowMessage(GameFolderNotTakenText(folder, *character), kGameFolderSetupTitle,
                                         MessageIcon::Exclamation, MessageButtons::Ok);
            continue;
        }
        services.store.SaveSetting(kSectionSettings, kKeyGamePath, folder);
        return;
    }
}

}  // namespace reelwright
