#include "elevated/ScriptCopyHelper.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

#include "core/GameFolder.h"
#include "core/GameShell.h"
#include "core/Text.h"
#include "queue/ConsoleNames.h"
#include "script/ScriptReader.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

namespace {

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
    // The script's files, one per part: an existing one held to be replaced.
    std::vector<std::unique_ptr<HeldItem>> scripts;
    std::vector<FileResult> scriptsOpened;
};

struct Plan {
    std::vector<std::string> parts;  // the script's files as they were read and checked
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
    // Reads one file of the script once, from a held handle that follows no
    // link.
    bool ReadPart(const std::string& path) {
        std::string& bytes = plan_.parts.emplace_back();
        HeldFacts facts;
        return files_.ReadHeldFile(path, kCopyScriptSourceLimit, bytes, facts) && !facts.reparsePoint &&
               !facts.directory && bytes.size() <= kCopyScriptSourceLimit;
    }

    // The whole script the parts make together, when every part but the last
    // ends with the exec line of the next one: that line left out, the parts
    // joined. Whether the parts are exactly what this program writes for it is
    // checked afterwards, against the builder and the split.
    std::optional<std::string> JoinParts() const {
        std::string whole;
        for (std::size_t i = 0; i + 1 < plan_.parts.size(); ++i) {
            const std::string execLine = "exec " + basBuildConfigs::ScriptPartFileName(i + 2) + "\r\n";
            const std::string& part = plan_.parts[i];
            if (part.size() < execLine.size() || part.compare(part.size() - execLine.size(), execLine.size(), execLine) != 0)
                return std::nullopt;
            whole.append(part, 0, part.size() - execLine.size());
        }
        whole += plan_.parts.back();
        return whole;
    }

    // The parts are accepted only as the very files this program writes for
    // the script they make together: that script rebuilt by the builder byte
    // for byte, then split again the same way, part for part.
    bool IsOwnChain(std::string_view whole) {
        const std::vector<basBuildConfigs::ScriptPart> expected =
            basBuildConfigs::SplitDemoConfig(files_.TextFromAnsi(whole));
        if (expected.size() != plan_.parts.size()) return false;
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (files_.TextFromAnsi(plan_.parts[i]) != expected[i].text) return false;
        return true;
    }

    CopyScriptCheck ReadSource(const CopyScriptRequest& request) {
        if (!ReadPart(request.source)) return CopyScriptCheck::ForeignSource;
        for (const std::string& part : request.laterParts)
            if (!ReadPart(part)) return CopyScriptCheck::ForeignSource;
        const std::optional<std::string> whole = JoinParts();
        if (!whole || whole->size() > kCopyScriptSourceLimit) return CopyScriptCheck::ForeignSource;
        const auto contents = basBuildConfigs::ReadOwnScript(*whole);
        if (!contents || !IsOwnChain(*whole)) return CopyScriptCheck::ForeignSource;
        // Launch writes no script for names the game's console would split:
        // the queue that the script plays must pass the same rules.
        DemoQueue queue;
        for (const auto& entry : contents->entries)
            queue.Append({files_.TextFromAnsi(entry.name), files_.TextFromAnsi(entry.gameType), {}});
        if (queue.Count() != contents->entries.size() ||
            !FindConsoleNameProblems(queue, [](std::string_view) { return true; }).empty())
            return CopyScriptCheck::ForeignSource;
        // Nor for keys that the console would not bind as one key each: a key
        // name can end the bind line and run commands of its own.
        const basBuildConfigs::ScriptKeys& keys = contents->keys;
        if (!RefusedKeyNames({keys.next, keys.play, keys.pause, keys.stop, keys.fast, keys.slow, keys.thirdPerson,
                              keys.previous})
                 .empty())
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

        for (std::size_t part = 1; part <= plan_.parts.size(); ++part) {
            const std::string fileName = basBuildConfigs::ScriptPartFileName(part);
            FileResult& scriptOpened = target.scriptsOpened.emplace_back();
            auto& script = target.scripts.emplace_back(files_.Hold(
                basBuildConfigs::DemoConfigPath(target.folder, fileName), HoldMode::WriteExisting, scriptOpened));
            if (script && !IsInPlace(*script, false, basBuildConfigs::DemoConfigPath(target.finalPath, fileName)))
                return CopyScriptCheck::LinkInTheWay;
        }
        plan_.targets.push_back(std::move(target));
        return CopyScriptCheck::Accepted;
    }

    FileSystem& files_;
    Plan& plan_;
    std::string gameFinal_;
    std::vector<std::string> heldSteps_;
};

// Writes one target, everything on its way still held: true when every step
// worked. A part that cannot be written ends the target's writing: the chain
// is broken there.
bool WriteTarget(FileSystem& files, const std::vector<std::string>& parts, Target& target) {
    if (!target.reached) return false;
    bool written = true;
    if (target.protectConfig) {
        // A game that has not made its SOF2MP.cfg yet has nothing to protect.
        if (target.config)
            written = static_cast<bool>(target.config->MakeReadOnly());
        else
            written = IsNotFound(target.configOpened);
    }
    for (std::size_t part = 0; part < parts.size(); ++part) {
        const std::string fileName = basBuildConfigs::ScriptPartFileName(part + 1);
        std::unique_ptr<HeldItem>& script = target.scripts[part];
        if (!script) {
            if (!IsNotFound(target.scriptsOpened[part])) return false;
            FileResult created;
            script = files.Hold(basBuildConfigs::DemoConfigPath(target.folder, fileName), HoldMode::CreateNew, created);
            if (!script) return false;
            // A file made where it does not belong (its folder replaced since
            // it was checked), or left unwritten, does not stay behind.
            if (!IsInPlace(*script, false, basBuildConfigs::DemoConfigPath(target.finalPath, fileName)) ||
                !script->Replace(parts[part])) {
                script->Delete();
                return false;
            }
            continue;
        }
        if (!script->Replace(parts[part])) return false;
    }
    return written;
}

}  // namespace

CopyScriptCheck CheckCopyScriptRequest(FileSystem& files, const CopyScriptRequest& request) {
    Plan plan;
    return Planner(files, plan).Prepare(request);
}

int RunCopyScriptHelper(FileSystem& files, std::string_view tail) {
    const std::optional<CopyScriptRequest> request = ParseCopyScriptParameters(tail);
    if (!request) return kHelperRefused;
    Plan plan;
    if (Planner(files, plan).Prepare(*request) != CopyScriptCheck::Accepted) return kHelperRefused;
    bool allPlaced = true;
    for (Target& target : plan.targets) allPlaced = WriteTarget(files, plan.parts, target) && allPlaced;
    return allPlaced ? kHelperSucceeded : kHelperStepFailed;
}

}  // namespace reelwright
