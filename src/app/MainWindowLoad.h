// The main window's load, before the window is first seen: the direct playback
// of a demo named on the command line, then the first-run setup.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/AppServices.h"
#include "launch/GameStart.h"
#include "queue/DemoQueue.h"

namespace reelwright {

enum class LoadOutcome { ShowWindow, EndProgram };

// The first-run setup, given the game folder the load read (empty on a first run).
using FirstRunStep = std::function<LoadOutcome(const std::string& gameFolder)>;

inline constexpr const char* kPlayErrorTitle = kPlayDemoErrorTitle;
inline constexpr const char* kPlayErrorText =
    "You must have the demo running the appropriate folder.\r\n\r\nBy default this will be your base/mp/demos folder.";

// Plays the demo named in `commandLineTail` (when there is one and a game
// folder is stored), then runs `firstRun`. A failing step is skipped silently.
// A pack of several demos named there is unpacked into `queue` instead.
LoadOutcome RunMainWindowLoad(AppServices& services, std::string_view commandLineTail, const FirstRunStep& firstRun,
                              DemoQueue* queue = nullptr);

// The direct playback alone: starts the game on the demo at `demoPath` in
// `gameFolder`, or shows the error message when the game folder breaks the
// game's command line, when the demo does not lie in it (by Add's rule), when
// the game cannot take its names, or when the game could not be started.
// A zip pack is offered for unpacking: one demo plays, several are appended
// to `queue` (when given) for the main window.
void PlayDemoDirectly(AppServices& services, const std::string& gameFolder, const std::string& demoPath,
                      DemoQueue* queue = nullptr);

}  // namespace reelwright
