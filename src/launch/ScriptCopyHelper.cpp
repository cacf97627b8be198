#include "launch/ScriptCopyHelper.h"

#include <algorithm>
#include <cctype>

#include "core/GameFolder.h"
#include "core/GameShell.h"
#include "launch/GameCommandLine.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A path step the system would read as "this folder" or "the parent": the
// system drops trailing dots and blanks from names, so ". ." and "..." count.
bool IsDotStep(std::string_view step) {
    return !step.empty() && step.find_first_not_of(". ") == std::string_view::npos;
}

// Splits at either separator; empty steps stay (a doubled separator).
std::vector<std::string_view> Steps(std::string_view path) {
    std::vector<std::string_view> steps;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            steps.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return steps;
}

bool HasForbiddenCharacter(std::string_view path) {
    for (char c : path)
        if (static_cast<unsigned char>(c) < 32 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            return true;
    return false;
}

// "X:\..." or "\\server\share\...", without "." or ".." steps. A final
// separator is allowed ("D:\").
bool IsFullFolderPath(std::string_view folder) {
    std::string_view rest;
    if (folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
        IsSeparator(folder[2])) {
        rest = folder.substr(3);
    } else if (folder.size() >= 3 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
        rest = folder.substr(2);
        // A server and a share: not "\\?\" nor "\\.\" device paths (the
        // forbidden characters and the dot steps refuse those).
        if (rest.empty() || IsSeparator(rest[0])) return false;
    } else {
        return false;
    }
    if (HasForbiddenCharacter(rest)) return false;
    if (!rest.empty() && IsSeparator(rest.back())) rest.remove_suffix(1);
    if (rest.empty()) return folder.size() == 3;  // a drive root; a bare "\\" is no share
    for (std::string_view step : Steps(rest))
        if (step.empty() || IsDotStep(step)) return false;
    return true;
}

// A relative path of one or more named steps, so that folder + "\" + it lies
// below the folder.
bool IsBelowFolder(std::string_view gameType) {
    if (gameType.empty() || IsSeparator(gameType.front()) || HasForbiddenCharacter(gameType)) return false;
    for (std::string_view step : Steps(gameType))
        if (step.empty() || IsDotStep(step)) return false;
    return true;
}

}  // namespace

std::string QuoteArgument(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped;
        // elsewhere they stand for themselves.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote they are doubled too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::vector<std::string> SplitArguments(std::string_view tail) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (true) {
        while (i < tail.size() && IsSpace(tail[i])) ++i;
        if (i == tail.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < tail.size() && (quoted || !IsSpace(tail[i]))) {
            std::size_t backslashes = 0;
            while (i < tail.size() && tail[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < tail.size() && tail[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < tail.size() && tail[i + 1] == '"') {
                    // "" inside quotes is one quote character.
                    argument += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < tail.size() && (quoted || !IsSpace(tail[i]))) argument += tail[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string BuildCopyScriptParameters(const CopyScriptRequest& request) {
    std::string parameters = kCopyScriptSwitch;
    parameters += ' ';
    parameters += QuoteArgument(request.source);
    parameters += ' ';
    parameters += QuoteArgument(request.gameFolder);
    for (const std::string& gameType : request.gameTypes) {
        parameters += ' ';
        parameters += QuoteArgument(gameType);
    }
    if (!request.laterParts.empty()) {
        parameters += ' ';
        parameters += kLaterPartsMarker;
        for (const std::string& part : request.laterParts) {
            parameters += ' ';
            parameters += QuoteArgument(part);
        }
    }
    return parameters;
}

bool IsCopyScriptCommandLine(std::string_view tail) {
    const std::vector<std::string> arguments = SplitArguments(tail);
    return !arguments.empty() && arguments.front() == kCopyScriptSwitch;
}

std::optional<CopyScriptRequest> ParseCopyScriptParameters(std::string_view tail) {
    std::vector<std::string> arguments = SplitArguments(tail);
    if (arguments.size() < 4 || arguments[0] != kCopyScriptSwitch) return std::nullopt;
    CopyScriptRequest request;
    request.source = std::move(arguments[1]);
    request.gameFolder = std::move(arguments[2]);
    // A game type never begins with a separator, so the marker cannot be one.
    const auto marker = std::find(arguments.begin() + 3, arguments.end(), kLaterPartsMarker);
    if (marker != arguments.end() && marker + 1 == arguments.end()) return std::nullopt;
    request.gameTypes.assign(std::make_move_iterator(arguments.begin() + 3), std::make_move_iterator(marker));
    if (request.gameTypes.empty()) return std::nullopt;
    if (marker != arguments.end())
        request.laterParts.assign(std::make_move_iterator(marker + 1), std::make_move_iterator(arguments.end()));
    return request;
}

CopyScriptCheck CheckCopyScriptRequest(FileSystem& files, const CopyScriptRequest& request) {
    if (!IsFullFolderPath(request.gameFolder) ||
        !files.FileExists(JoinFolder(request.gameFolder, kGameExecutable)))
        return CopyScriptCheck::NoGameExecutable;
    for (const std::string& gameType : request.gameTypes)
        if (!IsBelowFolder(gameType)) return CopyScriptCheck::TargetOutsideGameFolder;
    const std::string_view firstLine = basBuildConfigs::ScriptFirstLine();
    std::string start;
    if (!files.ReadFileStart(request.source, firstLine.size(), start) || start != firstLine)
        return CopyScriptCheck::ForeignSource;
    const std::string_view entryStart = basBuildConfigs::EntryLineStart();
    for (const std::string& part : request.laterParts)
        if (!files.ReadFileStart(part, entryStart.size(), start) || start != entryStart)
            return CopyScriptCheck::ForeignSource;
    return CopyScriptCheck::Accepted;
}

FolderOutcome PlaceScriptInFolder(FileSystem& files, const std::string& gameFolder, const std::string& gameType,
                                  std::size_t partCount,
                                  const std::function<FileResult(std::size_t part, const std::string& target)>& place) {
    FolderOutcome outcome;
    outcome.gameType = gameType;
    outcome.folder = JoinFolder(gameFolder, gameType);
    if (files.FileExists(JoinFolder(outcome.folder, kGameExecutable))) {
        outcome.attribute = files.SetReadOnly(JoinFolder(outcome.folder, kGameConfigFileName));
        if (outcome.attribute.error == kErrorFileNotFound) outcome.attribute = {};
    }
    for (std::size_t part = 0; part < partCount; ++part) {
        const std::string fileName = basBuildConfigs::ScriptPartFileName(part + 1);
        const std::string target = basBuildConfigs::DemoConfigPath(outcome.folder, fileName);
        outcome.copy = place(part, target);
        if (!outcome.copy) {
            outcome.failedFile = fileName;
            outcome.staleScript = files.FileExists(target);
            break;
        }
    }
    return outcome;
}

int RunCopyScriptHelper(FileSystem& files, std::string_view tail) {
    const std::optional<CopyScriptRequest> request = ParseCopyScriptParameters(tail);
    if (!request || CheckCopyScriptRequest(files, *request) != CopyScriptCheck::Accepted) return kHelperRefused;
    bool allPlaced = true;
    for (const std::string& gameType : request->gameTypes) {
        const FolderOutcome outcome = PlaceScriptInFolder(
            files, request->gameFolder, gameType, 1 + request->laterParts.size(),
            [&](std::size_t part, const std::string& target) {
                return files.CopyFileOver(part == 0 ? request->source : request->laterParts[part - 1], target);
            });
        allPlaced = allPlaced && !outcome.Failed();
    }
    return allPlaced ? kHelperSucceeded : kHelperStepFailed;
}

}  // namespace reelwright
