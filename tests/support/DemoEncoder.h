// Writes demos the way the engine records them, for tests of the reader: the
// message Huffman code, server messages (game state, snapshot, server
// command) and the records around them. The game state and snapshot follow
// the 2004 protocol unless told otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace reelwright::test {

// A message as a bit stream: each value Huffman-coded byte by byte.
class MessageWriter {
public:
    void Byte(std::uint8_t value);
    void Short(std::uint16_t value);
    void Long(std::int32_t value);
    // The characters and the zero byte after them.
    void String(std::string_view text);
    // Bits as they are, first bit first ("00000000100").
    void Bits(std::string_view bits);

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    std::size_t bit_ = 0;
};

inline constexpr std::uint8_t kEnd2004 = 9;
inline constexpr std::uint8_t kEndQuake3 = 8;

struct GameStateParts {
    std::string serverInfo;
    // Player config strings, in slots from `firstPlayer` on; empty ones are
    // left out as the server leaves free slots out.
    std::vector<std::string> players;
    int firstPlayer = 2;
    std::uint8_t endOp = kEnd2004;
    // Server commands that come before the game state in its message.
    std::vector<std::string> commandsBefore;
    // Config strings the reader does not need, between the wanted ones, and
    // the system info (config string 1).
    bool otherStrings = true;
    std::string systemInfo = "\\sv_serverid\\1234\\sv_pure\\0";
    // Further config strings, from index 800 on (a large game state).
    std::vector<std::string> moreStrings;
};

std::string GameStateMessage(const GameStateParts& parts);
// A snapshot at `serverTime` after the given server commands; its entities are
// stood in for by a few bytes and the end operation.
std::string SnapshotMessage(std::int32_t serverTime, const std::vector<std::string>& commands = {},
                            std::uint8_t endOp = kEnd2004);

// A record: sequence number, length and the message.
std::string Record(std::int32_t sequence, std::string_view message);
// The record header that ends a demo.
std::string EndMarker();

// A whole demo: the game state, one snapshot per time, and the end marker.
std::string Demo(const GameStateParts& parts, const std::vector<std::int32_t>& snapshotTimes);

// A demo of a deathmatch on mp_shop recorded with `mod` (none: the game
// itself), its one snapshot at `time`.
std::string DemoOfMod(const char* mod, std::int32_t time);

}  // namespace reelwright::test
