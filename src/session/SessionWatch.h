// The command line of the watcher mode, which Launch starts for a game:
// "/watch-session <inherited handle> <process id> <creation time>".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "session/SessionJournal.h"

namespace reelwright {

inline constexpr std::string_view kWatchSessionSwitch = "/watch-session";

struct WatchRequest {
    std::uintptr_t handle = 0;  // the game's handle as the watcher inherits it
    SessionProcess game;
    bool operator==(const WatchRequest&) const = default;
};

// "/watch-session" followed by the handle's value and the game's id and
// creation time, in decimal.
std::string WatchSessionParameters(std::uintptr_t handle, const SessionProcess& game);

// True when the command line's tail asks for the watcher mode.
bool IsWatchSessionCommandLine(std::string_view tail);

// The request of a watcher command line; nothing when the switch is not the
// first argument or the three numbers are not all there, each a whole
// decimal number that fits.
std::optional<WatchRequest> ParseWatchSessionParameters(std::string_view tail);

}  // namespace reelwright
