#include "core/GameFolder.h"

#include <algorithm>
#include <vector>

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

std::string WithoutDotSteps(std::string_view path) {
    std::string text(path);
    std::replace(text.begin(), text.end(), '/', '\\');
    // Where the root ends, and whether ".." can climb above the steps given.
    std::size_t rootEnd = 0;
    bool rooted = false;
    if (text.rfind("\\\\", 0) == 0) {
        // "\\?\" and "\\.\" paths are taken literally by the system.
        if (text.size() > 2 && (text[2] == '?' || text[2] == '.')) return text;
        const std::size_t server = text.find('\\', 2);
        if (server == std::string::npos || server == 2) return text;
        const std::size_t share = text.find('\\', server + 1);
        if (share == std::string::npos || share == server + 1) return text;
        rootEnd = share + 1;
        rooted = true;
    } else if (text.size() >= 2 && text[1] == ':') {
        rootEnd = 2;  // "C:" alone names the drive's current folder
        if (text.size() >= 3 && text[2] == '\\') {
            rootEnd = 3;
            rooted = true;
        }
    } else if (!text.empty() && text[0] == '\\') {
        rootEnd = 1;
        rooted = true;
    }

    std::string_view rest = std::string_view(text).substr(rootEnd);
    const bool trailing = !rest.empty() && IsSeparator(rest.back());
    while (!rest.empty() && IsSeparator(rest.back())) rest.remove_suffix(1);
    std::vector<std::string_view> steps;
    for (std::size_t start = 0; start < rest.size();) {
        const std::size_t end = std::min(rest.find('\\', start), rest.size());
        const std::string_view step = rest.substr(start, end - start);
        if (step.empty()) return text;  // not resolved: callers refuse empty steps
        if (step == "..") {
            if (!steps.empty() && steps.back() != "..")
                steps.pop_back();
            else if (!rooted)
                steps.push_back(step);
        } else if (step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }

    std::string full = text.substr(0, rootEnd);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (i > 0) full += '\\';
        full += steps[i];
    }
    if (trailing && !steps.empty()) full += '\\';
    return full;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    folder = GameFolderForJoining(folder);
    if (folder.empty() || path.size() <= folder.size() || path[folder.size()] != '\\') return false;
    return EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder);
}

}  // namespace reelwright
