// Copying a demo that lies in no "demos" folder of the game folder (a demo in
// Downloads, say) into the folder the game plays it from: the "demos" folder
// of the mod it was recorded with when the game folder has that mod, else
// base\mp's. The source is only read; nothing that exists is overwritten.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/DemoPlace.h"
#include "core/FileSystem.h"
#include "demo/DemoReader.h"

namespace reelwright {

inline constexpr const char* kCopyDemoTitle = "Reelwright - Copy demo";
// The game type of the game itself, where demos of no mod (or of a mod the
// game folder lacks) go.
inline constexpr const char* kGameItselfType = "base\\mp";

// Whether a demo file that `place` refuses may be offered for copying: it is
// a demo file by name and lies in no "demos" folder of the game folder.
bool MayOfferCopy(const DemoPlace& place, std::string_view path);

// "duel.dm_2004" with n = 3 gives "duel_3.dm_2004"; n = 1 the name itself.
std::string NumberedName(std::string_view name, int n);

struct ChosenGameType {
    std::string gameType;    // "base\mp" or the mod's folder
    std::string missingMod;  // the mod the demo names when the game folder lacks it
};

// The game type a demo of this head plays in below the game folder `root`:
// its mod's folder when the game folder has it, else base\mp.
ChosenGameType ChooseDemoGameType(FileSystem& files, std::string_view root, const DemoHead& head);

// One planned copy.
struct DemoCopyPlan {
    std::string source;    // the file's full path
    std::string bytes;     // its contents as read
    std::string gameType;  // "base\mp" or the mod's folder
    std::string folder;    // the full path of the "demos" folder it goes to
    std::string target;    // the full path of the copy
    // A file of the target's name with the same bytes is there already: it is
    // used as it is.
    bool reuse = false;
    // The mod the demo was recorded with (as the file names it) when the game
    // folder has no folder of that name, or the name could be no folder.
    std::string missingMod;

    // The copy's place below the game folder.
    DemoPlace Place() const;
};

struct UnreadableDemo {
    std::string path;
    std::string reason;  // the system's text
    std::uint32_t error = 0;
};

struct DemoCopyBatch {
    std::vector<DemoCopyPlan> copies;  // in the order of the sources
    std::vector<UnreadableDemo> unreadable;
};

// Reads each source once and plans where its copy goes and under which name:
// the file's own name when that is free or holds the same bytes; otherwise
// "<name>_2.dm_2004", "_3", ..., skipping names other files of the batch take.
DemoCopyBatch PlanDemoCopies(FileSystem& files, std::string_view gameFolder, const std::vector<std::string>& sources);

enum class CopyGoal { Play, Queue };

// The question for the planned copies: for one file its path and the copy's
// path, for several their count and the folders they go to; a line for each
// mod the game folder lacks.
std::string CopyQuestion(const std::vector<DemoCopyPlan>& copies, CopyGoal goal);

// The message naming sources that could not be read, with the reasons.
std::string UnreadableDemosMessage(const std::vector<UnreadableDemo>& unreadable);

struct CopyFailure {
    std::string path;  // the file or folder that could not be made
    std::string reason;
};

// Makes the planned copies (and the folders on their way), in order. When one
// cannot be made, the files and folders this call made are removed again and
// the failure is returned; nothing is copied then. A name another file took
// since the plan moves the copy on to the next free name.
std::optional<CopyFailure> CopyPlannedDemos(FileSystem& files, std::string_view gameFolder,
                                          std::vector<DemoCopyPlan>& copies);

// The message telling that nothing was copied, and why.
std::string CopyFailedMessage(const CopyFailure& failure);

}  // namespace reelwright
