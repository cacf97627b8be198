// The watcher mode, which Launch starts for a game it hands over.
#pragma once

#include <string_view>

#include "core/UserPrompts.h"
#include "session/SessionGuard.h"

namespace reelwright::win {

// The watcher mode: waits for the game named on the command line to end, then
// restores the sessions whose games have all ended, behind an exception
// barrier. No window of its own; the exit code is 0.
int RunSessionWatcher(std::string_view commandLineTail, SessionPlatform& platform, UserPrompts& prompts);

}  // namespace reelwright::win
