// The game's config file ("SOF2MP.cfg") before and after a demo session. The
// game rewrites that file whenever a key is bound or a stored ("seta")
// variable changes, so after running the playback script it holds the
// script's binds in place of the player's and one line per script variable.
// These functions find the player's lines that the session will replace and,
// afterwards, take the session's lines out again and put the player's back,
// leaving every other line byte for byte as it is.
//
// A line is read as the game's console reads it: words split at blanks, a
// double-quoted text is one word, "//" ends it; only its first command (up to
// a ";" outside quotes) counts. Key, variable and command names are compared
// without regard to ASCII case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/SessionNames.h"

namespace reelwright {

// The lines of `config` (without their line ends, in file order) that bind
// one of `names.keys` to anything, or that set ("set"/"seta") one of
// `names.variables`.
std::vector<std::string> PlayerLines(std::string_view config, const SessionNames& names);

// The lines of `lines` that PlayerLines would find in a config of them.
std::vector<std::string> PlayerLines(const std::vector<std::string>& lines, const SessionNames& names);

// True when the line is one that a session leaves in the config: a bind of
// one of `names.keys` to one of `names.commands`, or a "set"/"seta" line of
// one of `names.variables`.
bool IsSessionLine(std::string_view line, const SessionNames& names);

// `config` without the lines that bind one of `names.keys` to one of
// `names.commands` and without the "set"/"seta" lines of `names.variables`;
// the lines of `playerLines` for the keys and variables so removed are put
// back where the first removed line of the same kind (bind or variable) was,
// with the file's own line end. Nothing when the file needs no change.
std::optional<std::string> RestoreConfig(std::string_view config, const SessionNames& names,
                                         const std::vector<std::string>& playerLines);

// The lines of `playerLines` that RestoreConfig would put back into `config`.
std::vector<std::string> LinesToPutBack(std::string_view config, const SessionNames& names,
                                        const std::vector<std::string>& playerLines);

}  // namespace reelwright
