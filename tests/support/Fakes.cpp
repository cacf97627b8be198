#include "support/Fakes.h"

#include <stdexcept>

#include "core/AppInfo.h"

namespace reelwright::test {

std::string FakeSettingsStore::GetSetting(const std::string& section, const std::string& key,
                                          const std::string& defaultValue) {
    if (journal_) journal_->Add("get " + section + "/" + key);
    if (failingKeys.count(section + "/" + key)) throw std::runtime_error("store read failed");
    const auto found = values_.find({section, key});
    return found == values_.end() ? defaultValue : found->second;
}

void FakeSettingsStore::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
    if (journal_) journal_->Add("save " + section + "/" + key + "=" + value);
    if (failingKeys.count(section + "/" + key)) throw std::runtime_error("store write failed");
    values_[{section, key}] = value;
}

void FakeSettingsStore::Put(const std::string& section, const std::string& key, const std::string& value) {
    values_[{section, key}] = value;
}

std::optional<std::string> FakeSettingsStore::Stored(const std::string& section, const std::string& key) const {
    const auto found = values_.find({section, key});
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

bool FakeFileSystem::FileExists(const std::string& path) {
    if (journal_) journal_->Add("exists " + path);
    return files.count(path) != 0;
}

FileResult FakeFileSystem::FailureOf(const std::string& path) const {
    const auto code = failureCodes.find(path);
    return FileResult{code == failureCodes.end() ? kErrorAccessDenied : code->second};
}

FileResult FakeFileSystem::SetReadOnly(const std::string& path) {
    if (journal_) journal_->Add("readonly " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    if (!files.count(path)) return FileResult{kErrorFileNotFound};
    readOnly.insert(path);
    attributes[path] = 0;
    return {};
}

FileResult FakeFileSystem::CopyFileOver(const std::string& from, const std::string& to) {
    if (journal_) journal_->Add("copy " + from + " -> " + to);
    if (failingPaths.count(from)) return FailureOf(from);
    if (failingPaths.count(to)) return FailureOf(to);
    if (!files.count(from)) return FileResult{kErrorFileNotFound};
    files[to] = files[from];
    return {};
}

FileResult FakeFileSystem::WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) {
    if (journal_) journal_->Add("write " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    files[path] = utf8Text;
    return {};
}

FileResult FakeFileSystem::ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
    if (journal_) journal_->Add("read " + path);
    bytes.clear();
    if (failingPaths.count(path)) return FailureOf(path);
    if (auto busy = busyReads.find(path); busy != busyReads.end() && busy->second > 0) {
        --busy->second;
        return FileResult{kErrorSharingViolation};
    }
    const auto found = files.find(path);
    if (found == files.end()) return FileResult{kErrorFileNotFound};
    bytes = found->second.substr(0, count);
    return {};
}

FileResult FakeFileSystem::ReadWholeFile(const std::string& path, std::string& bytes) {
    if (journal_) journal_->Add("read " + path);
    bytes.clear();
    if (failingPaths.count(path)) return FailureOf(path);
    if (auto busy = busyReads.find(path); busy != busyReads.end() && busy->second > 0) {
        --busy->second;
        return FileResult{kErrorSharingViolation};
    }
    const auto found = files.find(path);
    if (found == files.end()) return FileResult{kErrorFileNotFound};
    bytes = found->second;
    return {};
}

FileResult FakeFileSystem::ReplaceFile(const std::string& path, const std::string& bytes) {
    if (journal_) journal_->Add("replace " + path);
    if (onReplace) onReplace(path);
    if (failingPaths.count(path)) return FailureOf(path);
    if (auto held = heldOpen.find(path); held != heldOpen.end() && held->second > 0) {
        --held->second;
        return FileResult{kErrorAccessDenied};
    }
    if (files.count(path) && readOnly.count(path)) return FileResult{kErrorAccessDenied};
    // The renamed new file has a new file's attributes.
    files[path] = bytes;
    attributes.erase(path);
    replaced.push_back(path);
    return {};
}

std::optional<std::uint32_t> FakeFileSystem::Attributes(const std::string& path) {
    if (!files.count(path)) return std::nullopt;
    const auto found = attributes.find(path);
    const std::uint32_t others = found == attributes.end() ? 0x20 : found->second;
    return readOnly.count(path) ? others | kAttributeReadOnly : others;
}

FileResult FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t value) {
    if (journal_) journal_->Add("attributes " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    if (!files.count(path) && IsFolder(path)) {
        folderAttributes[path] = value;
        return {};
    }
    if (!files.count(path)) return FileResult{kErrorFileNotFound};
    attributes[path] = value & ~kAttributeReadOnly;
    if (value & kAttributeReadOnly)
        readOnly.insert(path);
    else
        readOnly.erase(path);
    return {};
}

void FakeFileSystem::Put(const std::string& path, const std::string& bytes, std::uint32_t value) {
    files[path] = bytes;
    attributes[path] = value & ~kAttributeReadOnly;
    if (value & kAttributeReadOnly)
        readOnly.insert(path);
    else
        readOnly.erase(path);
}

void FakeFileSystem::Fail(const std::string& path, std::uint32_t error) {
    failingPaths.insert(path);
    failureCodes[path] = error;
}

FileResult FakeFileSystem::RemoveFile(const std::string& path) {
    if (journal_) journal_->Add("remove " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    return files.erase(path) ? FileResult{} : FileResult{kErrorFileNotFound};
}

FileResult FakeFileSystem::RenameFile(const std::string& from, const std::string& to) {
    if (journal_) journal_->Add("rename " + from + " -> " + to);
    if (failingPaths.count(from)) return FailureOf(from);
    const auto file = files.find(from);
    if (file == files.end()) return FileResult{kErrorFileNotFound};
    if (from != to && (files.count(to) || IsFolder(to))) return FileResult{kErrorFileExists};
    std::string bytes = std::move(file->second);
    files.erase(file);
    files[to] = std::move(bytes);
    if (const auto time = writeTimes.find(from); time != writeTimes.end()) {
        const std::uint64_t written = time->second;
        writeTimes.erase(time);
        writeTimes[to] = written;
    }
    return {};
}

std::string FakeFileSystem::MakeTemporaryFile() {
    if (temporaryFileFails) return {};
    const std::string path = "C:\\Temp\\rw" + std::to_string(++temporaryCount_) + ".tmp";
    if (journal_) journal_->Add("temp " + path);
    files[path] = "";
    return path;
}

std::string FakeFileSystem::ErrorText(std::uint32_t error) {
    if (error == kErrorAccessDenied) return "Access is denied";
    if (error == kErrorFileNotFound) return "The system cannot find the file specified";
    return "error " + std::to_string(error);
}

std::optional<FolderContents> FakeFileSystem::ListFolder(const std::string& folder) {
    if (journal_) journal_->Add("list " + folder);
    if (!IsFolder(folder)) return std::nullopt;
    FolderContents contents;
    if (links.count(folder)) {
        contents.isLink = true;
        return contents;
    }
    if (failingPaths.count(folder)) return contents;
    const std::string prefix = !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
    // The names right below the folder: nothing deeper, and not the folder itself.
    auto direct = [&](const std::string& path) -> std::optional<std::string> {
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
        std::string name = path.substr(prefix.size());
        if (name.find('\\') != std::string::npos) return std::nullopt;
        return name;
    };
    for (auto file = files.lower_bound(prefix); file != files.end() && file->first.compare(0, prefix.size(), prefix) == 0;
         ++file)
        if (auto name = direct(file->first)) {
            contents.files.push_back(*name);
            const auto time = writeTimes.find(file->first);
            contents.stamps.push_back({file->second.size(), time == writeTimes.end() ? 0 : time->second});
        }
    for (auto sub = folders.lower_bound(prefix); sub != folders.end() && sub->compare(0, prefix.size(), prefix) == 0;
         ++sub)
        if (auto name = direct(*sub); name && !reparsePoints.count(*sub) && !links.count(*sub))
            contents.folders.push_back(*name);
    return contents;
}

bool FakeFileSystem::IsReadOnly(const std::string& path) { return files.count(path) && readOnly.count(path); }

bool FakeFileSystem::IsFolder(const std::string& path) const {
    if (folders.count(path)) return true;
    const std::string prefix = !path.empty() && path.back() == '\\' ? path : path + "\\";
    const auto below = [&](const auto& container) {
        const auto next = container.lower_bound(prefix);
        return next != container.end() && next->first.compare(0, prefix.size(), prefix) == 0;
    };
    const auto folderBelow = folders.lower_bound(prefix);
    return below(files) || (folderBelow != folders.end() && folderBelow->compare(0, prefix.size(), prefix) == 0);
}

namespace {

class FakeHeldItem : public HeldItem {
public:
    FakeHeldItem(FakeFileSystem& files, Journal* journal, std::string path, HeldFacts facts)
        : HeldItem(std::move(facts)), files_(files), journal_(journal), path_(std::move(path)) {}
    ~FakeHeldItem() override {
        if (journal_) journal_->Add("release " + path_);
    }
    FileResult Replace(std::string_view bytes) override {
        if (journal_) journal_->Add("write " + path_);
        files_.files[path_] = std::string(bytes);
        return {};
    }
    FileResult MakeReadOnly() override {
        if (journal_) journal_->Add("readonly " + path_);
        files_.readOnly.insert(path_);
        return {};
    }
    FileResult Read(std::size_t limit, std::string& bytes) override {
        if (journal_) journal_->Add("read held " + path_);
        bytes = files_.files[path_].substr(0, limit + 1);
        return {};
    }
    FileResult Delete() override {
        if (journal_) journal_->Add("delete " + path_);
        files_.files.erase(path_);
        return {};
    }

private:
    FakeFileSystem& files_;
    Journal* journal_;
    std::string path_;
};

}  // namespace

std::unique_ptr<HeldItem> FakeFileSystem::Hold(const std::string& path, HoldMode mode, FileResult& error) {
    if (journal_) journal_->Add("hold " + path);
    holdModes[path] = mode;
    error = {};
    if (failingPaths.count(path)) {
        error = FailureOf(path);
        return nullptr;
    }
    const bool exists = files.count(path) || IsFolder(path) || reparsePoints.count(path);
    if (mode == HoldMode::CreateNew) {
        if (exists) {
            error = FileResult{kErrorFileExists};
            return nullptr;
        }
        files[path] = "";
    } else if (!exists) {
        error = FileResult{kErrorFileNotFound};
        return nullptr;
    }
    HeldFacts facts;
    facts.directory = !files.count(path) && IsFolder(path);
    facts.reparsePoint = reparsePoints.count(path) != 0;
    facts.links = linkCounts.count(path) ? linkCounts.at(path) : 1;
    facts.finalPath = finalPaths.count(path) ? finalPaths.at(path) : path;
    return std::make_unique<FakeHeldItem>(*this, journal_, path, std::move(facts));
}

FileResult FakeFileSystem::ReadHeldFile(const std::string& path, std::size_t limit, std::string& bytes,
                                        HeldFacts& facts) {
    if (journal_) journal_->Add("read " + path);
    bytes.clear();
    FileResult error;
    const auto held = Hold(path, HoldMode::Inspect, error);
    if (!held) return error;
    facts = held->Facts();
    if (!facts.reparsePoint && !facts.directory) bytes = files[path].substr(0, limit + 1);
    return {};
}

std::string FakeFileSystem::TextFromAnsi(std::string_view bytes) { return std::string(bytes); }

bool FakeFileSystem::IsLocalFixedDrive(const std::string& path) { return !otherDrives.count(path.substr(0, 2)); }

std::string FakeFileSystem::TemporaryFolder() { return "C:\\Temp"; }

FileResult FakeFileSystem::CreateFolder(const std::string& path) {
    if (journal_) journal_->Add("mkdir " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    if (files.count(path) || IsFolder(path)) return FileResult{kErrorAlreadyExists};
    folders.insert(path);
    return {};
}

FileResult FakeFileSystem::RemoveFolder(const std::string& path) {
    if (journal_) journal_->Add("rmdir " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    if (!IsFolder(path)) return FileResult{kErrorFileNotFound};
    folders.erase(path);
    if (IsFolder(path)) {
        folders.insert(path);
        return FileResult{145};  // the folder is not empty
    }
    return {};
}

FileResult FakeFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
    if (journal_) journal_->Add("write " + path);
    if (failingPaths.count(path)) return FailureOf(path);
    if (files.count(path) || IsFolder(path)) return FileResult{kErrorFileExists};
    files[path] = std::string(bytes);
    return {};
}

void FakePrompts::RunWithProgress(const std::string& title, const std::string& text, const ProgressWork& work) {
    if (journal_) journal_->Add("progress " + title);
    progressTexts.push_back(text);
    struct Reporter : ProgressReport {
        FakePrompts& prompts;
        explicit Reporter(FakePrompts& owner) : prompts(owner) {}
        void Report(std::uint64_t, std::uint64_t) override { ++prompts.progressReports; }
        bool CancelRequested() override {
            return prompts.cancelAfterReports >= 0 && prompts.progressReports >= prompts.cancelAfterReports;
        }
    } report(*this);
    progressReports = 0;
    work(report);
}

namespace {

// Reads the file in place: the real one is held so that no one can write it.
class FakeReadableFile : public ReadableFile {
public:
    explicit FakeReadableFile(const std::string& bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    FileResult ReadAt(std::uint64_t offset, std::size_t count, std::string& bytes) override {
        bytes.clear();
        if (offset > bytes_.size() || count > bytes_.size() - offset) return FileResult{kErrorHandleEof};
        bytes.assign(bytes_, static_cast<std::size_t>(offset), count);
        return {};
    }

private:
    const std::string& bytes_;
};

}  // namespace

std::unique_ptr<ReadableFile> FakeFileSystem::OpenToRead(const std::string& path, FileResult& error) {
    if (journal_) journal_->Add("open " + path);
    error = {};
    if (failingPaths.count(path)) {
        error = FailureOf(path);
        return nullptr;
    }
    if (!files.count(path)) {
        error = FileResult{IsFolder(path) ? kErrorAccessDenied : kErrorFileNotFound};
        return nullptr;
    }
    return std::make_unique<FakeReadableFile>(files.at(path));
}

FileResult FakeFileSystem::MoveItem(const std::string& from, const std::string& to) {
    if (journal_) journal_->Add("move " + from + " -> " + to);
    if (failingPaths.count(from)) return FailureOf(from);
    if (failingPaths.count(to)) return FailureOf(to);
    if (files.count(to) || IsFolder(to)) return FileResult{kErrorAlreadyExists};
    if (files.count(from)) {
        files[to] = std::move(files.at(from));
        files.erase(from);
        return {};
    }
    if (!IsFolder(from)) return FileResult{kErrorFileNotFound};
    const std::string prefix = from + "\\";
    const auto renamed = [&](const std::string& path) { return to + path.substr(from.size()); };
    std::map<std::string, std::string> movedFiles;
    for (auto file = files.lower_bound(prefix); file != files.end() && file->first.compare(0, prefix.size(), prefix) == 0;)
        movedFiles[renamed(file->first)] = std::move(file->second), file = files.erase(file);
    files.merge(movedFiles);
    std::set<std::string> movedFolders{to};
    folders.erase(from);
    for (auto folder = folders.lower_bound(prefix); folder != folders.end() && folder->compare(0, prefix.size(), prefix) == 0;)
        movedFolders.insert(renamed(*folder)), folder = folders.erase(folder);
    folders.merge(movedFolders);
    if (const auto kept = folderAttributes.find(from); kept != folderAttributes.end()) {
        folderAttributes[to] = kept->second;
        folderAttributes.erase(kept);
    }
    return {};
}

std::uint32_t FakeGameShell::ShellOpen(const std::string& file, const std::string& parameters,
                                       const std::string& directory, int showMode) {
    if (journal_)
        journal_->Add("shellopen " + file + " | " + parameters + " | " + directory + " | " +
                      std::to_string(showMode));
    calls.push_back({file, parameters, directory, showMode});
    return error;
}

std::uint32_t FakeGameShell::ShowInFolder(const std::string& path) {
    if (journal_) journal_->Add("showinfolder " + path);
    shownInFolder.push_back(path);
    return error;
}

std::string FakeGameShell::ErrorText(std::uint32_t code) { return "System text of error " + std::to_string(code) + "."; }

bool FakeGameShell::FitsAnsiCodePage(const std::string& text) {
    // UTF-8 lead bytes 0xC2 and 0xC3 begin the code points U+0080..U+00FF;
    // any other lead byte begins a larger one.
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xC4 || byte == 0xC0 || byte == 0xC1) return false;
    }
    return true;
}

MessageAnswer FakePrompts::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                       MessageButtons buttons) {
    if (journal_) journal_->Add("message " + title);
    messages.push_back({text, title, icon, buttons});
    if (!messageAnswers.empty()) {
        const MessageAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                       : MessageAnswer::Ok;
}

std::string FakePrompts::BrowseForFolder(const std::string& title) {
    if (journal_) journal_->Add("browse " + title);
    browseTitles.push_back(title);
    if (folderAnswers.empty()) return {};
    std::string answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<OpenFileResult> FakePrompts::ShowOpenFile(const OpenFileRequest& request) {
    if (journal_) journal_->Add("openfile " + request.title);
    openFileRequests.push_back(request);
    if (openFileAnswers.empty()) return std::nullopt;
    auto answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

std::optional<std::uint32_t> FakeElevatedRunner::RunElevated(const std::string& parameters) {
    if (journal_) journal_->Add("elevated " + parameters);
    calls.push_back(parameters);
    return helper ? helper(parameters) : exitCode;
}

}  // namespace reelwright::test
