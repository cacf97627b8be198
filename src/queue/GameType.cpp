#include "queue/GameType.h"

namespace reelwright {

std::optional<std::string> GetGameTypeFromPath(std::string_view path, std::string_view gameFolder) {
    constexpr std::string_view kDemosFolder = "\\demos";
    const std::size_t demos = path.find(kDemosFolder);
    if (demos == std::string_view::npos) return std::nullopt;

    const std::size_t folderLength = gameFolder.size();
    // "\demos" right after the game folder: its own demos folder, which the
    // game plays with an empty game type. Here the prefix must really be the
    // game folder; a different folder of the same length names nothing.
    if (demos == folderLength) {
        if (path.substr(0, folderLength) == gameFolder) return std::string();
        return std::nullopt;
    }
    if (demos < folderLength + 1) return std::nullopt;
    return std::string(path.substr(folderLength + 1, demos - folderLength - 1));
}

}  // namespace reelwright
