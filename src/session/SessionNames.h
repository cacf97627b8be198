// What the playback script leaves behind in the game's config once the game
// has run it: the keys it binds and the commands it binds them to, and the
// variables it sets with "seta" (the game stores those in its config).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace reelwright {

struct SessionNames {
    std::vector<std::string> keys;       // key names, as the user chose them
    std::vector<std::string> commands;   // the texts those keys are bound to
    std::vector<std::string> variables;  // variables set with "seta"
};

// The names of the script that Launch writes for `demoCount` queued demos
// with the keys `binds` (indexed by the bind number, 0 to 7).
SessionNames ScriptSessionNames(const std::array<std::string, 8>& binds, std::size_t demoCount);

// Adds the names of `more` that `names` lacks (compared without regard to
// ASCII case, as the game compares them), keeping the order of first appearance.
void MergeSessionNames(SessionNames& names, const SessionNames& more);

}  // namespace reelwright
