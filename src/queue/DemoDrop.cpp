#include "queue/DemoDrop.h"

#include <algorithm>
#include <optional>

#include "core/AppInfo.h"
#include "core/GameFolder.h"
#include "queue/NaturalOrder.h"

namespace reelwright {

namespace {

void SortNaturally(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
}

// Adds the demo files below `top` (files of a folder, then its sub-folders,
// depth first). A stack of its own: a deep tree must not exhaust the call stack.
void AppendFolderDemos(FileSystem& files, const std::string& top, FolderContents contents,
                       std::vector<std::string>& demos) {
    struct Pending {
        std::string folder;
        std::optional<FolderContents> contents;
    };
    std::vector<Pending> stack;
    stack.push_back({top, std::move(contents)});
    while (!stack.empty()) {
        Pending pending = std::move(stack.back());
        stack.pop_back();
        if (!pending.contents) pending.contents = files.ListFolder(pending.folder);
        if (!pending.contents) continue;  // gone since its parent was listed
        FolderContents& here = *pending.contents;

        std::erase_if(here.files, [](const std::string& name) { return !IsDemoFileName(name); });
        SortNaturally(here.files);
        for (const std::string& name : here.files) demos.push_back(JoinFolder(pending.folder, name));

        SortNaturally(here.folders);
        for (auto folder = here.folders.rbegin(); folder != here.folders.rend(); ++folder)
            stack.push_back({JoinFolder(pending.folder, *folder), std::nullopt});
    }
}


}  // namespace

bool IsDemoFileName(std::string_view name) {
    constexpr std::string_view kExtension = ".dm_2004";
    if (name.size() < kExtension.size()) return false;
    const std::string_view tail = name.substr(name.size() - kExtension.size());
    return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

DroppedDemoFiles ExpandDroppedPaths(FileSystem& files, const std::vector<std::string>& dropped) {
    DroppedDemoFiles result;
    for (const std::string& path : dropped) {
        if (std::optional<FolderContents> contents = files.ListFolder(path)) {
            AppendFolderDemos(files, path, std::move(*contents), result.demos);
        } else if (IsDemoFileName(path)) {
            result.demos.push_back(path);
        } else {
            ++result.notDemos;
        }
    }
    return result;
}

std::string DropMessage(const DropDemosResult& result, std::string_view gameFolder) {
    std::string text = NotAddedMessage(result.add, gameFolder);
    if (result.notDemos > 0) {
        if (!text.empty()) text += "\r\n\r\n";
        text += result.notDemos == 1
                    ? std::string("1 dropped file was skipped, because it is not a demo file (*.dm_2004).")
                    : std::to_string(result.notDemos) +
                          " dropped files were skipped, because they are not demo files (*.dm_2004).";
    }
    return text;
}

DropDemosResult DropDemos(AppServices& services, DemoQueue& queue, const std::vector<std::string>& dropped) {
    const std::string gameFolder = ReadGameFolder(services.store, AppKey());
    const DroppedDemoFiles found = ExpandDroppedPaths(services.files, dropped);

    DropDemosResult result;
    result.notDemos = found.notDemos;
    for (const std::string& path : found.demos) {
        // Add's rule for one file; a dropped file's row shows its full path.
        const DemoPlace place = CheckDemoFileForQueue(path, gameFolder);
        if (!place.Accepted()) {
            result.add.refused.push_back({path, place.refusal});
        } else if (queue.Append({place.name, place.gameType, path})) {
            ++result.add.added;
        } else {
            ++result.add.beyondLimit;
        }
    }

    if (!result.AllAdded())
        services.prompts.ShowMessage(DropMessage(result, gameFolder), kAddErrorTitle, MessageIcon::Exclamation,
                                     MessageButtons::Ok);
    return result;
}

}  // namespace reelwright
