#include "core/GameFolder.h"

#include "core/Text.h"

namespace reelwright {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string_view GameFolderForJoining(std::string_view gameFolder) {
    while (!gameFolder.empty() && IsSeparator(gameFolder.back())) gameFolder.remove_suffix(1);
    return gameFolder;
}

std::string JoinFolder(std::string_view folder, std::string_view name) {
    std::string path(GameFolderForJoining(folder));
    path += '\\';
    path += name;
    return path;
}

std::string GameFolderForGame(std::string_view gameFolder) {
    std::string folder(GameFolderForJoining(gameFolder));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    folder = GameFolderForJoining(folder);
    if (folder.empty() || path.size() <= folder.size() || path[folder.size()] != '\\') return false;
    return EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder);
}

}  // namespace reelwright
