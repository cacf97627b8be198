#include "queue/DemoAdd.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/AppInfo.h"
#include "core/GameFolder.h"
#include "queue/DemoCopyOffer.h"
#include "queue/DemoPack.h"
#include "queue/DemoPackOffer.h"
#include "queue/DialogSelection.h"
#include "queue/GameType.h"

namespace reelwright {

OpenFileRequest MakeAddDemosRequest(const std::string& gameFolder) {
    OpenFileRequest request;
    request.title = kAddDemosTitle;
    request.filterDescription = kDemoFilterDescription;
    request.filterPattern = kDemoFilterPattern;
    request.moreFilters = {{kPackFilterDescription, kPackFilterPattern},
                           {kDemoOrPackFilterDescription, kDemoOrPackFilterPattern}};
    request.initialFolder = gameFolder;  // empty: the dialog's own choice
    request.allowMultiSelect = true;
    request.fileMustExist = true;
    return request;
}

DemoPlace CheckDemoFileForQueue(std::string_view gameFolder, std::string_view filePath) {
    DemoPlace place = LocateBelowGameFolder(gameFolder, filePath);
    // The "demos" folder itself is no demo file.
    if (place.Accepted() && place.name.empty()) place = DemoPlace{{}, {}, DemoRefusal::NoDemosFolder};
    return place;
}

namespace {

// One paragraph per reason: what happened, then the files concerned.
void AppendRefusedGroup(std::string& text, const std::vector<std::string>& paths, const std::string& oneFile,
                        const std::string& severalFiles) {
    if (paths.empty()) return;
    if (!text.empty()) text += "\r\n\r\n";
    text += paths.size() == 1 ? oneFile : severalFiles;
    text += "\r\n";
    const std::size_t listed = std::min(paths.size(), kMaxListedFiles);
    for (std::size_t i = 0; i < listed; ++i) text += "\r\n" + paths[i];
    if (paths.size() > listed) text += "\r\n... and " + std::to_string(paths.size() - listed) + " more.";
}

std::vector<std::string> PathsRefusedFor(const AddDemosResult& result, DemoRefusal reason) {
    std::vector<std::string> paths;
    for (const RefusedDemoFile& file : result.refused)
        if (file.reason == reason) paths.push_back(file.path);
    return paths;
}

}  // namespace

std::string NotAddedMessage(const AddDemosResult& result, std::string_view gameFolder) {
    std::string text;
    if (!PathsRefusedFor(result, DemoRefusal::NoGameFolder).empty()) {
        text += "No demo files were added to the queue, because the location of your SOF2 folder is not set.";
        text += "\r\n\r\nLocate your SOF2 folder first with File > Locate SOF2.exe File, then add the demos again.";
    }
    const std::string folder(gameFolder);
    const auto outside = PathsRefusedFor(result, DemoRefusal::OutsideGameFolder);
    AppendRefusedGroup(text, outside,
                       "This demo file was not added to the queue, because it does not lie inside your SOF2 folder, " +
                           folder + ":",
                       "These demo files were not added to the queue, because they do not lie inside your SOF2 "
                       "folder, " + folder + ":");
    const auto noDemos = PathsRefusedFor(result, DemoRefusal::NoDemosFolder);
    AppendRefusedGroup(text, noDemos,
                       "This demo file was not added to the queue, because it does not lie in a folder named demos "
                       "inside your SOF2 folder:",
                       "These demo files were not added to the queue, because they do not lie in a folder named demos "
                       "inside your SOF2 folder:");
    const auto emptyNames = PathsRefusedFor(result, DemoRefusal::EmptyFolderName);
    AppendRefusedGroup(text, emptyNames,
                       "This demo file was not added to the queue, because its path holds an empty folder name (\\\\):",
                       "These demo files were not added to the queue, because their paths hold an empty folder name "
                       "(\\\\):");
    if (!outside.empty() || !noDemos.empty() || !emptyNames.empty()) {
        text += "\r\n\r\nYou must have the demos in a demos folder inside your SOF2 folder.";
        text += "\r\nBy default this will be your base/mp/demos folder.";
    }
    if (result.beyondLimit > 0) {
        if (!text.empty()) text += "\r\n\r\n";
        text += "The queue holds at most " + std::to_string(DemoQueue::kMaxEntries) + " demos, so ";
        text += result.beyondLimit == 1 ? "1 chosen demo file was"
                                        : std::to_string(result.beyondLimit) + " chosen demo files were";
        text += " not added.";
    }
    if (result.notDemos > 0) {
        if (!text.empty()) text += "\r\n\r\n";
        text += result.notDemos == 1
                    ? std::string("1 chosen file was skipped, because it is not a demo file (*.dm_2004).")
                    : std::to_string(result.notDemos) +
                          " chosen files were skipped, because they are not demo files (*.dm_2004).";
    }
    return text;
}

AddDemosResult AddDemos(AppServices& services, DemoQueue& queue) {
    const std::string gameFolder = ReadGameFolder(services.store);
    const std::optional<OpenFileResult> answer = services.prompts.ShowOpenFile(MakeAddDemosRequest(gameFolder));

    AddDemosResult result;
    if (!answer) return result;
    const DemoSelection selection = ReadDialogSelection(*answer);
    if (selection.Empty()) return result;

    std::vector<std::string> outside;  // demo files in no demos folder: offered for copying
    std::vector<std::string> packs;    // zip packs of demos: offered for unpacking
    for (std::size_t i = 0; i < selection.names.size(); ++i) {
        std::string path = selection.FilePath(i);
        const DemoPlace place = CheckDemoFileForQueue(gameFolder, path);
        if (IsPackFileName(path)) {
            packs.push_back(std::move(path));
        } else if (MayOfferCopy(place, path)) {
            outside.push_back(std::move(path));
        } else if (!place.Accepted()) {
            result.refused.push_back({std::move(path), place.refusal});
        } else if (queue.Append({place.name, place.gameType, selection.location})) {
            ++result.added;
        } else {
            ++result.beyondLimit;
        }
    }

    if (!outside.empty()) {
        const CopyOfferResult offer =
            OfferDemoCopies(services, gameFolder, outside, CopyGoal::Queue, queue, kAddErrorTitle);
        for (const std::string& path : offer.refused)
            result.refused.push_back({path, CheckDemoFileForQueue(gameFolder, path).refusal});
        for (const DemoCopyPlan& copy : offer.copies) {
            const DemoPlace place = copy.Place();
            if (queue.Append({place.name, place.gameType, copy.target}))
                ++result.added;
            else
                ++result.beyondLimit;
        }
    }

    for (const std::string& pack : packs) {
        if (GameFolderForJoining(gameFolder).empty()) {
            result.refused.push_back({pack, DemoRefusal::NoGameFolder});
            continue;
        }
        const PackOfferResult offer = OfferDemoPack(services, gameFolder, pack, CopyGoal::Queue);
        if (offer.declined) ++result.notDemos;
        for (const UnpackedDemo& demo : offer.demos) {
            if (queue.Append({demo.place.name, demo.place.gameType, demo.target}))
                ++result.added;
            else
                ++result.beyondLimit;
        }
    }

    if (!result.AllAdded())
        services.prompts.ShowMessage(NotAddedMessage(result, gameFolder), kAddErrorTitle, MessageIcon::Exclamation,
                                     MessageButtons::Ok);
    return result;
}

}  // namespace reelwright
