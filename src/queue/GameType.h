// The game type of a demo: the folder between the game folder and the first
// "\demos" of the demo's path ("base\mp", a mod's folder name, ...).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace reelwright {

// The text of `path` that starts after the game folder plus one separator and
// ends before the first "\demos" (case-sensitive). Only the game folder's
// length is used, so the path need not begin with the game folder itself.
//
// A demo in the game folder's own "demos" folder ("<game folder>\demos\...")
// has the empty game type, as for the direct playback from the command line.
// Nothing when no game type can be taken from the path: it holds no "\demos",
// or its first "\demos" begins before the game folder and its separator end.
std::optional<std::string> GetGameTypeFromPath(std::string_view path, std::string_view gameFolder);

}  // namespace reelwright
