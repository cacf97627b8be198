#include "queue/DemoDetails.h"

#include <memory>
#include <utility>

#include "core/GameFolder.h"

namespace reelwright {

std::string DemoFileOfEntry(std::string_view gameFolder, const DemoQueueEntry& entry) {
    const std::string gameTypeFolder =
        entry.GameType.empty() ? std::string(GameFolderForJoining(gameFolder)) : JoinFolder(gameFolder, entry.GameType);
    return JoinFolder(JoinFolder(gameTypeFolder, "demos"), entry.Name);
}

DemoDetails ReadDemoDetails(std::string_view path, std::stop_token stop) {
    DemoDetails details;
    const std::unique_ptr<DemoFileInput> file = OpenDemoFile(path);
    if (!file) {
        details.head.refusal = DemoReadRefusal::CannotOpen;
        return details;
    }
    details.size = file->Size();
    details.written = file->Written();
    DemoHeadAndLength read = ReadDemo(*file, DemoFileName(path), std::move(stop));
    details.head = std::move(read.head);
    details.length = read.length;
    return details;
}

}  // namespace reelwright
