// Watches folders for new, deleted, renamed and rewritten files with one
// ReadDirectoryChangesW per folder (a sub-tree watch reports nothing from
// sub-folders under Wine), all on one thread of its own that waits alertably
// for their completions. It does not say what changed: only which folder, so
// that the folder is listed again; a watch that overflowed or was lost (the
// folder went, the volume left) says so, and is given up.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/win/basAPI.h"

namespace reelwright::win {

class FolderWatcher {
public:
    // Called on the watcher's thread: `folder` changed; `lost` when what
    // changed cannot be told (an overflow) or the watch ended.
    using Changed = std::function<void(const std::string& folder, bool lost)>;

    explicit FolderWatcher(Changed changed);
    // Ends every watch and the thread, at once.
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Watches the folder (once, however often asked).
    void Watch(const std::string& folder);
    // Ends the watches of the folder and of every folder below it.
    void Unwatch(const std::string& folder);
    // How many folders are watched (for tests).
    std::size_t Count() const;

private:
    struct Entry;
    struct Command {
        bool add = true;
        std::string folder;
    };
    void Run();
    void Arm(Entry& entry);
    void Drop(const std::string& folder);
    static void CALLBACK Completed(DWORD error, DWORD bytes, LPOVERLAPPED overlapped);

    Changed changed_;
    basAPI::UniqueHandle stop_;
    basAPI::UniqueHandle wake_;
    mutable std::mutex mutex_;
    std::vector<Command> commands_;
    std::size_t count_ = 0;
    // The thread's own.
    std::map<std::string, std::unique_ptr<Entry>> watches_;
    std::vector<std::unique_ptr<Entry>> ending_;  // cancelled, their completion still to come
    std::thread thread_;  // last: started once everything above is ready
};

}  // namespace reelwright::win
