// What the demo browser does with the demos chosen in it: adds them to the
// queue, renames one (a queued demo follows its new name), deletes some (a
// queued demo leaves the queue) and shows one in its folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppServices.h"
#include "queue/ConsoleNames.h"
#include "queue/DemoAdd.h"
#include "queue/DemoQueue.h"

namespace reelwright {

inline constexpr const char* kRenameDemoTitle = "Reelwright - Rename demo";
inline constexpr const char* kShowInFolderTitle = "Reelwright - Show in Folder";

// Appends the demo files at `paths`, in that order, by Add's rules, until the
// queue is full; what was not added is told in one exclamation message with
// Add's title. A failing settings store throws std::runtime_error before
// anything is added.
AddDemosResult AddBrowsedDemos(AppServices& services, DemoQueue& queue, const std::vector<std::string>& paths);

// Why a new name for a demo file is refused.
enum class RenameProblem {
    None,
    Unchanged,         // the same name: nothing to do
    NotDemoName,       // it does not end in ".dm_2004", or is nothing but that
    FileNameCharacter,  // a character no file name may hold (\ / : * ? " < > | or a control character),
                        // or a final blank or dot
    NameExists,        // another file or folder has that name already
    ConsoleName,       // the game's console cannot take it in a queue of two or more demos
};

struct RenameCheck {
    RenameProblem problem = RenameProblem::None;
    // For ConsoleName: the console's reason.
    ConsoleNameProblem console = ConsoleNameProblem::CharacterInName;
    std::string newPath;  // the file's path under the new name
};

// Checks `newFileName` (a file name alone: the demo stays in its folder) for
// the demo at `path` of the game type `gameType`. Letter case alone may
// change.
RenameCheck CheckDemoRename(FileSystem& files, const AnsiTest& fitsAnsi, const std::string& path,
                            std::string_view newFileName);

// The text that tells why the name was refused (empty for None and Unchanged).
std::string RenameProblemText(const RenameCheck& check, std::string_view newFileName);

// The queued entries whose file is `oldPath` (letter case ignored) take the
// new name: their Name, and their Path where it was the file itself. They
// keep their places and ids. Returns how many followed.
std::size_t FollowRenamedDemo(DemoQueue& queue, std::string_view gameFolder, const std::string& oldPath,
                              const std::string& newPath);

// The queued entries whose file is one of `deleted` (letter case ignored)
// leave the queue. Returns how many left.
std::size_t RemoveDeletedDemos(DemoQueue& queue, std::string_view gameFolder, const std::vector<std::string>& deleted);

// The confirmation before deleting: "Move the demo "x.dm_2004" to the
// Recycle Bin?" or "Move these 3 demos to the Recycle Bin?".
std::string DeleteQuestionText(const std::vector<std::string>& names);
inline constexpr const char* kDeleteDemosTitle = "Reelwright - Delete demos";

// Opens Explorer on the demo's folder with the file selected; tells the
// system's reason in a stop box when that failed.
void ShowDemoInFolder(AppServices& services, const std::string& path);

}  // namespace reelwright
