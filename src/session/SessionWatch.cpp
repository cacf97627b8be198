#include "session/SessionWatch.h"

#include <charconv>
#include <vector>

#include "core/CommandLine.h"

namespace reelwright {

namespace {

template <typename Number>
std::optional<Number> WholeNumberOf(const std::string& text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return number;
}

}  // namespace

std::string WatchSessionParameters(std::uintptr_t handle, const SessionProcess& game) {
    return std::string(kWatchSessionSwitch) + " " + std::to_string(handle) + " " + std::to_string(game.id) + " " +
           std::to_string(game.creationTime);
}

bool IsWatchSessionCommandLine(std::string_view tail) {
    const std::vector<std::string> arguments = SplitArguments(tail);
    return !arguments.empty() && arguments.front() == kWatchSessionSwitch;
}

std::optional<WatchRequest> ParseWatchSessionParameters(std::string_view tail) {
    const std::vector<std::string> arguments = SplitArguments(tail);
    if (arguments.size() != 4 || arguments[0] != kWatchSessionSwitch) return std::nullopt;
    const auto handle = WholeNumberOf<std::uintptr_t>(arguments[1]);
    const auto id = WholeNumberOf<std::uint32_t>(arguments[2]);
    const auto created = WholeNumberOf<std::uint64_t>(arguments[3]);
    if (!handle || !id || !created) return std::nullopt;
    return WatchRequest{*handle, {*id, *created}};
}

}  // namespace reelwright
