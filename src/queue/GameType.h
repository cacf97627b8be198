// The game type of a demo: the folder between the game folder and the first
// folder named "demos" below it ("base\mp", a mod's folder name, ...), and the
// demo's name relative to that "demos" folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace reelwright {

// Why a demo file cannot be queued (None: it can).
enum class DemoRefusal {
    None,
    NoGameFolder,       // no game folder is stored
    OutsideGameFolder,  // the path does not begin with the game folder and a "\"
    EmptyFolderName,    // the path below the game folder holds "\\" or ends in "\"
    NoDemosFolder,      // no folder named exactly "demos" below the game folder, or no file in it
};

// Where a demo file lies below the game folder.
struct DemoPlace {
    DemoRefusal refusal = DemoRefusal::None;
    // The folders between the game folder and the "demos" folder, joined with
    // "\" as they appear in the path; empty for the game folder's own "demos".
    std::string gameType;
    // The path below the "demos" folder: "duel.dm_2004", "sub\a.dm_2004".
    std::string name;

    bool Accepted() const { return refusal == DemoRefusal::None; }
};

// Splits `path` at the game folder (see IsInsideFolder: letter case does not
// matter, trailing separators of the folder are dropped), both taken as the
// system opens them (WithoutDotSteps: "/" is "\", "." and ".." steps are
// resolved, so that a demo always lies where its game type says), and at the first
// component below it named exactly "demos" (case-sensitive: "Demos" and
// "demoscenes" do not count). A path that ends at the "demos" folder itself
// gets its game type and an empty name.
DemoPlace LocateBelowGameFolder(std::string_view path, std::string_view gameFolder);

// The game type of a demo file, or of the "demos" folder that several chosen
// files share; nothing when LocateBelowGameFolder refuses the path.
std::optional<std::string> GetGameTypeFromPath(std::string_view path, std::string_view gameFolder);

}  // namespace reelwright
