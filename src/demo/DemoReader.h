// Reads what a demo file tells about itself: from its first message the map,
// the server, the game type and the players; from all of its messages the
// length. A file the reader cannot take gives the reason instead; the reader
// stops at the first fault, never reads past a record's length and holds one
// block of the file at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/DemoRecords.h"

namespace reelwright {

enum class DemoReadRefusal {
    None,
    CannotOpen,           // the file cannot be opened or read
    NotADemo,             // empty, or its first message holds no game state
    Truncated,            // the file ends inside its first record
    MessageTooLong,       // a record longer than the engine's largest message
    UnknownOperation,     // an operation the demo's protocol does not have there
    BrokenMessage,        // a message that does not decode, or a record length of 0 or below -1
    UnsupportedProtocol,  // neither the server info nor the file's extension names a known protocol
};

// What the first message of a demo tells. Texts are UTF-8 without colour
// codes; with a refusal every other field is left empty.
struct DemoHead {
    DemoReadRefusal refusal = DemoReadRefusal::None;
    int protocol = 0;  // 2004, 68 or 71
    std::string map;
    std::string server;
    std::string gameType;  // "ctf", "dm", ... as DemoProtocol's GameTypeName gives it
    // The players' names in slot order (their count is the player count);
    // nothing when a player string is not of the form the reader knows, so
    // that no name and no count is a guess.
    std::optional<std::vector<std::string>> players;

    bool Readable() const { return refusal == DemoReadRefusal::None; }
};

// The length of a demo: for each game state it holds (a map change starts a
// new one), the time of its last snapshot minus that of its first, summed.
struct DemoLength {
    DemoReadRefusal refusal = DemoReadRefusal::None;
    std::int64_t milliseconds = 0;
    // The file stops partway through a record after the first (a recording
    // that was cut off): the length covers the whole records before it, as
    // far as the game plays such a demo.
    bool cutShort = false;

    bool Readable() const { return refusal == DemoReadRefusal::None; }
    // Rounded to the nearest second.
    std::int64_t Seconds() const { return (milliseconds + 500) / 1000; }
};

// The readers keep no state between calls: any thread may call them.
//
// The file at `path` (UTF-8), opened through OpenDemoFile. The head: one open
// and one read of the first record; the protocol comes from the server info's
// "protocol", else from the file's extension (".dm_2004"). The length: every
// record, read in large blocks.
DemoHead ReadDemoFileHead(std::string_view path);
DemoLength ReadDemoFileLength(std::string_view path);

// The same for a demo's bytes in memory or from another input; `fileName`
// gives the extension.
DemoHead ReadDemoHead(std::string_view bytes, std::string_view fileName);
DemoLength ReadDemoLength(std::string_view bytes, std::string_view fileName);
DemoHead ReadDemoHead(DemoInput& input, std::string_view fileName);
DemoLength ReadDemoLength(DemoInput& input, std::string_view fileName);

}  // namespace reelwright
