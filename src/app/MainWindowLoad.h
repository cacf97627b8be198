// The main window's load, before the window is first seen: the direct playback
// of a demo named on the command line, then the first-run setup.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/AppServices.h"
#include "launch/GameStart.h"

namespace reelwright {

enum class LoadOutcome { ShowWindow, EndProgram };

// The first-run setup, given the game folder the load read (empty on a first run).
using FirstRunStep = std::function<LoadOutcome(const std::string& gameFolder)>;

inline constexpr const char* kPlayErrorTitle = kPlayDemoErrorTitle;
inline constexpr const char* kPlayErrorText =
    "You must have the demo running the appropriate folder.\r\n\r\nBy default this will be your base/mp/demos folder.";

// Plays the demo named in `commandLineTail` (when there is one and a game
// folder is stored), then runs `firstRun`. A failing step is skipped silently.
LoadOutcome RunMainWindowLoad(AppServices& services, std::string_view commandLineTail, const FirstRunStep& firstRun);

// The direct playback alone: starts the game on the demo at `demoPath` in
// `gameFolder`, or shows the error message when the game folder breaks the
// game's command line, when the demo does not lie in it (by Add's rule), when
// the game cannot take its names, or when the game could not be started.
void PlayDemoDirectly(AppServices& services, const std::string& gameFolder, const std::string& demoPath);

}  // namespace reelwright
