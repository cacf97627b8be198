#include "support/Fakes.h"

#include <stdexcept>

#include "core/AppInfo.h"

namespace reelwright::testing {

std::string FakeSettingsStore::GetSetting(const std::string& application, const std::string& section,
                                          const std::string& key, const std::string& defaultValue) {
    if (journal_) journal_->Add("get " + section + "/" + key);
    applicationsUsed.insert(application);
    if (failingKeys.count(section + "/" + key)) throw std::runtime_error("store read failed");
    const auto found = values_.find({application, section, key});
    return found == values_.end() ? defaultValue : found->second;
}

void FakeSettingsStore::SaveSetting(const std::string& application, const std::string& section,
                                    const std::string& key, const std::string& value) {
    if (journal_) journal_->Add("save " + section + "/" + key + "=" + value);
    applicationsUsed.insert(application);
    if (failingKeys.count(section + "/" + key)) throw std::runtime_error("store write failed");
    values_[{application, section, key}] = value;
}

void FakeSettingsStore::Put(const std::string& section, const std::string& key, const std::string& value) {
    values_[{AppKey(), section, key}] = value;
}

std::optional<std::string> FakeSettingsStore::Stored(const std::string& section, const std::string& key) const {
    const auto found = values_.find({AppKey(), section, key});
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

bool FakeFileSystem::FileExists(const std::string& path) {
    if (journal_) journal_->Add("exists " + path);
    return files.count(path) != 0;
}

bool FakeFileSystem::SetReadOnly(const std::string& path) {
    if (journal_) journal_->Add("readonly " + path);
    if (failingPaths.count(path) || !files.count(path)) return false;
    readOnly.insert(path);
    return true;
}

bool FakeFileSystem::CopyFileOver(const std::string& from, const std::string& to) {
    if (journal_) journal_->Add("copy " + from + " -> " + to);
    if (failingPaths.count(from) || failingPaths.count(to) || !files.count(from)) return false;
    files[to] = files[from];
    return true;
}

bool FakeFileSystem::WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) {
    if (journal_) journal_->Add("write " + path);
    if (failingPaths.count(path)) return false;
    files[path] = utf8Text;
    return true;
}

std::optional<FolderContents> FakeFileSystem::ListFolder(const std::string& folder) {
    if (journal_) journal_->Add("list " + folder);
    if (!folders.count(folder)) return std::nullopt;
    FolderContents contents;
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
        if (auto name = direct(file->first)) contents.files.push_back(*name);
    for (auto sub = folders.lower_bound(prefix); sub != folders.end() && sub->compare(0, prefix.size(), prefix) == 0;
         ++sub)
        if (auto name = direct(*sub)) contents.folders.push_back(*name);
    return contents;
}

std::intptr_t FakeGameShell::ShellOpen(const std::string& file, const std::string& parameters,
                                       const std::string& directory, int showMode) {
    if (journal_)
        journal_->Add("shellopen " + file + " | " + parameters + " | " + directory + " | " +
                      std::to_string(showMode));
    calls.push_back({file, parameters, directory, showMode});
    return result;
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
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
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

}  // namespace reelwright::testing
