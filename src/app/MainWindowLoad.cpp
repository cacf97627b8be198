#include "app/MainWindowLoad.h"

#include <exception>

#include "app/AppInfo.h"
#include "launch/GameCommandLine.h"

namespace reelwright {

void PlayDemoDirectly(AppServices& services, const std::string& gameFolder, const std::string& demoPath) {
    const auto location = LocateDemoInGameFolder(gameFolder, demoPath);
    if (!location) {
        services.prompts.ShowMessage(kPlayErrorText, kPlayErrorTitle, MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    services.shell.ShellOpen(kGameExecutableToStart, DirectPlaybackParameters(gameFolder, *location), gameFolder,
                             kShowMaximized);
}

LoadOutcome RunMainWindowLoad(AppServices& services, std::string_view commandLineTail, const FirstRunStep& firstRun) {
    const std::string appKey = AppKey();

    std::string gameFolder;
    try {
        gameFolder = ReadGameFolder(services.store, appKey);
    } catch (const std::exception&) {
        // A store that cannot be read leaves the game folder unknown.
    }

    if (!commandLineTail.empty()) {
        const std::string demoPath = DemoPathFromCommandLineTail(commandLineTail);
        // Without a game folder there is nothing to start the game in.
        if (!demoPath.empty() && !gameFolder.empty()) {
            try {
                PlayDemoDirectly(services, gameFolder, demoPath);
            } catch (const std::exception&) {
                // The load goes on with its next step.
            }
        }
    }

    return firstRun ? firstRun(gameFolder) : LoadOutcome::ShowWindow;
}

}  // namespace reelwright
