#include "launch/GameStart.h"

#include <exception>

#include "core/GameFolder.h"

namespace reelwright {

namespace {

// The errors for which the program itself is missing.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;

}  // namespace

std::string GamePathToStart(std::string_view gameFolder) {
    return JoinFolder(gameFolder, kGameExecutableToStart);
}

std::string GameNotStartedMessage(std::string_view gameFolder, std::uint32_t error, std::string_view systemText) {
    std::string text = "The game could not be started:\r\n\r\n";
    text += GamePathToStart(gameFolder);
    text += "\r\n\r\n";
    if (!systemText.empty()) {
        text += systemText;
        text += " ";
    }
    text += "(error " + std::to_string(error) + ")";
    if (error == kFileNotFound || error == kPathNotFound)
        text += "\r\n\r\nCheck that SOF2MP.exe is in your SOF2 folder, or locate it again with File > Locate "
                "SOF2.exe File.";
    return text;
}

bool StartGame(AppServices& services, std::string_view gameFolder, const std::string& parameters) {
    return StartGame(services, gameFolder, parameters,
                     [&](const std::string& file, const std::string& arguments, const std::string& directory,
                         int show) { return services.shell.ShellOpen(file, arguments, directory, show); });
}

bool StartGame(AppServices& services, std::string_view gameFolder, const std::string& parameters,
               const GameStarter& start) {
    std::uint32_t error = 0;
    std::string systemText;
    try {
        error = start(GamePathToStart(gameFolder), parameters, GameFolderForGame(gameFolder), kShowMaximized);
    } catch (const std::exception&) {
        return false;
    }
    if (error == 0) return true;
    try {
        systemText = services.shell.ErrorText(error);
    } catch (const std::exception&) {
        // The box still names the path and the code.
    }
    services.prompts.ShowMessage(GameNotStartedMessage(gameFolder, error, systemText), kPlayDemoErrorTitle,
                                 MessageIcon::Stop, MessageButtons::Ok);
    return false;
}

}  // namespace reelwright
