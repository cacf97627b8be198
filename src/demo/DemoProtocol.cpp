#include "demo/DemoProtocol.h"

#include <array>
#include <charconv>

#include "core/Text.h"
#include "demo/DemoText.h"

namespace reelwright {
namespace {

constexpr std::array<DemoProtocol, 3> kProtocols = {{
    // Soldier Of Fortune 2: a map-change operation takes 8, so the end is 9;
    // the player strings follow the server and system info.
    {2004, ".dm_2004", 49152, 9, std::uint8_t{8}, 9, 2, false},
    // Quake III 1.32.
    {68, ".dm_68", 16384, 8, std::nullopt, 8, 544, true},
    // ioquake3, whose two voice operations follow the end.
    {71, ".dm_71", 16384, 8, std::nullopt, 10, 544, true},
}};

// Quake III's game types by number; OpenArena's own follow them.
constexpr std::array<std::string_view, 13> kNumberedGameTypes = {
    "ffa", "tourney", "single", "tdm", "ctf", "1fctf", "obelisk", "harvester",
    "elim", "ctfelim", "lms", "dd", "dom",
};

struct ModeName {
    std::string_view gameType;
    std::string_view name;
};

// The game's own modes: the server names them in "g_gametype".
constexpr std::array<ModeName, 6> kGameModes = {{
    {"dm", "Deathmatch"},
    {"tdm", "Team Deathmatch"},
    {"ctf", "Capture the Flag"},
    {"inf", "Infiltration"},
    {"elim", "Elimination"},
    {"dem", "Demolition"},
}};

}  // namespace

std::span<const DemoProtocol> KnownDemoProtocols() { return kProtocols; }

const DemoProtocol* DemoProtocolByNumber(int number) {
    for (const DemoProtocol& protocol : kProtocols)
        if (protocol.number == number) return &protocol;
    return nullptr;
}

const DemoProtocol* DemoProtocolByExtension(std::string_view fileName) {
    for (const DemoProtocol& protocol : kProtocols) {
        const std::size_t size = protocol.extension.size();
        if (fileName.size() >= size && EqualIgnoringAsciiCase(fileName.substr(fileName.size() - size), protocol.extension))
            return &protocol;
    }
    return nullptr;
}

std::string GameTypeName(const DemoProtocol& protocol, std::string_view value) {
    if (protocol.numberedGameTypes) {
        unsigned number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error == std::errc{} && end == value.data() + value.size() && number < kNumberedGameTypes.size())
            return std::string(kNumberedGameTypes[number]);
    }
    return DemoDisplayText(value);
}

std::optional<std::string_view> GameModeName(const DemoProtocol& protocol, std::string_view gameType) {
    if (protocol.numberedGameTypes) return std::nullopt;
    for (const ModeName& mode : kGameModes)
        if (EqualIgnoringAsciiCase(mode.gameType, gameType)) return mode.name;
    return std::nullopt;
}

}  // namespace reelwright
