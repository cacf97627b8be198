#include "queue/PackUnpack.h"

#include <algorithm>
#include <new>
#include <vector>

#include "core/GameFolder.h"
#include "pack/ZipInflate.h"

namespace reelwright {

namespace {

inline constexpr const char* kWriteProblem = "a file or folder could not be made in your game folder";

// What the unpack made, undone in reverse order.
class MadeItems {
public:
    explicit MadeItems(FileSystem& files) : files_(files) {}

    void File(std::string path) { made_.push_back({std::move(path), false}); }
    void Folder(std::string path) { made_.push_back({std::move(path), true}); }
    // A made item that was renamed.
    void Renamed(const std::string& from, const std::string& to) {
        for (Item& item : made_)
            if (item.path == from || (item.path.size() > from.size() && item.path.starts_with(from) &&
                                      item.path[from.size()] == '\\'))
                item.path = to + item.path.substr(from.size());
    }
    void Undo() {
        for (auto item = made_.rbegin(); item != made_.rend(); ++item)
            item->folder ? files_.RemoveFolder(item->path) : files_.RemoveFile(item->path);
        made_.clear();
    }

private:
    struct Item {
        std::string path;
        bool folder;
    };
    FileSystem& files_;
    std::vector<Item> made_;
};

bool Exists(FileResult made) {
    return made.error == kErrorAlreadyExists || made.error == kErrorFileExists;
}

}  // namespace

namespace {

PackUnpackResult UnpackInto(FileSystem& files, std::string_view gameFolder, PackPlan& plan,
                            const PackProgress& progress, MadeItems& made) {
    const std::string_view root = GameFolderForJoining(gameFolder);
    const auto fail = [&](std::string problem, std::string detail) {
        made.Undo();
        return PackUnpackResult{UnpackOutcome::Failed, std::move(problem), std::move(detail)};
    };
    const auto cannotMake = [&](const std::string& path, FileResult error) {
        return fail(kWriteProblem, path + ":\r\n" + files.ErrorText(error.error));
    };

    // The folders down to each pack folder's ".partial" beside it.
    std::vector<std::string> partials;
    for (const PackFolder& folder : plan.folders) {
        std::string path(root);
        const std::string steps = folder.gameType + "\\demos\\";
        for (std::size_t start = 0, slash; (slash = steps.find('\\', start)) != std::string::npos; start = slash + 1) {
            path = JoinFolder(path, std::string_view(steps).substr(start, slash - start));
            if (const FileResult result = files.CreateFolder(path)) made.Folder(path);
            else if (!Exists(result)) return cannotMake(path, result);
        }
        std::string partial;
        for (int n = 1;; ++n) {
            partial = folder.path + kPartialSuffix + (n == 1 ? std::string() : std::to_string(n));
            const FileResult result = files.CreateFolder(partial);
            if (result) break;
            if (!Exists(result) || n == 99) return cannotMake(partial, result);
        }
        made.Folder(partial);
        files.SetAttributes(partial, kAttributeHidden);  // best effort: it is only hidden from view
        partials.push_back(std::move(partial));
    }

    std::uint64_t claimed = 0;
    for (const PackDemo& demo : plan.demos) claimed += demo.entry.size;
    std::uint64_t unpacked = 0;
    std::string bytes;
    for (const PackDemo& demo : plan.demos) {
        if (progress && !progress(unpacked, claimed)) {
            made.Undo();
            return {UnpackOutcome::Cancelled, {}, {}};
        }
        const ZipDataPlace data = LocateZipEntryData(*plan.file, plan.directory, demo.entry);
        if (!data.problem.empty()) return fail(kZipTruncated, demo.entryName + ": " + kPackEntryDamaged);
        const std::uint64_t packRoom = kMostPackBytes - unpacked;
        const std::uint64_t limit = std::min(kMostPackDemoBytes, packRoom);
        const InflateResult inflated = InflateZipEntry(
            *plan.file, demo.entry, data.offset, limit, bytes,
            [&](std::uint64_t done) {
                return !progress || progress(unpacked + std::min(done, demo.entry.size), claimed);
            });
        switch (inflated.outcome) {
            case InflateOutcome::Done: break;
            case InflateOutcome::Stopped: made.Undo(); return {UnpackOutcome::Cancelled, {}, {}};
            case InflateOutcome::TooLarge:
                return limit == packRoom && packRoom < kMostPackDemoBytes
                           ? fail(kPackTooLarge, demo.entryName)
                           : fail(kZipTruncated, demo.entryName + ": " + kPackEntryTooLarge);
            case InflateOutcome::ReadFailed:
                return fail(kPackUnreadable, demo.entryName + ": " + files.ErrorText(inflated.readError));
            case InflateOutcome::Unsupported: return fail(kZipTruncated, demo.entryName + ": " + kPackEntryMethod);
            case InflateOutcome::Damaged: return fail(kZipTruncated, demo.entryName + ": " + kPackEntryDamaged);
        }
        unpacked += bytes.size();
        const std::string path = JoinFolder(partials[demo.folder], demo.fileName);
        if (const FileResult written = files.WriteNewFile(path, bytes); !written) {
            if (!Exists(written)) made.File(path);  // a failed write may leave the file behind
            return cannotMake(path, written);
        }
        made.File(path);
    }
    if (progress && !progress(claimed, claimed)) {
        made.Undo();
        return {UnpackOutcome::Cancelled, {}, {}};
    }

    // All sound: each ".partial" takes its pack folder's place.
    for (std::size_t i = 0; i < plan.folders.size(); ++i) {
        const PackFolder& folder = plan.folders[i];
        if (folder.takesEmptyFolder) files.RemoveFolder(folder.path);  // it is made again by the rename
        if (const FileResult moved = files.MoveItem(partials[i], folder.path); !moved)
            return cannotMake(folder.path, moved);
        made.Renamed(partials[i], folder.path);
        files.SetAttributes(folder.path, 0);
    }
    return {};
}

}  // namespace

PackUnpackResult UnpackPack(FileSystem& files, std::string_view gameFolder, PackPlan& plan,
                            const PackProgress& progress) {
    MadeItems made(files);
    try {
        return UnpackInto(files, gameFolder, plan, progress, made);
    } catch (const std::bad_alloc&) {
        // A demo of up to 64 MiB is held whole before it is written.
        made.Undo();
        return {UnpackOutcome::Failed, kPackNoMemory, {}};
    }
}

}  // namespace reelwright
