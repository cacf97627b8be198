// Starting the game, for Launch and for the direct playback, and telling the
// user when it could not be started.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/AppServices.h"

namespace reelwright {

// The title of the stop boxes of Launch and the direct playback.
inline constexpr const char* kPlayDemoErrorTitle = "Reelwright - Error playing demo.";

// The game's executable in the game folder, "<folder>\SoF2MP.exe": named with
// its full path, so that the shell cannot start a program of that name from
// anywhere else (the program's own folder, the system folders, PATH) when
// the game folder no longer holds it.
std::string GamePathToStart(std::string_view gameFolder);

// The stop box's text when the game could not be started: the path tried and
// the system's text for the error code.
std::string GameNotStartedMessage(std::string_view gameFolder, std::uint32_t error, std::string_view systemText);

// Starts GamePathToStart(gameFolder) with the game folder as working
// directory (a drive root keeps its separator), maximised, with `parameters`. When the shell reports an error, shows the
// stop box and returns false. A shell that throws counts as not started,
// without a box.
bool StartGame(AppServices& services, std::string_view gameFolder, const std::string& parameters);

// Starts a program as GameShell::ShellOpen does: file, parameters, directory,
// show mode; 0 when started, otherwise the system's error code.
using GameStarter =
    std::function<std::uint32_t(const std::string&, const std::string&, const std::string&, int)>;

// The same, with the game started by `start`.
bool StartGame(AppServices& services, std::string_view gameFolder, const std::string& parameters,
               const GameStarter& start);

}  // namespace reelwright
