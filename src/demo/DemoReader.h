// Reads what a demo file tells about itself: from its first message the map,
// the server, the mode, the mod and the players with their teams; from all of
// its messages the length. A file the reader cannot take gives the reason
// instead; the reader stops at the first fault, never reads past a record's
// length and holds one block of the file at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
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
    MessageTooLong,       // a record longer than its protocol's largest message
    UnknownOperation,     // an operation the demo's protocol does not have there
    BrokenMessage,        // a message that does not decode, or a record length of 0 or below -1
    UnsupportedProtocol,  // neither the server info nor the file's extension names a known protocol
    Stopped,              // the reading was asked to stop before it was done
};

// A player's team as the player's config string gives it ("t\<number>").
enum class DemoTeam { Free, Red, Blue, Spectator, Unknown };

struct DemoPlayer {
    std::string name;
    DemoTeam team = DemoTeam::Unknown;
    bool operator==(const DemoPlayer&) const = default;
};

// What the first message of a demo tells. Texts are UTF-8 without colour
// codes; with a refusal every other field is left empty.
struct DemoHead {
    DemoReadRefusal refusal = DemoReadRefusal::None;
    int protocol = 0;  // 2004, 68 or 71
    std::string map;
    std::string server;
    // The server info's "g_gametype" as the file says it ("ctf", "h&s"; a
    // number of the Quake III protocols as its short name, "ffa").
    std::string gameType;
    // The game's name of that mode ("Capture the Flag") where it is one of the
    // game's own, else the game type as written.
    std::string mode;
    // The system info's "fs_game", for display: empty for the game itself.
    std::string mod;
    // The mod's folder below the game folder: only when "fs_game" is a name
    // that is safe to use as one (see IsSafeModFolderName); never set for a
    // hostile or odd value, which stays display text in `mod`.
    std::optional<std::string> modFolder;
    // The players in slot order (their count is the player count); nothing
    // when a player string is not of the form the reader knows, so that no
    // name and no count is a guess.
    std::optional<std::vector<DemoPlayer>> players;

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

// The head and the length of one demo, read in one pass. A refused head
// refuses the length for the same reason.
struct DemoHeadAndLength {
    DemoHead head;
    DemoLength length;
};

// The readers keep no state between calls: any thread may call them.
// `fileName` gives the extension, which names the protocol when the server
// info does not. `stop` is looked at before each block of at most 64 KiB.
//
// The head alone: one read of the first record.
DemoHead ReadDemoHead(DemoInput& input, std::string_view fileName);
DemoHead ReadDemoHead(std::string_view bytes, std::string_view fileName);
// The head and every record after it, read in blocks.
DemoHeadAndLength ReadDemo(DemoInput& input, std::string_view fileName, std::stop_token stop = {});
DemoHeadAndLength ReadDemo(std::string_view bytes, std::string_view fileName);

// The file at `path` (UTF-8), opened once through OpenDemoFile.
DemoHead ReadDemoFileHead(std::string_view path);
DemoHeadAndLength ReadDemoFile(std::string_view path, std::stop_token stop = {});

// The name after the last "\" or "/" of a path.
std::string_view DemoFileName(std::string_view path);

}  // namespace reelwright
