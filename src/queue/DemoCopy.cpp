#include "queue/DemoCopy.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/GameFolder.h"
#include "demo/DemoReader.h"
#include "queue/DemoDrop.h"

namespace reelwright {

namespace {

// The most names tried for one copy before giving up.
constexpr int kMostNumberedNames = 9999;

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::string_view NameOf(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The copies already planned in this batch, by lower-case target path: their bytes.
using PlannedTargets = std::map<std::string, const std::string*>;

struct ChosenName {
    std::string path;
    bool reuse = false;
};

// The first name from `firstNumber` on that is free or holds the same bytes.
std::optional<ChosenName> ChooseName(FileSystem& files, const std::string& folder, std::string_view name,
                                     const std::string& bytes, const PlannedTargets& planned, int firstNumber) {
    for (int n = firstNumber; n <= kMostNumberedNames; ++n) {
        const std::string path = JoinFolder(folder, NumberedName(name, n));
        if (const auto taken = planned.find(LowerAscii(path)); taken != planned.end()) {
            if (*taken->second == bytes) return ChosenName{path, true};
            continue;
        }
        if (files.FileExists(path)) {
            std::string existing;
            if (files.ReadWholeFile(path, existing) && existing == bytes) return ChosenName{path, true};
            continue;
        }
        return ChosenName{path, false};
    }
    return std::nullopt;
}

void AppendFolders(std::string& text, const std::vector<DemoCopyPlan>& copies) {
    std::vector<std::string> folders;
    for (const DemoCopyPlan& copy : copies)
        if (std::find(folders.begin(), folders.end(), copy.folder) == folders.end()) folders.push_back(copy.folder);
    for (const std::string& folder : folders) text += "\r\n" + folder;
}

void AppendMissingMods(std::string& text, const std::vector<DemoCopyPlan>& copies) {
    std::vector<std::string> mods;
    for (const DemoCopyPlan& copy : copies)
        if (!copy.missingMod.empty() && std::find(mods.begin(), mods.end(), copy.missingMod) == mods.end())
            mods.push_back(copy.missingMod);
    for (const std::string& mod : mods) {
        text += copies.size() == 1 ? "\r\n\r\nIt was" : "\r\n\r\nA demo was";
        text += " recorded with the mod \"" + mod + "\", which is not in your game folder; it may not play.";
    }
}

}  // namespace

std::string NumberedName(std::string_view name, int n) {
    if (n == 1) return std::string(name);
    const auto dot = name.rfind('.');
    const std::string_view stem = dot == std::string_view::npos ? name : name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    return std::string(stem) + "_" + std::to_string(n) + std::string(extension);
}

ChosenGameType ChooseDemoGameType(FileSystem& files, std::string_view root, const DemoHead& head) {
    if (head.modFolder && files.ListFolder(JoinFolder(root, *head.modFolder))) return {*head.modFolder, {}};
    return {kGameItselfType, head.mod};
}

bool MayOfferCopy(const DemoPlace& place, std::string_view path) {
    return (place.refusal == DemoRefusal::OutsideGameFolder || place.refusal == DemoRefusal::NoDemosFolder) &&
           IsDemoFileName(NameOf(path));
}

DemoPlace DemoCopyPlan::Place() const { return DemoPlace{gameType, std::string(NameOf(target)), DemoRefusal::None}; }

DemoCopyBatch PlanDemoCopies(FileSystem& files, std::string_view gameFolder, const std::vector<std::string>& sources) {
    const std::string_view root = GameFolderForJoining(gameFolder);
    DemoCopyBatch batch;
    batch.copies.reserve(sources.size());  // `planned` points into the copies' bytes
    PlannedTargets planned;
    for (const std::string& source : sources) {
        DemoCopyPlan copy;
        copy.source = source;
        if (const FileResult read = files.ReadWholeFile(source, copy.bytes); !read) {
            batch.unreadable.push_back({source, files.ErrorText(read.error), read.error});
            continue;
        }
        const DemoHead head = ReadDemoHead(copy.bytes, NameOf(source));
        ChosenGameType chosen = ChooseDemoGameType(files, root, head);
        copy.gameType = std::move(chosen.gameType);
        copy.missingMod = std::move(chosen.missingMod);
        copy.folder = JoinFolder(JoinFolder(root, copy.gameType), "demos");
        const auto name = ChooseName(files, copy.folder, NameOf(source), copy.bytes, planned, 1);
        if (!name) {
            batch.unreadable.push_back({source, "no free name for its copy in " + copy.folder, kErrorFileExists});
            continue;
        }
        copy.target = name->path;
        copy.reuse = name->reuse;
        batch.copies.push_back(std::move(copy));
        if (!batch.copies.back().reuse) planned[LowerAscii(batch.copies.back().target)] = &batch.copies.back().bytes;
    }
    return batch;
}

std::string CopyQuestion(const std::vector<DemoCopyPlan>& copies, CopyGoal goal) {
    const char* const play = goal == CopyGoal::Play ? "play" : "queue";
    std::string text;
    if (copies.size() == 1) {
        text = copies.front().source +
               " is not in a demos folder of your game, so the game cannot play it. Copy it to " +
               copies.front().target + " and " + play + " it?";
    } else {
        text = std::to_string(copies.size()) +
               " demo files are not in a demos folder of your game, so the game cannot play them. Copy them to "
               "these folders and " + play + " them?\r\n";
        AppendFolders(text, copies);
    }
    AppendMissingMods(text, copies);
    return text;
}

std::string UnreadableDemosMessage(const std::vector<UnreadableDemo>& unreadable) {
    std::string text = unreadable.size() == 1 ? "This demo file could not be read, so it was not copied:"
                                              : "These demo files could not be read, so they were not copied:";
    text += "\r\n";
    for (const UnreadableDemo& file : unreadable) text += "\r\n" + file.path + ": " + file.reason;
    return text;
}

std::optional<CopyFailure> CopyPlannedDemos(FileSystem& files, std::string_view gameFolder,
                                            std::vector<DemoCopyPlan>& copies) {
    const std::string_view root = GameFolderForJoining(gameFolder);
    std::vector<std::string> madeFolders;
    std::vector<std::string> madeFiles;
    const auto undo = [&](std::string path, std::uint32_t error) {
        for (auto file = madeFiles.rbegin(); file != madeFiles.rend(); ++file) files.RemoveFile(*file);
        for (auto folder = madeFolders.rbegin(); folder != madeFolders.rend(); ++folder) files.RemoveFolder(*folder);
        return CopyFailure{std::move(path), files.ErrorText(error)};
    };
    const PlannedTargets none;

    for (DemoCopyPlan& copy : copies) {
        if (copy.reuse) continue;
        // The folders from the game folder down to "demos", made where missing.
        std::string folder(root);
        std::string_view steps = copy.gameType;
        for (;;) {
            const auto slash = steps.find('\\');
            folder = JoinFolder(folder, steps.substr(0, slash));
            if (const FileResult made = files.CreateFolder(folder)) {
                madeFolders.push_back(folder);
            } else if (made.error != kErrorAlreadyExists && made.error != kErrorFileExists) {
                return undo(folder, made.error);
            }
            if (slash == std::string_view::npos) break;
            steps.remove_prefix(slash + 1);
        }
        if (const FileResult made = files.CreateFolder(copy.folder)) {
            madeFolders.push_back(copy.folder);
        } else if (made.error != kErrorAlreadyExists && made.error != kErrorFileExists) {
            return undo(copy.folder, made.error);
        }

        FileResult written = files.WriteNewFile(copy.target, copy.bytes);
        if (written.error == kErrorFileExists || written.error == kErrorAlreadyExists) {
            // Another file took the name since the plan: the next free one.
            const auto name = ChooseName(files, copy.folder, NameOf(copy.source), copy.bytes, none, 1);
            if (!name) return undo(copy.target, written.error);
            copy.target = name->path;
            copy.reuse = name->reuse;
            written = copy.reuse ? FileResult{} : files.WriteNewFile(copy.target, copy.bytes);
            if (copy.reuse) continue;
        }
        if (!written) return undo(copy.target, written.error);
        madeFiles.push_back(copy.target);
    }
    return std::nullopt;
}

std::string CopyFailedMessage(const CopyFailure& failure) {
    return "The demo could not be copied into your game folder, so nothing was copied.\r\n\r\n" + failure.path +
           ":\r\n" + failure.reason +
           "\r\n\r\nCopy the demo into a demos folder of your game folder yourself, or make the game folder "
           "writable for your account.";
}

}  // namespace reelwright
