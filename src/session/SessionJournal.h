// The per-user journal of demo sessions whose game configs are still to be
// put back. Launch adds an entry before it starts the game; whoever finds all
// of an entry's processes ended (the watcher, or the program's next start)
// restores the configs and removes the entry.
//
// The file is text: a first line naming the format and its number, then the
// entries. Each field is one line, "<name> <value>"; a value's bytes are kept
// as they are except "%", CR and LF, which are written as "%25", "%0D" and
// "%0A", so a config line with odd bytes survives unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/SessionNames.h"

namespace reelwright {

// A process told apart from a later one with the same id by its creation
// time (the system's FILETIME, 100 ns units).
struct SessionProcess {
    std::uint32_t id = 0;
    std::uint64_t creationTime = 0;
    bool operator==(const SessionProcess&) const = default;
};

// One config file of a game-type folder as it was before the first Launch of
// the entry changed anything.
struct ConfigRecord {
    std::string path;
    bool existed = false;
    std::uint32_t attributes = 0;          // the file's attributes then (when it existed)
    std::vector<std::string> playerLines;  // the player's lines the session replaces
    bool operator==(const ConfigRecord&) const = default;
};

// The sessions of one game-type folder not yet put back.
struct SessionEntry {
    std::string folder;                       // the game-type folder
    SessionNames names;                       // what the scripts leave in the config
    std::vector<SessionProcess> processes;    // to wait for: the games, or the launching program until its game starts
    std::vector<ConfigRecord> configs;        // the folder's config and its per-user copy
    bool reported = false;                    // a failed restore was already shown to the user
    // When a restore first found a config that could not be looked up (a
    // drive or folder not there), in seconds since 1970; 0 while every
    // config could be looked up.
    std::uint64_t unreachableSince = 0;
};

struct SessionJournal {
    std::vector<SessionEntry> entries;
};

// Format 2 added "unreachable"; a journal of format 1 is read as well.
inline constexpr int kJournalFormat = 2;

std::string FormatJournal(const SessionJournal& journal);

// Nothing when the text is not a journal of this format (damaged, or written
// by a newer program); an empty text is an empty journal.
std::optional<SessionJournal> ParseJournal(std::string_view text);

// Adds a fresh session entry. When an entry for the same folder (compared
// without regard to ASCII case) is pending, the fresh one joins it: config
// files it lacks are added, and the names and processes are added to it. For
// a config it has, the rule is per key and per variable of the fresh session:
// where the fresh record found the script's own line (a bind of the key to a
// script command, any line of a variable the pending sessions set), an
// earlier session still holds it and the pending record stands; otherwise
// the fresh record's lines for it (none when it found none) replace the
// pending ones, since they are the player's as the player left them.
void AddSession(SessionJournal& journal, SessionEntry fresh);

// Replaces `from` by `to` among the processes of every entry (a launching
// program by the game it started); `to` empty removes `from`.
void ReplaceProcess(SessionJournal& journal, const SessionProcess& from, const std::optional<SessionProcess>& to);

}  // namespace reelwright
