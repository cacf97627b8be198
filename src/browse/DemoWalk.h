// The walk of every "demos" folder of the game folder: the game's own
// ("base\mp\demos"), every mod's, and the folders below them. A demo's row
// names it relative to its "demos" folder, with the game type the queue
// gives it. Links to other folders are never entered.
#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"

namespace reelwright {

// One demo file as a folder's listing found it.
struct FoundDemo {
    std::string path;      // full path
    std::string gameType;  // "base\mp", "mymod", empty for the game folder's own "demos"
    std::string name;      // relative to its "demos" folder: "duel.dm_2004", "cup\final.dm_2004"
    FileStamp stamp;
    bool operator==(const FoundDemo&) const = default;
};

// What one folder at or below a "demos" folder holds directly.
struct ListedFolder {
    std::string folder;                   // full path
    std::vector<FoundDemo> demos;         // its demo files, in no particular order
    std::vector<std::string> subFolders;  // full paths of its sub-folders that are not links
};

// The "demos" folders of the game folder: "<game>\demos", "<game>\<X>\demos"
// and "<game>\<X>\<Y>\demos" (as "base\mp\demos"), in natural name order,
// links neither entered nor taken. Nothing without a game folder.
std::vector<std::string> FindDemosFolders(FileSystem& files, std::string_view gameFolder);

// Lists one folder at or below a "demos" folder of the game folder: its
// files that end in ".dm_2004" (any letter case) and its sub-folders.
// Nothing when it is no folder (any more) or is a link.
std::optional<ListedFolder> ListDemoFolder(FileSystem& files, std::string_view gameFolder, const std::string& folder);

// Lists `folder` and every folder below it, depth first, handing each
// listing to `listed` as soon as it is made. A stop asked through `stop` ends
// the walk between two folders; returns false then.
bool WalkDemoTree(FileSystem& files, std::string_view gameFolder, const std::string& folder,
                  const std::function<void(ListedFolder&&)>& listed, std::stop_token stop = {});

}  // namespace reelwright
