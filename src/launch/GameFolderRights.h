// What Launch tells the user when the playback script could not be placed in
// every game-type folder: a question offering to do it with administrator
// rights when that would help, otherwise an exclamation that names the
// folders and asks whether to start the game anyway.
#pragma once

#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "launch/ScriptPlacing.h"

namespace reelwright {

inline constexpr const char* kGameFolderTitle = "Reelwright - Game folder";
inline constexpr const char* kHelperRefusedNote =
    "With administrator rights, Reelwright refused to write there: the game folder, the script or a file already "
    "there did not pass its safety checks (a link, a junction or a hard-linked file on the way is refused).";
inline constexpr const char* kStartAnywayQuestion = "Start the game anyway? Only the first demo will play.";

// True when a step in any of the folders failed because access was denied:
// only then can administrator rights help.
bool ShouldOfferElevation(const std::vector<FolderOutcome>& failed);

// The question box's text.
std::string ElevationQuestionText(const std::vector<FolderOutcome>& failed);

// The exclamation box's text: each folder with the system's text for each
// failed step (`files` gives the texts), a note on an out-of-date script left
// there, a note when the helper with administrator rights refused the request
// (`helperRefused`), and the closing question.
std::string PlacementFailureText(const std::vector<FolderOutcome>& failed, FileSystem& files,
                                 bool helperRefused = false);

}  // namespace reelwright
