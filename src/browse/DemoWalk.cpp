#include "browse/DemoWalk.h"

#include <algorithm>

#include "core/GameFolder.h"
#include "queue/DemoDrop.h"
#include "queue/GameType.h"
#include "queue/NaturalOrder.h"

namespace reelwright {

namespace {

// The sub-folders of `folder` in natural order; none for a link.
std::vector<std::string> SubFolders(FileSystem& files, const std::string& folder) {
    std::optional<FolderContents> contents = files.ListFolder(folder);
    if (!contents || contents->isLink) return {};
    std::vector<std::string> names = std::move(contents->folders);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
    return names;
}

// The folder named exactly "demos" among `names` (the queue's rule is
// case-sensitive), or nothing.
bool HoldsDemosFolder(const std::vector<std::string>& names) {
    return std::find(names.begin(), names.end(), "demos") != names.end();
}

}  // namespace

std::vector<std::string> FindDemosFolders(FileSystem& files, std::string_view gameFolder) {
    const std::string game(GameFolderForJoining(gameFolder));
    if (game.empty()) return {};
    std::vector<std::string> found;
    const std::vector<std::string> top = SubFolders(files, game);
    if (HoldsDemosFolder(top)) found.push_back(JoinFolder(game, "demos"));
    for (const std::string& first : top) {
        if (first == "demos") continue;
        const std::string firstFolder = JoinFolder(game, first);
        const std::vector<std::string> second = SubFolders(files, firstFolder);
        if (HoldsDemosFolder(second)) found.push_back(JoinFolder(firstFolder, "demos"));
        for (const std::string& name : second) {
            if (name == "demos") continue;
            const std::string secondFolder = JoinFolder(firstFolder, name);
            if (HoldsDemosFolder(SubFolders(files, secondFolder))) found.push_back(JoinFolder(secondFolder, "demos"));
        }
    }
    return found;
}

std::optional<ListedFolder> ListDemoFolder(FileSystem& files, std::string_view gameFolder, const std::string& folder) {
    std::optional<FolderContents> contents = files.ListFolder(folder);
    if (!contents || contents->isLink) return std::nullopt;
    ListedFolder listed;
    listed.folder = folder;
    // Every file of the folder shares the part of its place above it.
    const DemoPlace here = LocateBelowGameFolder(gameFolder, JoinFolder(folder, "x"));
    if (!here.Accepted()) return listed;
    const std::size_t cut = here.name.size() - 1;  // the name below "demos" without the "x"
    const std::string prefix = here.name.substr(0, cut);
    for (std::size_t index = 0; index < contents->files.size(); ++index) {
        const std::string& name = contents->files[index];
        if (!IsDemoFileName(name)) continue;
        const FileStamp stamp = index < contents->stamps.size() ? contents->stamps[index] : FileStamp{};
        listed.demos.push_back({JoinFolder(folder, name), here.gameType, prefix + name, stamp});
    }
    for (const std::string& name : contents->folders) listed.subFolders.push_back(JoinFolder(folder, name));
    return listed;
}

bool WalkDemoTree(FileSystem& files, std::string_view gameFolder, const std::string& folder,
                  const std::function<void(ListedFolder&&)>& listed, std::stop_token stop) {
    // A stack of its own: a deep tree must not exhaust the call stack.
    std::vector<std::string> pending{folder};
    while (!pending.empty()) {
        if (stop.stop_requested()) return false;
        const std::string next = std::move(pending.back());
        pending.pop_back();
        std::optional<ListedFolder> here = ListDemoFolder(files, gameFolder, next);
        if (!here) continue;
        std::vector<std::string> below = here->subFolders;
        std::stable_sort(below.begin(), below.end(),
                         [](const std::string& a, const std::string& b) { return NaturalLess(b, a); });
        listed(std::move(*here));
        for (std::string& sub : below) pending.push_back(std::move(sub));
    }
    return true;
}

}  // namespace reelwright
