// The demo browser's worker thread: it walks the "demos" folders of the game
// folder and hands over each folder's demos as soon as it has listed them,
// with the details the cache kept for them; then it reads the details of the
// others, those asked for first (the rows in view) before the rest, and
// keeps them in the cache. A folder that changed is listed again (and what is
// new below it walked); a folder that went is told. Everything it finds waits
// in an outbox until the window takes it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "browse/DemoCatalog.h"
#include "browse/DetailsCache.h"
#include "core/FileSystem.h"

namespace reelwright {

class BrowseWorker {
public:
    struct Event {
        enum class Kind {
            Folder,      // `rows`: a folder's demos as listed now
            FolderGone,  // `folder` and everything below it went
            Details,     // the details of the demo at `path`, read at `stamp`
            WalkDone,    // a walk of every demos folder has ended
        };
        Kind kind = Kind::Folder;
        FolderRows rows;
        std::string folder;
        std::string path;
        FileStamp stamp;
        DemoHeadAndLength details;
    };
    // Reads one file's details; `stop` is asked when the worker stops, and
    // the read gives up at its next block.
    using ReadFunction = std::function<DemoHeadAndLength(const std::string& path, std::stop_token stop)>;

    // Starts at once: loads the cache file at `cachePath` (when not empty),
    // then walks every demos folder of `gameFolder`. `eventsWaiting` is called
    // on the worker's thread each time an event lands in an empty outbox.
    BrowseWorker(FileSystem& files, std::string gameFolder, DetailsCache& cache, std::string cachePath,
                 std::function<void()> eventsWaiting, ReadFunction read = ReadFile);
    // Stops the thread: the file being read stops within one block, and no
    // other folder is listed.
    ~BrowseWorker();
    BrowseWorker(const BrowseWorker&) = delete;
    BrowseWorker& operator=(const BrowseWorker&) = delete;

    // Walks every demos folder again; folders that went since are told.
    void WalkAll();
    // Lists the folder again (with `deep`: everything below it too).
    void Rescan(const std::string& folder, bool deep);
    // Reads these (when still to be read) before every other.
    void Prefer(const std::vector<std::string>& paths);

    // The events in the order they happened; the outbox is empty after.
    std::vector<Event> TakeEvents();
    // Nothing to walk, list or read, and the outbox is empty.
    bool Idle() const;

    static DemoHeadAndLength ReadFile(const std::string& path, std::stop_token stop);

private:
    void Run(std::stop_token stop);
    // Lists the folder (and, with `deep`, every folder below it); new
    // sub-folders are walked, missing ones told gone.
    void Visit(const std::string& folder, bool deep, std::stop_token stop);
    void Forget(const std::string& folder);
    void Emit(Event event);
    void WalkEverything(std::stop_token stop);

    FileSystem& files_;
    const std::string gameFolder_;
    DetailsCache& cache_;
    const std::string cachePath_;
    std::function<void()> eventsWaiting_;
    ReadFunction read_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool walkAsked_ = true;
    std::map<std::string, bool> rescans_;  // folder -> deep
    std::unordered_map<std::string, FileStamp> toRead_;
    std::deque<std::string> readOrder_;
    std::deque<std::string> preferred_;
    std::vector<Event> outbox_;
    bool working_ = true;

    // The worker's own: the sub-folders of each folder it has listed.
    std::map<std::string, std::set<std::string>> children_;

    std::jthread thread_;  // last: started once everything above is ready
};

}  // namespace reelwright
