#include "app/FirstRunSetup.h"

#include <exception>

#include "core/AppInfo.h"
#include "app/GameFolderSetup.h"
#include "shell/basAssociation.h"

namespace reelwright {

namespace {

// Runs one step of the load; a step that fails is skipped without a message.
template <typename Step>
void SkipOnFailure(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

LoadOutcome RunFirstRunSetup(AppServices& services, const std::string& gameFolder) {
    if (!gameFolder.empty()) return LoadOutcome::ShowWindow;

    MessageAnswer answer = MessageAnswer::Ok;
    SkipOnFailure([&] {
        answer = services.prompts.ShowMessage(kFirstRunText, kFirstRunTitle, MessageIcon::Information,
                                              MessageButtons::OkCancel);
    });
    if (answer == MessageAnswer::Cancel) return LoadOutcome::EndProgram;

    SkipOnFailure([&] { SetupSOF2Folder(services); });

    answer = MessageAnswer::No;
    SkipOnFailure([&] {
        answer = services.prompts.ShowMessage(kAssociationPromptText, kAssociationPromptTitle, MessageIcon::Question,
                                              MessageButtons::YesNo);
    });
    if (answer != MessageAnswer::Yes) return LoadOutcome::ShowWindow;

    SkipOnFailure([&] { basAssociation::RequestProgramAssociation(services.classes, services.prompts, services.location); });
    // "Associate" records what the registry holds now, so that the properties
    // dialog shows the truth: "0" when the association could not be written.
    bool ours = false;
    SkipOnFailure([&] { ours = basAssociation::IsProgramAssociated(services.classes, services.location); });
    SkipOnFailure([&] { services.store.SaveSetting(kSectionSettings, kKeyAssociate, ours ? "1" : "0"); });
    return LoadOutcome::ShowWindow;
}

}  // namespace reelwright
