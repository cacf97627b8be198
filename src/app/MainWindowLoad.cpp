#include "app/MainWindowLoad.h"

#include <exception>

#include "core/AppInfo.h"
#include "queue/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "launch/GameStart.h"
#include "queue/DemoAdd.h"
#include "queue/DemoCopyOffer.h"
#include "queue/DemoPack.h"
#include "queue/DemoPackOffer.h"

namespace reelwright {

void PlayDemoDirectly(AppServices& services, const std::string& gameFolder, const std::string& demoPath,
                      DemoQueue* queue) {
    const AnsiTest fitsAnsi = [&](std::string_view text) { return services.shell.FitsAnsiCodePage(std::string(text)); };
    if (const auto character = GameFolderRefusedCharacter(gameFolder, fitsAnsi)) {
        services.prompts.ShowMessage(GameFolderRefusedMessage(gameFolder, *character), kPlayErrorTitle,
                                     MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    DemoPlace place = CheckDemoFileForQueue(gameFolder, demoPath);
    std::string playedPath = demoPath;
    if (IsPackFileName(demoPath) && services.files.FileExists(demoPath)) {
        const PackOfferResult offer = OfferDemoPack(services, gameFolder, demoPath, CopyGoal::Play);
        if (offer.declined) {
            services.prompts.ShowMessage(kPlayErrorText, kPlayErrorTitle, MessageIcon::Stop, MessageButtons::Ok);
            return;
        }
        if (offer.demos.size() != 1) {
            // Told already, or several demos: they wait in the queue.
            if (queue)
                for (const UnpackedDemo& demo : offer.demos)
                    queue->Append({demo.place.name, demo.place.gameType, demo.target});
            return;
        }
        place = offer.demos.front().place;
        playedPath = offer.demos.front().target;
    } else if (!place.Accepted() && MayOfferCopy(place, demoPath)) {
        // A demo from elsewhere plays from a copy in the game's demos folder.
        const CopyOfferResult offer =
            OfferDemoCopies(services, gameFolder, {demoPath}, CopyGoal::Play, DemoQueue{}, kPlayErrorTitle);
        if (offer.copies.empty() && offer.refused.empty()) return;  // told already
        if (!offer.copies.empty()) {
            place = offer.copies.front().Place();
            playedPath = offer.copies.front().target;
        }
    }
    if (!place.Accepted()) {
        services.prompts.ShowMessage(kPlayErrorText, kPlayErrorTitle, MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    // The same console rules as for Launch of one demo (the name is always
    // quoted here).
    DemoQueue alone;
    alone.Append({place.name, place.gameType, playedPath});
    if (const auto refused = FindConsoleNameProblems(alone, fitsAnsi); !refused.empty()) {
        services.prompts.ShowMessage(ConsoleNamesMessage(alone, refused), kPlayErrorTitle, MessageIcon::Stop,
                                     MessageButtons::Ok);
        return;
    }
    StartGame(services, gameFolder, DirectPlaybackParameters(gameFolder, place));
}

LoadOutcome RunMainWindowLoad(AppServices& services, std::string_view commandLineTail, const FirstRunStep& firstRun,
                              DemoQueue* queue) {
    std::string gameFolder;
    try {
        gameFolder = ReadGameFolder(services.store);
    } catch (const std::exception&) {
        // A store that cannot be read leaves the game folder unknown.
    }

    const std::string demoPath = commandLineTail.empty() ? std::string() : DemoPathFromCommandLineTail(commandLineTail);
    // Without a game folder there is nothing to start the game in.
    if (!demoPath.empty() && !gameFolder.empty()) {
        try {
            PlayDemoDirectly(services, gameFolder, demoPath, queue);
        } catch (const std::exception&) {
            // The load goes on with its next step.
        }
    }

    const LoadOutcome outcome = firstRun ? firstRun(gameFolder) : LoadOutcome::ShowWindow;

    // A demo opened from the shell on the first run plays once the first-run
    // setup has stored a game folder.
    if (outcome == LoadOutcome::ShowWindow && gameFolder.empty() && !demoPath.empty()) {
        try {
            const std::string chosenFolder = ReadGameFolder(services.store);
            if (!chosenFolder.empty()) PlayDemoDirectly(services, chosenFolder, demoPath, queue);
        } catch (const std::exception&) {
            // Skipped like any failing step of the load.
        }
    }
    return outcome;
}

}  // namespace reelwright
