#include "launch/ScriptCopyHelper.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "core/GameFolder.h"
#include "core/GameShell.h"
#include "core/Text.h"
#include "launch/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "script/ScriptReader.h"
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

// "X:\..." without "." or ".." steps: a drive letter path, so no network
// share and no "\\?\" or "\\.\" device path. A final separator is allowed
// ("D:\").
bool IsDriveFolderPath(std::string_view folder) {
    if (folder.size() < 3 || !std::isalpha(static_cast<unsigned char>(folder[0])) || folder[1] != ':' ||
        !IsSeparator(folder[2]))
        return false;
    std::string_view rest = folder.substr(3);
    if (HasForbiddenCharacter(rest)) return false;
    if (!rest.empty() && IsSeparator(rest.back())) rest.remove_suffix(1);
    if (rest.empty()) return folder.size() == 3;  // a drive root
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
    request.gameTypes.assign(std::make_move_iterator(arguments.begin() + 3), std::make_move_iterator(arguments.end()));
    return request;
}

namespace {

bool IsNotFound(FileResult result) {
    return result.error == kErrorFileNotFound || result.error == kErrorPathNotFound;
}

bool SameFinalPath(std::string_view a, std::string_view b) {
    return EqualIgnoringAsciiCase(GameFolderForJoining(a), GameFolderForJoining(b));
}

// A held item is what it was opened as, where it was named: not a link, a
// folder or a file as expected, a file with no other hard link, and its final
// path the expected one.
bool IsInPlace(const HeldItem& item, bool folder, std::string_view finalPath) {
    const HeldFacts& facts = item.Facts();
    return !facts.reparsePoint && facts.directory == folder && (folder || facts.links <= 1) &&
           SameFinalPath(facts.finalPath, finalPath);
}

// One game-type folder, checked and held.
struct Target {
    std::string folder;      // as named: game folder + "\" + game type
    std::string finalPath;   // where it must lie: the game folder's final path + "\" + game type
    FileResult reached;      // a folder on the way that could not be opened
    bool protectConfig = false;
    std::unique_ptr<HeldItem> config;  // SOF2MP.cfg, held for its attributes
    FileResult configOpened;
    std::unique_ptr<HeldItem> script;  // an existing Reelwright.cfg, held to be replaced
    FileResult scriptOpened;
};

struct Plan {
    std::string bytes;  // the source as it was read and checked
    std::vector<std::unique_ptr<HeldItem>> folders;
    std::vector<Target> targets;
};

class Planner {
public:
    Planner(FileSystem& files, Plan& plan) : files_(files), plan_(plan) {}

    CopyScriptCheck Prepare(const CopyScriptRequest& request) {
        if (!IsDriveFolderPath(request.gameFolder) || !files_.IsLocalFixedDrive(request.gameFolder))
            return CopyScriptCheck::NotALocalGameFolder;
        for (const std::string& gameType : request.gameTypes)
            if (!IsBelowFolder(gameType)) return CopyScriptCheck::TargetOutsideGameFolder;

        if (const CopyScriptCheck source = ReadSource(request); source != CopyScriptCheck::Accepted) return source;

        FileResult opened;
        auto game = files_.Hold(request.gameFolder, HoldMode::Inspect, opened);
        if (!game) return CopyScriptCheck::NoGameExecutable;
        const HeldFacts gameFacts = game->Facts();
        if (gameFacts.reparsePoint || !gameFacts.directory) return CopyScriptCheck::LinkInTheWay;
        gameFinal_ = gameFacts.finalPath;
        plan_.folders.push_back(std::move(game));

        auto executable = files_.Hold(JoinFolder(request.gameFolder, kGameExecutable), HoldMode::Inspect, opened);
        if (!executable || executable->Facts().reparsePoint || executable->Facts().directory)
            return CopyScriptCheck::NoGameExecutable;
        if (!SameFinalPath(executable->Facts().finalPath, JoinFolder(gameFinal_, kGameExecutable)))
            return CopyScriptCheck::LinkInTheWay;

        for (const std::string& gameType : request.gameTypes) {
            // One target per folder: Windows names folders without regard to case.
            const bool seen = std::any_of(plan_.targets.begin(), plan_.targets.end(), [&](const Target& target) {
                return EqualIgnoringAsciiCase(target.folder, JoinFolder(request.gameFolder, gameType));
            });
            if (seen) continue;
            if (const CopyScriptCheck target = HoldTarget(request.gameFolder, gameType);
                target != CopyScriptCheck::Accepted)
                return target;
        }
        return CopyScriptCheck::Accepted;
    }

private:
    CopyScriptCheck ReadSource(const CopyScriptRequest& request) {
        HeldFacts facts;
        if (!files_.ReadHeldFile(request.source, kCopyScriptSourceLimit, plan_.bytes, facts) || facts.reparsePoint ||
            facts.directory || plan_.bytes.size() > kCopyScriptSourceLimit)
            return CopyScriptCheck::ForeignSource;
        const auto contents = basBuildConfigs::ReadOwnScript(plan_.bytes);
        if (!contents) return CopyScriptCheck::ForeignSource;
        // Launch writes no script for names the game's console would split:
        // the queue that the script plays must pass the same rules.
        DemoQueue queue;
        for (const auto& entry : contents->entries)
            queue.Append({files_.TextFromAnsi(entry.name), files_.TextFromAnsi(entry.gameType), {}});
        if (queue.Count() != contents->entries.size() ||
            !FindConsoleNameProblems(queue, [](std::string_view) { return true; }).empty())
            return CopyScriptCheck::ForeignSource;
        // Launch asks only for folders of the queued demos' game types.
        for (const std::string& gameType : request.gameTypes) {
            const bool played = std::any_of(queue.Entries().begin(), queue.Entries().end(),
                                            [&](const DemoQueueEntry& entry) { return entry.GameType == gameType; });
            if (!played) return CopyScriptCheck::GameTypeNotInScript;
        }
        return CopyScriptCheck::Accepted;
    }

    CopyScriptCheck HoldTarget(const std::string& gameFolder, const std::string& gameType) {
        Target target;
        target.folder = JoinFolder(gameFolder, gameType);
        target.finalPath = JoinFolder(gameFinal_, gameType);

        // Every step down from the game folder, each held before the next one
        // is opened below it. A missing folder is a failed step, not a refusal.
        const std::vector<std::string_view> steps = Steps(gameType);
        std::string relative;
        for (std::string_view step : steps) {
            if (!relative.empty()) relative += '\\';
            relative += step;
            const std::string path = JoinFolder(gameFolder, relative);
            const auto held = std::find_if(heldSteps_.begin(), heldSteps_.end(),
                                           [&](const std::string& known) { return EqualIgnoringAsciiCase(known, path); });
            if (held != heldSteps_.end()) continue;
            FileResult opened;
            auto folder = files_.Hold(path, HoldMode::Inspect, opened);
            if (!folder) {
                target.reached = opened;
                plan_.targets.push_back(std::move(target));
                return CopyScriptCheck::Accepted;
            }
            if (!IsInPlace(*folder, true, JoinFolder(gameFinal_, relative))) return CopyScriptCheck::LinkInTheWay;
            plan_.folders.push_back(std::move(folder));
            heldSteps_.push_back(path);
        }

        // SOF2MP.cfg is made read-only where the folder holds its own game.
        FileResult opened;
        if (auto executable = files_.Hold(JoinFolder(target.folder, kGameExecutable), HoldMode::Inspect, opened)) {
            target.protectConfig = !executable->Facts().reparsePoint && !executable->Facts().directory;
        }
        if (target.protectConfig) {
            target.config = files_.Hold(JoinFolder(target.folder, kGameConfigFileName), HoldMode::Attributes,
                                        target.configOpened);
            if (target.config &&
                !IsInPlace(*target.config, false, JoinFolder(target.finalPath, kGameConfigFileName)))
                return CopyScriptCheck::LinkInTheWay;
        }

        target.script = files_.Hold(basBuildConfigs::DemoConfigPath(target.folder), HoldMode::WriteExisting,
                                    target.scriptOpened);
        if (target.script &&
            !IsInPlace(*target.script, false, basBuildConfigs::DemoConfigPath(target.finalPath)))
            return CopyScriptCheck::LinkInTheWay;
        plan_.targets.push_back(std::move(target));
        return CopyScriptCheck::Accepted;
    }

    FileSystem& files_;
    Plan& plan_;
    std::string gameFinal_;
    std::vector<std::string> heldSteps_;
};

// Writes one target, everything on its way still held: true when every step
// worked.
bool WriteTarget(FileSystem& files, const std::string& bytes, Target& target) {
    if (!target.reached) return false;
    bool written = true;
    if (target.protectConfig) {
        // A game that has not made its SOF2MP.cfg yet has nothing to protect.
        if (target.config)
            written = static_cast<bool>(target.config->MakeReadOnly());
        else
            written = IsNotFound(target.configOpened);
    }
    if (!target.script) {
        if (!IsNotFound(target.scriptOpened)) return false;
        FileResult created;
        const std::string path = basBuildConfigs::DemoConfigPath(target.folder);
        target.script = files.Hold(path, HoldMode::CreateNew, created);
        if (!target.script || !IsInPlace(*target.script, false, basBuildConfigs::DemoConfigPath(target.finalPath)))
            return false;
    }
    return static_cast<bool>(target.script->Replace(bytes)) && written;
}

}  // namespace

CopyScriptCheck CheckCopyScriptRequest(FileSystem& files, const CopyScriptRequest& request) {
    Plan plan;
    return Planner(files, plan).Prepare(request);
}

FolderOutcome PlaceScriptInFolder(FileSystem& files, const std::string& gameFolder, const std::string& gameType,
                                  const std::function<FileResult(const std::string& target)>& place) {
    FolderOutcome outcome;
    outcome.gameType = gameType;
    outcome.folder = JoinFolder(gameFolder, gameType);
    if (files.FileExists(JoinFolder(outcome.folder, kGameExecutable))) {
        outcome.attribute = files.SetReadOnly(JoinFolder(outcome.folder, kGameConfigFileName));
        if (outcome.attribute.error == kErrorFileNotFound) outcome.attribute = {};
    }
    const std::string target = basBuildConfigs::DemoConfigPath(outcome.folder);
    outcome.copy = place(target);
    if (!outcome.copy) outcome.staleScript = files.FileExists(target);
    return outcome;
}

int RunCopyScriptHelper(FileSystem& files, std::string_view tail) {
    const std::optional<CopyScriptRequest> request = ParseCopyScriptParameters(tail);
    if (!request) return kHelperRefused;
    Plan plan;
    if (Planner(files, plan).Prepare(*request) != CopyScriptCheck::Accepted) return kHelperRefused;
    bool allPlaced = true;
    for (Target& target : plan.targets) allPlaced = WriteTarget(files, plan.bytes, target) && allPlaced;
    return allPlaced ? kHelperSucceeded : kHelperStepFailed;
}

}  // namespace reelwright
