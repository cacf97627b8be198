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

// The largest message the engine takes; a longer record is not one of its demos.
inline constexpr std::int32_t kMaxMessageBytes = 16384;

// Player slots, each with its config string from `firstPlayerConfigString` on.
inline constexpr int kPlayerSlots = 64;

struct DemoProtocol {
    int number;                                // the server info's "protocol"
    std::string_view extension;                // ".dm_<number>"
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

}  // namespace reelwright
