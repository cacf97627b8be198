#include "queue/DemoPack.h"

#include <algorithm>
#include <map>

#include "core/GameFolder.h"
#include "demo/DemoReader.h"
#include "pack/ZipEntryName.h"
#include "pack/ZipInflate.h"
#include "queue/DemoCopy.h"
#include "queue/DemoDrop.h"
#include "queue/NaturalOrder.h"

namespace reelwright {

namespace {

// The most numbered names tried for a folder or a file.
constexpr int kMostNumbers = 9999;

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view NameOf(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsSafeNameCharacter(char c) {
    if (c <= ' ' || c >= 0x7F) return false;  // blanks, control characters, outside ASCII (as signed chars)
    switch (c) {
        case ';': case '+': case '/': case '\\': case '"': case '<': case '>': case ':': case '|': case '?':
        case '*': return false;
        default: return true;
    }
}

// The pack's folder in one mod: its name, or "_2", "_3", ... when a folder
// of that name holds anything, or another item has the name.
PackFolder ChoosePackFolder(FileSystem& files, std::string_view root, const std::string& gameType,
                            const std::string& folderName) {
    const std::string demos = JoinFolder(JoinFolder(root, gameType), "demos");
    PackFolder folder{gameType, {}, false};
    for (int n = 1; n <= kMostNumbers; ++n) {
        const std::string path = JoinFolder(demos, n == 1 ? folderName : folderName + "_" + std::to_string(n));
        if (files.FileExists(path)) continue;
        if (const auto contents = files.ListFolder(path)) {
            if (!contents->isLink && contents->files.empty() && contents->folders.empty()) {
                folder.path = path;
                folder.takesEmptyFolder = true;
                return folder;
            }
            continue;
        }
        folder.path = path;
        return folder;
    }
    folder.path = JoinFolder(demos, folderName + "_" + std::to_string(kMostNumbers + 1));
    return folder;
}

void AppendSkipped(std::string& text, const std::vector<SkippedEntry>& skipped) {
    if (skipped.empty()) return;
    text += skipped.size() == 1 ? "\r\n\r\nThis file of the pack is left out:"
                                : "\r\n\r\nThese files of the pack are left out:";
    // As many as a box can show; the count of the rest.
    constexpr std::size_t kMostListed = 20;
    for (std::size_t i = 0; i < skipped.size() && i < kMostListed; ++i)
        text += "\r\n" + skipped[i].name + ": " + skipped[i].reason;
    if (skipped.size() > kMostListed) text += "\r\n... and " + std::to_string(skipped.size() - kMostListed) + " more.";
}

}  // namespace

bool IsPackFileName(std::string_view name) {
    return name.size() > 4 && LowerAscii(name.substr(name.size() - 4)) == ".zip";
}

std::string SafePackName(std::string_view name) {
    std::string safe;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if ((byte & 0xC0) == 0x80) continue;  // a UTF-8 character's later bytes: one "_" for it
        safe += IsSafeNameCharacter(name[i]) ? name[i] : '_';
    }
    // Windows drops dots at the end of a name.
    while (!safe.empty() && safe.back() == '.') safe.back() = '_';
    return safe.empty() ? std::string("pack") : safe;
}

DemoPlace PackPlan::Place(const PackDemo& demo) const {
    const PackFolder& where = folders.at(demo.folder);
    return DemoPlace{where.gameType, std::string(NameOf(where.path)) + "\\" + demo.fileName, DemoRefusal::None};
}

std::string PackPlan::Target(const PackDemo& demo) const {
    return JoinFolder(folders.at(demo.folder).path, demo.fileName);
}

PackPlan PlanPack(FileSystem& files, std::string_view gameFolder, const std::string& packPath) {
    PackPlan plan;
    plan.packPath = packPath;
    plan.packName = std::string(NameOf(packPath));
    const std::size_t extension = IsPackFileName(plan.packName) ? 4 : 0;
    plan.folderName = SafePackName(plan.packName.substr(0, plan.packName.size() - extension));
    FileResult opened;
    plan.file = files.OpenToRead(packPath, opened);
    if (!plan.file) {
        plan.problem = kPackUnreadable;
        plan.problemDetail = files.ErrorText(opened.error);
        plan.readError = opened.error;
        return plan;
    }
    ZipDirectoryResult directory = ReadZipDirectory(*plan.file);
    if (!directory.Read()) {
        plan.problem = directory.problem;
        plan.readError = directory.readError;
        if (directory.readError != 0) plan.problemDetail = files.ErrorText(directory.readError);
        return plan;
    }
    plan.directory = std::move(directory.directory);

    struct Candidate {
        ZipEntry entry;
        std::string name;
        std::string fileName;
    };
    std::vector<Candidate> candidates;
    std::uint64_t claimed = 0;
    for (const ZipEntry& entry : plan.directory.entries) {
        EntryName name = JudgeZipEntryName(entry.rawName, entry.NameIsUtf8());
        if (name.isFolder && name.refusal.empty()) continue;
        // Only demo files are unpacked; a refused name is named when it
        // would have been one, or when it cannot be told.
        const bool demo = IsDemoFileName(name.path);
        if (!demo && !(name.refusal == kEntryNameEmpty || name.refusal == kEntryNameNotUtf8)) continue;
        std::string reason = name.refusal;
        if (reason.empty() && entry.IsEncrypted()) reason = kPackEntryEncrypted;
        if (reason.empty() && entry.method != kZipStored && entry.method != kZipDeflated) reason = kPackEntryMethod;
        if (reason.empty() && entry.size > kMostPackDemoBytes) reason = kPackEntryTooLarge;
        if (!reason.empty()) {
            plan.skipped.push_back({name.path, std::move(reason)});
            continue;
        }
        claimed += entry.size;
        candidates.push_back({entry, std::move(name.path), std::move(name.fileName)});
    }
    if (claimed > kMostPackBytes) {
        plan.problem = kPackTooLarge;
        return plan;
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return NaturalLess(a.name, b.name); });

    const std::string_view root = GameFolderForJoining(gameFolder);
    std::map<std::string, std::size_t> folderOfGameType;
    std::map<std::string, int> takenNames;  // lower-case target path -> taken
    for (Candidate& candidate : candidates) {
        const ZipDataPlace data = LocateZipEntryData(*plan.file, plan.directory, candidate.entry);
        std::string start;
        if (!data.problem.empty() ||
            !InflateZipEntryStart(*plan.file, candidate.entry, data.offset, kPackDemoHeadBytes, start)) {
            plan.problem = kZipTruncated;
            const std::string reason =
                data.readError != 0 ? files.ErrorText(data.readError) : std::string(kPackEntryDamaged);
            plan.problemDetail = candidate.name + ": " + reason;
            plan.readError = data.readError;
            return plan;
        }
        const DemoHead head = ReadDemoHead(start, candidate.fileName);
        ChosenGameType chosen = ChooseDemoGameType(files, root, head);
        auto [known, added] = folderOfGameType.emplace(chosen.gameType, plan.folders.size());
        if (added) plan.folders.push_back(ChoosePackFolder(files, root, chosen.gameType, plan.folderName));

        // The demo's own name, made safe, keeping its ".dm_2004".
        const std::string_view extension = std::string_view(candidate.fileName).substr(candidate.fileName.size() - 8);
        const std::string base =
            SafePackName(std::string_view(candidate.fileName).substr(0, candidate.fileName.size() - 8)) +
            std::string(extension);
        PackDemo demo{std::move(candidate.entry), std::move(candidate.name), known->second, {}, chosen.missingMod};
        const std::string& folder = plan.folders[demo.folder].path;
        for (int n = 1; n <= kMostNumbers; ++n) {
            demo.fileName = NumberedName(base, n);
            if (takenNames.emplace(LowerAscii(JoinFolder(folder, demo.fileName)), 1).second) break;
        }
        plan.demos.push_back(std::move(demo));
    }
    return plan;
}

std::string PackQuestion(const PackPlan& plan, CopyGoal goal) {
    std::string text;
    if (goal == CopyGoal::Play && plan.demos.size() == 1) {
        text = "Copy the demo of " + plan.packName + " into your game and play it?\r\n";
    } else {
        text = "Copy the " + std::to_string(plan.demos.size()) + (plan.demos.size() == 1 ? " demo of " : " demos of ") +
               plan.packName + " into your game and queue " + (plan.demos.size() == 1 ? "it" : "them") + "?\r\n";
    }
    for (const PackFolder& folder : plan.folders) text += "\r\n" + folder.path;
    std::vector<std::string> mods;
    for (const PackDemo& demo : plan.demos)
        if (!demo.missingMod.empty() && std::find(mods.begin(), mods.end(), demo.missingMod) == mods.end())
            mods.push_back(demo.missingMod);
    for (const std::string& mod : mods)
        text += "\r\n\r\nA demo was recorded with the mod \"" + mod +
                "\", which is not in your game folder; it goes to base\\mp and may not play.";
    AppendSkipped(text, plan.skipped);
    return text;
}

std::string PackProblemMessage(const std::string& packName, const std::string& problem, const std::string& detail) {
    std::string text = packName + " could not be unpacked, because " + problem + ".";
    if (!detail.empty()) text += "\r\n\r\n" + detail;
    return text + "\r\n\r\nNothing of it was copied or queued.";
}

std::string PackWithoutDemosMessage(const PackPlan& plan) {
    std::string text = plan.packName + " holds no demo files (*.dm_2004) that can be copied.";
    AppendSkipped(text, plan.skipped);
    return text;
}

}  // namespace reelwright
