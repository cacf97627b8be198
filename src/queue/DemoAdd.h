// Add: asks the user for demo files with the open-file dialog and appends one
// queue entry per chosen file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppServices.h"
#include "queue/DemoQueue.h"
#include "queue/GameType.h"

namespace reelwright {

inline constexpr const char* kAddDemosTitle = "Add SOF2 Demo Files for viewing...";
inline constexpr const char* kDemoFilterDescription = "SOF2 Demo Files (*.dm_2004)";
inline constexpr const char* kDemoFilterPattern = "*.dm_2004";
inline constexpr const char* kPackFilterDescription = "Demo packs (*.zip)";
inline constexpr const char* kPackFilterPattern = "*.zip";
inline constexpr const char* kDemoOrPackFilterDescription = "Demo files and packs (*.dm_2004;*.zip)";
inline constexpr const char* kDemoOrPackFilterPattern = "*.dm_2004;*.zip";
inline constexpr const char* kAddErrorTitle = "Reelwright - Error adding demos";

// How many of the files listed in the message by name, at most.
inline constexpr std::size_t kMaxListedFiles = 20;

// The dialog Add shows: it opens in the game folder when one is stored.
OpenFileRequest MakeAddDemosRequest(const std::string& gameFolder);

// The rule for one demo file offered to the queue, whether chosen in Add's
// dialog, dropped onto the main window or named on the command line.
// `gameFolder` is the stored game folder (trimmed; a trailing separator is
// fine), `filePath` the file's full path.
// Accepted: the file lies inside the game folder (letter case ignored, a "\"
// right after the folder) in a folder named exactly "demos" below it; the
// result's gameType is the path between the game folder and that "demos"
// folder ("base\mp", "mymod", empty for the game folder's own "demos"), and
// its name is the path below "demos" ("duel.dm_2004", "sub\a.dm_2004"): the
// entry's GameType and Name. Refused otherwise, with the reason: no game
// folder stored, outside the game folder, an empty folder name in the path,
// or no "demos" folder (or no file below it).
DemoPlace CheckDemoFileForQueue(std::string_view gameFolder, std::string_view filePath);

// A chosen file that was not added, and why.
struct RefusedDemoFile {
    std::string path;  // the file's full path
    DemoRefusal reason = DemoRefusal::None;
    bool operator==(const RefusedDemoFile&) const = default;
};

struct AddDemosResult {
    std::size_t added = 0;
    // Chosen files that CheckDemoFileForQueue refused, in the dialog's order.
    std::vector<RefusedDemoFile> refused;
    // Chosen files that were not added because the queue was full.
    std::size_t beyondLimit = 0;
    // Chosen packs the user chose not to unpack: refused as files that are no demos.
    std::size_t notDemos = 0;

    bool AllAdded() const { return refused.empty() && beyondLimit == 0 && notDemos == 0; }
};

// The text that tells the user which files were not added and why, grouped by
// reason (at most kMaxListedFiles named per reason); `gameFolder` is named for
// files outside it. Empty when nothing was refused.
std::string NotAddedMessage(const AddDemosResult& result, std::string_view gameFolder);

// Reads the game folder, shows the dialog and appends the chosen files in the
// dialog's order. Files that CheckDemoFileForQueue refuses and files beyond
// the queue's limit are left out and named in one exclamation message; the rest are
// added and nothing already queued is lost. A cancelled dialog adds nothing.
// A failing settings store throws std::runtime_error before the dialog shows.
AddDemosResult AddDemos(AppServices& services, DemoQueue& queue);

}  // namespace reelwright
