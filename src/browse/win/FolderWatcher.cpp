#include "browse/win/FolderWatcher.h"

#include <algorithm>

namespace reelwright::win {

namespace {

constexpr DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;
// Notes of one burst of changes; an overflow only makes the folder be
// listed again, as any change does.
constexpr std::size_t kBufferWords = 16 * 1024;

bool IsAtOrBelow(const std::string& path, const std::string& folder) {
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '\\');
}

}  // namespace

struct FolderWatcher::Entry {
    FolderWatcher* owner = nullptr;
    std::string folder;
    basAPI::UniqueFile handle;
    OVERLAPPED overlapped{};
    std::vector<DWORD> buffer = std::vector<DWORD>(kBufferWords);  // DWORD-aligned, as the call wants
    bool ending = false;
    bool pending = false;
};

FolderWatcher::FolderWatcher(Changed changed)
    : changed_(std::move(changed)),
      stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      thread_([this] { Run(); }) {}

FolderWatcher::~FolderWatcher() {
    ::SetEvent(stop_.get());
    if (thread_.joinable()) thread_.join();
}

void FolderWatcher::Watch(const std::string& folder) {
    {
        const std::lock_guard lock(mutex_);
        commands_.push_back({true, folder});
    }
    ::SetEvent(wake_.get());
}

void FolderWatcher::Unwatch(const std::string& folder) {
    {
        const std::lock_guard lock(mutex_);
        commands_.push_back({false, folder});
    }
    ::SetEvent(wake_.get());
}

std::size_t FolderWatcher::Count() const {
    const std::lock_guard lock(mutex_);
    return count_;
}

void FolderWatcher::Arm(Entry& entry) {
    entry.overlapped = OVERLAPPED{};
    entry.overlapped.hEvent = reinterpret_cast<HANDLE>(&entry);  // free for the caller with a completion routine
    entry.pending = ::ReadDirectoryChangesW(entry.handle.get(), entry.buffer.data(),
                                            static_cast<DWORD>(entry.buffer.size() * sizeof(DWORD)), FALSE, kWatched,
                                            nullptr, &entry.overlapped, &FolderWatcher::Completed) != FALSE;
}

void FolderWatcher::Drop(const std::string& folder) {
    auto found = watches_.find(folder);
    if (found == watches_.end()) return;
    std::unique_ptr<Entry> entry = std::move(found->second);
    watches_.erase(found);
    entry->ending = true;
    if (entry->pending) {
        // Its buffer stays until the cancelled call has completed.
        ::CancelIo(entry->handle.get());
        ending_.push_back(std::move(entry));
    }
}

void CALLBACK FolderWatcher::Completed(DWORD error, DWORD bytes, LPOVERLAPPED overlapped) {
    Entry& entry = *reinterpret_cast<Entry*>(overlapped->hEvent);
    FolderWatcher& owner = *entry.owner;
    entry.pending = false;
    if (entry.ending) {
        std::erase_if(owner.ending_, [&](const std::unique_ptr<Entry>& ending) { return ending.get() == &entry; });
        return;
    }
    const std::string folder = entry.folder;
    // No bytes: more changed than the buffer held. An error: the watch ended.
    const bool lost = error != ERROR_SUCCESS || bytes == 0;
    if (error == ERROR_SUCCESS) owner.Arm(entry);
    if (!entry.pending) owner.Drop(folder);
    owner.changed_(folder, lost);
}

void FolderWatcher::Run() {
    const HANDLE waits[] = {stop_.get(), wake_.get()};
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjectsEx(2, waits, FALSE, INFINITE, TRUE);
        if (woken == WAIT_IO_COMPLETION) continue;
        if (woken != WAIT_OBJECT_0 + 1) break;
        std::vector<Command> commands;
        {
            const std::lock_guard lock(mutex_);
            commands.swap(commands_);
        }
        for (const Command& command : commands) {
            if (!command.add) {
                std::vector<std::string> below;
                for (const auto& watch : watches_)
                    if (IsAtOrBelow(watch.first, command.folder)) below.push_back(watch.first);
                for (const std::string& folder : below) Drop(folder);
                continue;
            }
            if (watches_.count(command.folder)) continue;
            auto entry = std::make_unique<Entry>();
            entry->owner = this;
            entry->folder = command.folder;
            // Shared for delete too: a watched folder can still be renamed or deleted.
            entry->handle.reset(::CreateFileW(basAPI::Widen(command.folder).c_str(), FILE_LIST_DIRECTORY,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                              nullptr));
            if (!entry->handle) continue;
            Arm(*entry);
            if (entry->pending) watches_.emplace(command.folder, std::move(entry));
        }
        const std::lock_guard lock(mutex_);
        count_ = watches_.size();
    }
    // Every watch is cancelled and its completion awaited before the buffers go.
    std::vector<std::string> all;
    for (const auto& watch : watches_) all.push_back(watch.first);
    for (const std::string& folder : all) Drop(folder);
    for (int round = 0; round < 100 && !ending_.empty(); ++round) ::SleepEx(20, TRUE);
    // A completion that never came (the system lost it) must not free a
    // buffer the system might still write: those are left to the process.
    for (std::unique_ptr<Entry>& entry : ending_) entry.release();
}

}  // namespace reelwright::win
