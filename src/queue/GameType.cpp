#include "queue/GameType.h"

#include <algorithm>

#include "core/GameFolder.h"

namespace reelwright {

namespace {

constexpr std::string_view kDemosFolder = "demos";

}  // namespace

DemoPlace LocateBelowGameFolder(std::string_view gameFolder, std::string_view givenPath) {
    DemoPlace place;
    // Decided on the paths as the system opens them: a ".." step must not
    // lead out of the game folder while the text still begins with it.
    const std::string path = WithoutDotSteps(givenPath);
    const std::string fullFolder = WithoutDotSteps(gameFolder);
    const std::string_view folder = GameFolderForJoining(fullFolder);
    if (folder.empty()) {
        place.refusal = DemoRefusal::NoGameFolder;
        return place;
    }
    if (!IsInsideFolder(path, folder)) {
        place.refusal = DemoRefusal::OutsideGameFolder;
        return place;
    }

    // The components below the game folder, each checked on the way: the
    // first one named "demos" ends the game type, the rest is the name.
    const std::string_view below = std::string_view(path).substr(folder.size() + 1);
    std::size_t demosEnd = std::string_view::npos;  // index just after "demos" in `below`
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(below.find('\\', start), below.size());
        const std::string_view component = below.substr(start, end - start);
        if (component.empty()) {
            place.refusal = DemoRefusal::EmptyFolderName;
            return place;
        }
        if (demosEnd == std::string_view::npos && component == kDemosFolder) demosEnd = end;
        if (end == below.size()) break;
        start = end + 1;
    }
    if (demosEnd == std::string_view::npos) {
        place.refusal = DemoRefusal::NoDemosFolder;
        return place;
    }
    const std::size_t demosStart = demosEnd - kDemosFolder.size();
    place.gameType = std::string(below.substr(0, demosStart == 0 ? 0 : demosStart - 1));
    if (demosEnd < below.size()) place.name = std::string(below.substr(demosEnd + 1));
    return place;
}

std::optional<std::string> GetGameTypeFromPath(std::string_view path, std::string_view gameFolder) {
    DemoPlace place = LocateBelowGameFolder(gameFolder, path);
    if (!place.Accepted()) return std::nullopt;
    return std::move(place.gameType);
}

}  // namespace reelwright
