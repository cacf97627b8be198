// Where a demo lies below the game folder: the game type and the demo's name,
// or why the path is no demo of the game. Add, drops and the direct playback
// all speak of a demo's place in these terms.
#pragma once

#include <string>

namespace reelwright {

// Why a demo file cannot be queued or played (None: it can).
enum class DemoRefusal {
    None,
    NoGameFolder,       // no game folder is stored
    OutsideGameFolder,  // the path does not begin with the game folder and a "\"
    EmptyFolderName,    // the path below the game folder holds "\\" or ends in "\"
    NoDemosFolder,      // no folder named exactly "demos" below the game folder, or no file in it
};

struct DemoPlace {
    // The folders between the game folder and the "demos" folder, joined with
    // "\" as they appear in the path; empty for the game folder's own "demos".
    std::string gameType;
    // The path below the "demos" folder: "duel.dm_2004", "sub\a.dm_2004".
    std::string name;
    DemoRefusal refusal = DemoRefusal::None;

    bool Accepted() const { return refusal == DemoRefusal::None; }
};

}  // namespace reelwright
