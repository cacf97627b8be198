// What differs between the protocols whose demos the reader takes: the
// numbers of some message operations, where the players' config strings
// begin, and how the server names its game type.
//
// Soldier Of Fortune 2 (protocol 2004) is described from the public code of
// its time, not from its own client; its values are kept here, together, so
// that a file that proves them wrong shows less rather than something wrong.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace reelwright {

// Operations that every protocol of the family numbers alike.
inline constexpr std::uint8_t kOpNop = 1;
inline constexpr std::uint8_t kOpGameState = 2;
inline constexpr std::uint8_t kOpConfigString = 3;
inline constexpr std::uint8_t kOpBaseline = 4;
inline constexpr std::uint8_t kOpServerCommand = 5;
inline constexpr std::uint8_t kOpSnapshot = 7;

// The largest message any of the protocols takes (the game's own engine:
// 49 152 bytes; Quake III and ioquake3: 16 384). A record is judged against
// this until its demo's protocol is known, then against the protocol's own.
inline constexpr std::int32_t kLargestMessageBytes = 49152;

// Player slots, each with its config string from `firstPlayerConfigString` on.
inline constexpr int kPlayerSlots = 64;

// The config string of the system info, which names the mod ("fs_game").
inline constexpr int kSystemInfoConfigString = 1;

struct DemoProtocol {
    int number;                                // the server info's "protocol"
    std::string_view extension;                // ".dm_<number>"
    std::int32_t maxMessageBytes;              // a longer record is not one of its demos
    std::uint8_t opEndOfMessage;               // ends a message's operations
    std::optional<std::uint8_t> opMapChange;   // an operation without data
    std::uint8_t highestOperation;             // higher numbers are unknown
    int firstPlayerConfigString;
    bool numberedGameTypes;                    // "g_gametype" is a number, else a name
};

// Every protocol the reader knows.
std::span<const DemoProtocol> KnownDemoProtocols();

// The protocol of that number, or nothing for one the reader does not know.
const DemoProtocol* DemoProtocolByNumber(int number);

// The protocol that a file name's extension names (letter case aside).
const DemoProtocol* DemoProtocolByExtension(std::string_view fileName);

// The game type as the server info's "g_gametype" gives it, put the way
// players name it: "ctf", "tdm", "ffa", ... (colour codes removed).
std::string GameTypeName(const DemoProtocol& protocol, std::string_view value);

// The game's own name of one of its modes ("ctf": "Capture the Flag"), in any
// letter case as the game takes it; nothing for a mod's own mode or another
// protocol's.
std::optional<std::string_view> GameModeName(const DemoProtocol& protocol, std::string_view gameType);

}  // namespace reelwright
