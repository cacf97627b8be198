#include "queue/DemoDrop.h"

#include "queue/DemoCopyOffer.h"
#include "queue/DemoPack.h"
#include "queue/DemoPackOffer.h"

#include <algorithm>
#include <optional>

#include "core/AppInfo.h"
#include "core/GameFolder.h"
#include "core/Text.h"
#include "queue/NaturalOrder.h"

namespace reelwright {

namespace {

void SortNaturally(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
}

// Walks `top` (already listed): the demo files of a folder, then its
// sub-folders, depth first. A stack of its own: a deep tree must not exhaust
// the call stack. False when `found` ended the walk.
bool WalkFolder(FileSystem& files, std::string_view gameFolder, const std::string& top, FolderContents contents,
                const DemoFileFound& found) {
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
        if (!pending.contents || pending.contents->isLink) continue;  // gone since its parent was listed, or a link
        FolderContents& here = *pending.contents;

        std::erase_if(here.files, [](const std::string& name) { return !IsDemoFileName(name); });
        SortNaturally(here.files);
        for (const std::string& name : here.files)
            if (!found(JoinFolder(pending.folder, name))) return false;

        std::erase_if(here.folders, [&](const std::string& name) {
            return !MayHoldDemos(gameFolder, JoinFolder(pending.folder, name));
        });
        SortNaturally(here.folders);
        for (auto folder = here.folders.rbegin(); folder != here.folders.rend(); ++folder)
            stack.push_back({JoinFolder(pending.folder, *folder), std::nullopt});
    }
    return true;
}

bool SameFolder(std::string_view a, std::string_view b) {
    return !a.empty() && EqualIgnoringAsciiCase(a, b);
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

bool MayHoldDemos(std::string_view gameFolder, std::string_view folder) {
    const std::string fullFolder = WithoutDotSteps(folder);
    const std::string fullGame = WithoutDotSteps(gameFolder);
    const std::string_view here = GameFolderForJoining(fullFolder);
    const std::string_view game = GameFolderForJoining(fullGame);
    if (game.empty()) return false;
    return SameFolder(here, game) || IsInsideFolder(fullFolder, game) || IsInsideFolder(fullGame, here);
}

DropWalk WalkDroppedPaths(FileSystem& files, std::string_view gameFolder, const std::vector<std::string>& dropped,
                          const DemoFileFound& found) {
    DropWalk walk;
    for (const std::string& given : dropped) {
        const std::string path = WithoutDotSteps(given);
        if (std::optional<FolderContents> contents = files.ListFolder(path)) {
            if (contents->isLink) {
                ++walk.links;
            } else if (!WalkFolder(files, gameFolder, path, std::move(*contents), found)) {
                walk.stopped = true;
                return walk;
            }
        } else if (IsDemoFileName(path)) {
            if (!found(path)) {
                walk.stopped = true;
                return walk;
            }
        } else {
            ++walk.notDemos;
        }
    }
    return walk;
}

std::string DropMessage(const DropDemosResult& result, std::string_view gameFolder) {
    std::string text = NotAddedMessage(result.add, gameFolder);
    if (result.queueFull) {
        if (!text.empty()) text += "\r\n\r\n";
        text += "The queue holds at most " + std::to_string(DemoQueue::kMaxEntries) +
                " demos, so the rest of the dropped demo files were not added.";
    }
    if (result.links > 0) {
        if (!text.empty()) text += "\r\n\r\n";
        text += result.links == 1
                    ? std::string("1 dropped folder was skipped, because it is a link to another folder.")
                    : std::to_string(result.links) + " dropped folders were skipped, because they are links to "
                                                     "other folders.";
    }
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
    const std::string gameFolder = ReadGameFolder(services.store);

    DropDemosResult result;
    if (GameFolderForJoining(gameFolder).empty()) {
        // Nothing can be queued: nothing is walked.
        for (const std::string& path : dropped) result.add.refused.push_back({path, DemoRefusal::NoGameFolder});
    } else {
        std::vector<std::string> outside;  // demo files in no demos folder: offered for copying
        std::vector<std::string> packs;    // zip packs of demos: offered for unpacking
        std::vector<std::string> others;
        for (const std::string& path : dropped)
            (IsPackFileName(path) && services.files.FileExists(path) ? packs : others).push_back(path);
        const DropWalk walk = WalkDroppedPaths(services.files, gameFolder, others, [&](const std::string& path) {
            // Add's rule for one file; a dropped file's row shows its full path.
            const DemoPlace place = CheckDemoFileForQueue(gameFolder, path);
            if (MayOfferCopy(place, path)) {
                outside.push_back(path);
                return true;
            }
            if (!place.Accepted()) {
                result.add.refused.push_back({path, place.refusal});
                return true;
            }
            if (queue.Append({place.name, place.gameType, path})) {
                ++result.add.added;
                return true;
            }
            result.queueFull = true;
            return false;
        });
        result.notDemos = walk.notDemos;
        result.links = walk.links;
        if (!outside.empty()) {
            const CopyOfferResult offer =
                OfferDemoCopies(services, gameFolder, outside, CopyGoal::Queue, queue, kAddErrorTitle);
            for (const std::string& path : offer.refused)
                result.add.refused.push_back({path, CheckDemoFileForQueue(gameFolder, path).refusal});
            for (const DemoCopyPlan& copy : offer.copies) {
                const DemoPlace place = copy.Place();
                if (!queue.Append({place.name, place.gameType, copy.target})) {
                    result.queueFull = true;
                    break;
                }
                ++result.add.added;
            }
        }
        for (const std::string& pack : packs) {
            if (result.queueFull) break;
            const PackOfferResult offer = OfferDemoPack(services, gameFolder, pack, CopyGoal::Queue);
            if (offer.declined) ++result.notDemos;
            for (const UnpackedDemo& demo : offer.demos) {
                if (!queue.Append({demo.place.name, demo.place.gameType, demo.target})) {
                    result.queueFull = true;
                    break;
                }
                ++result.add.added;
            }
        }
    }

    if (!result.AllAdded())
        services.prompts.ShowMessage(DropMessage(result, gameFolder), kAddErrorTitle, MessageIcon::Exclamation,
                                     MessageButtons::Ok);
    return result;
}

}  // namespace reelwright
