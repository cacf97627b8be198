// Reading a playback script back: its keys and its entries, accepted only
// when BuildScript gives exactly the same bytes for them. What a script holds
// is decided by the builder alone, so a change to the script's text needs no
// change here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/basBuildConfigs.h"

namespace basBuildConfigs {

// What a script holds. The entries' texts point into the bytes that were read.
struct ScriptContents {
    ScriptKeys keys;
    std::vector<ScriptEntry> entries;
};

// The keys and entries of `bytes` when they are byte for byte a script that
// BuildScript writes (two entries or more); nothing for any other text.
std::optional<ScriptContents> ReadOwnScript(std::string_view bytes);

}  // namespace basBuildConfigs
