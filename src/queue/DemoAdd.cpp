#include "queue/DemoAdd.h"

#include <algorithm>
#include <optional>

#include "core/AppInfo.h"
#include "queue/DialogSelection.h"
#include "queue/GameType.h"

namespace reelwright {

OpenFileRequest MakeAddDemosRequest(const std::string& gameFolder) {
    OpenFileRequest request;
    request.title = kAddDemosTitle;
    request.filterDescription = kDemoFilterDescription;
    request.filterPattern = kDemoFilterPattern;
    request.initialFolder = gameFolder;  // empty: the dialog's own choice
    request.allowMultiSelect = true;
    request.fileMustExist = true;
    return request;
}

std::string NotAddedMessage(const AddDemosResult& result) {
    std::string text;
    if (!result.withoutGameType.empty()) {
        text += result.withoutGameType.size() == 1 ? "This demo file was not added" : "These demo files were not added";
        text += " to the queue, because no game type can be taken from where ";
        text += result.withoutGameType.size() == 1 ? "it lies:" : "they lie:";
        text += "\r\n";
        const std::size_t listed = std::min(result.withoutGameType.size(), kMaxListedFiles);
        for (std::size_t i = 0; i < listed; ++i) text += "\r\n" + result.withoutGameType[i];
        if (result.withoutGameType.size() > listed)
            text += "\r\n... and " + std::to_string(result.withoutGameType.size() - listed) + " more.";
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
    return text;
}

AddDemosResult AddDemos(AppServices& services, DemoQueue& queue) {
    const std::string gameFolder = ReadGameFolder(services.store, AppKey());
    const std::optional<OpenFileResult> answer = services.prompts.ShowOpenFile(MakeAddDemosRequest(gameFolder));

    AddDemosResult result;
    if (!answer) return result;
    const DemoSelection selection = ReadDialogSelection(*answer);
    if (selection.Empty()) return result;

    // Several files share their folder, so one derivation serves them all.
    const std::optional<std::string> gameType = GetGameTypeFromPath(selection.location, gameFolder);
    for (std::size_t i = 0; i < selection.names.size(); ++i) {
        if (!gameType) {
            result.withoutGameType.push_back(selection.FilePath(i));
        } else if (queue.Append({selection.names[i], *gameType, selection.location})) {
            ++result.added;
        } else {
            ++result.beyondLimit;
        }
    }

    if (!result.AllAdded())
        services.prompts.ShowMessage(NotAddedMessage(result), kAddErrorTitle, MessageIcon::Exclamation,
                                     MessageButtons::Ok);
    return result;
}

}  // namespace reelwright
