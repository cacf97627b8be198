// The game type of a demo: the folder between the game folder and the first
// folder named "demos" below it ("base\mp", a mod's folder name, ...), and the
// demo's name relative to that "demos" folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/DemoPlace.h"

namespace reelwright {

// Splits `path` at `gameFolder` (see IsInsideFolder: letter case does not
// matter, trailing separators of the folder are dropped), both taken as the
// system opens them (WithoutDotSteps: "/" is "\", "." and ".." steps are
// resolved, so that a demo always lies where its game type says), and at the first
// component below it named exactly "demos" (case-sensitive: "Demos" and
// "demoscenes" do not count). A path that ends at the "demos" folder itself
// gets its game type and an empty name.
DemoPlace LocateBelowGameFolder(std::string_view gameFolder, std::string_view path);

// The game type of a demo file, or of the "demos" folder that several chosen
// files share; nothing when LocateBelowGameFolder refuses the path.
std::optional<std::string> GetGameTypeFromPath(std::string_view path, std::string_view gameFolder);

}  // namespace reelwright
