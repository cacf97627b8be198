#include "session/VirtualStore.h"

#include "core/GameFolder.h"

namespace reelwright {

std::optional<std::string> VirtualStorePath(std::string_view path, const VirtualisedFolders& where) {
    if (where.localAppData.empty()) return std::nullopt;
    for (const std::string& folder : where.folders) {
        if (folder.empty() || !IsInsideFolder(path, folder)) continue;
        // "C:\Program Files\Game\x.cfg" -> "<local>\VirtualStore\Program Files\Game\x.cfg"
        if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return std::nullopt;
        return JoinFolder(JoinFolder(where.localAppData, "VirtualStore"), path.substr(3));
    }
    return std::nullopt;
}

}  // namespace reelwright
