#include "support/FakeSessionPlatform.h"

#include "core/GameFolder.h"
#include "core/Text.h"

namespace reelwright::test {

FileResult FakeSessionPlatform::ReadWholeFile(const std::string& path, std::string& bytes) {
    if (failing.count(path)) return FileResult{failing.at(path)};
    if (busyReads[path] > 0) {
        --busyReads[path];
        return FileResult{kErrorSharingViolation};
    }
    const auto found = files.find(path);
    if (found == files.end()) return FileResult{kErrorFileNotFound};
    bytes = found->second.bytes;
    return {};
}

FileResult FakeSessionPlatform::ReplaceFile(const std::string& path, const std::string& bytes) {
    if (onReplace) onReplace(path);
    if (failing.count(path)) return FileResult{failing.at(path)};
    if (auto held = heldOpen.find(path); held != heldOpen.end() && held->second > 0) {
        --held->second;
        return FileResult{kErrorAccessDenied};
    }
    const auto found = files.find(path);
    if (found != files.end() && (found->second.attributes & kAttributeReadOnly)) return FileResult{kErrorAccessDenied};
    // The renamed new file has a new file's attributes.
    files[path] = {bytes, 0x20};
    writes.push_back(path);
    return {};
}

std::optional<std::uint32_t> FakeSessionPlatform::Attributes(const std::string& path) {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second.attributes;
}

FileResult FakeSessionPlatform::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (failing.count(path)) return FileResult{failing.at(path)};
    const auto found = files.find(path);
    if (found == files.end()) return FileResult{kErrorFileNotFound};
    found->second.attributes = attributes;
    return {};
}

FileResult FakeSessionPlatform::RemoveFile(const std::string& path) {
    return files.erase(path) ? FileResult{} : FileResult{kErrorFileNotFound};
}

std::optional<FolderContents> FakeSessionPlatform::ListFolder(const std::string& folder) {
    FolderContents contents;
    for (const auto& [path, file] : files) {
        const std::size_t separator = path.find_last_of('\\');
        if (separator != std::string::npos && EqualIgnoringAsciiCase(path.substr(0, separator), folder))
            contents.files.push_back(path.substr(separator + 1));
    }
    return contents;
}

void FakeSessionPlatform::Pause(std::chrono::milliseconds duration) {
    ++pauses;
    pausedFor += duration;
}

std::uint32_t FakeSessionPlatform::StartGame(const std::string&, const std::string& parameters, const std::string&,
                                             int, std::optional<SessionProcess>& game) {
    starts.push_back(parameters);
    if (startError) return startError;
    lastGame = {nextId_++, 5000 + nextId_};
    running[lastGame.id] = lastGame.creationTime;
    if (startGivesProcess) game = lastGame;
    return 0;
}

}  // namespace reelwright::test
