#include "queue/DemoDetails.h"

#include <memory>

#include "core/GameFolder.h"

namespace reelwright {

std::string DemoFileOfEntry(std::string_view gameFolder, const DemoQueueEntry& entry) {
    const std::string gameTypeFolder =
        entry.GameType.empty() ? std::string(GameFolderForJoining(gameFolder)) : JoinFolder(gameFolder, entry.GameType);
    return JoinFolder(JoinFolder(gameTypeFolder, "demos"), entry.Name);
}

DemoDetails ReadDemoDetails(std::string_view path) {
    DemoDetails details;
    {
        const std::unique_ptr<DemoFileInput> file = OpenDemoFile(path);
        if (!file) {
            details.head.refusal = DemoReadRefusal::CannotOpen;
            return details;
        }
        details.size = file->Size();
        details.written = file->Written();
        details.head = ReadDemoHead(*file, path.substr(path.find_last_of("\\/") + 1));
    }
    // A file that does not begin as a demo is not read any further.
    if (details.head.Readable()) details.length = ReadDemoFileLength(path);
    return details;
}

}  // namespace reelwright
