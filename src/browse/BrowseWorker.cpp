#include "browse/BrowseWorker.h"

#include <algorithm>
#include <utility>

namespace reelwright {

namespace {

bool IsAtOrBelow(const std::string& path, const std::string& folder) {
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '\\');
}

}  // namespace

BrowseWorker::BrowseWorker(FileSystem& files, std::string gameFolder, DetailsCache& cache, std::string cachePath,
                           std::function<void()> eventsWaiting, ReadFunction read)
    : files_(files),
      gameFolder_(std::move(gameFolder)),
      cache_(cache),
      cachePath_(std::move(cachePath)),
      eventsWaiting_(std::move(eventsWaiting)),
      read_(std::move(read)),
      thread_([this](std::stop_token stop) { Run(stop); }) {}

BrowseWorker::~BrowseWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    // Ends a walk between two folders and a read within its block.
    thread_.request_stop();
    wake_.notify_all();
    // The jthread joins here.
}

DemoHeadAndLength BrowseWorker::ReadFile(const std::string& path, std::stop_token stop) {
    return ReadDemoFile(path, std::move(stop));
}

void BrowseWorker::WalkAll() {
    {
        const std::lock_guard lock(mutex_);
        walkAsked_ = true;
        working_ = true;
    }
    wake_.notify_all();
}

void BrowseWorker::Rescan(const std::string& folder, bool deep) {
    {
        const std::lock_guard lock(mutex_);
        bool& asked = rescans_[folder];
        asked = asked || deep;
        working_ = true;
    }
    wake_.notify_all();
}

void BrowseWorker::Prefer(const std::vector<std::string>& paths) {
    const std::lock_guard lock(mutex_);
    for (const std::string& path : paths)
        if (toRead_.count(path)) preferred_.push_back(path);
}

std::vector<BrowseWorker::Event> BrowseWorker::TakeEvents() {
    const std::lock_guard lock(mutex_);
    return std::exchange(outbox_, {});
}

bool BrowseWorker::Idle() const {
    const std::lock_guard lock(mutex_);
    return !working_ && outbox_.empty();
}

void BrowseWorker::Emit(Event event) {
    bool first = false;
    {
        const std::lock_guard lock(mutex_);
        first = outbox_.empty();
        outbox_.push_back(std::move(event));
    }
    if (first && eventsWaiting_) eventsWaiting_();
}

void BrowseWorker::Forget(const std::string& folder) {
    std::erase_if(children_, [&](const auto& known) { return IsAtOrBelow(known.first, folder); });
    const std::lock_guard lock(mutex_);
    std::erase_if(toRead_, [&](const auto& waiting) { return IsAtOrBelow(waiting.first, folder); });
}

void BrowseWorker::Visit(const std::string& top, bool deep, std::stop_token stop) {
    std::vector<std::pair<std::string, bool>> pending{{top, deep}};
    while (!pending.empty() && !stop.stop_requested()) {
        const auto [folder, all] = std::move(pending.back());
        pending.pop_back();
        std::optional<ListedFolder> listed = ListDemoFolder(files_, gameFolder_, folder);
        if (!listed) {
            if (children_.count(folder)) {
                Forget(folder);
                Event gone;
                gone.kind = Event::Kind::FolderGone;
                gone.folder = folder;
                Emit(std::move(gone));
            }
            continue;
        }
        // Sub-folders that went are told; new ones (or all, deep) are walked.
        const std::set<std::string> now(listed->subFolders.begin(), listed->subFolders.end());
        const auto known = children_.find(folder);
        const bool seenBefore = known != children_.end();
        if (seenBefore)
            for (const std::string& sub : known->second)
                if (!now.count(sub)) {
                    Forget(sub);
                    Event gone;
                    gone.kind = Event::Kind::FolderGone;
                    gone.folder = sub;
                    Emit(std::move(gone));
                }
        for (auto sub = now.rbegin(); sub != now.rend(); ++sub)
            if (all || !seenBefore || !known->second.count(*sub)) pending.push_back({*sub, all});
        children_[folder] = now;

        Event event;
        event.kind = Event::Kind::Folder;
        event.rows.folder = folder;
        event.rows.rows.reserve(listed->demos.size());
        std::vector<std::pair<std::string, FileStamp>> unread;
        for (FoundDemo& demo : listed->demos) {
            BrowsedDemo row{std::move(demo), std::nullopt};
            if (const DemoHeadAndLength* cached = cache_.Find(row.demo.path, row.demo.stamp)) row.details = *cached;
            else unread.push_back({row.demo.path, row.demo.stamp});
            event.rows.rows.push_back(std::move(row));
        }
        {
            const std::lock_guard lock(mutex_);
            for (auto& [path, stamp] : unread) {
                const bool queued = toRead_.count(path) != 0;
                toRead_[path] = stamp;
                if (!queued) readOrder_.push_back(path);
            }
        }
        Emit(std::move(event));
    }
}

void BrowseWorker::WalkEverything(std::stop_token stop) {
    std::set<std::string> before;
    for (const auto& known : children_) before.insert(known.first);
    std::set<std::string> tops;
    for (const std::string& demos : FindDemosFolders(files_, gameFolder_)) {
        if (stop.stop_requested()) return;
        tops.insert(demos);
        Visit(demos, true, stop);
    }
    // Demos folders that are no longer there.
    for (const std::string& folder : before) {
        bool inside = false;
        for (const std::string& top : tops) inside = inside || IsAtOrBelow(folder, top);
        if (!inside && children_.count(folder)) {
            Forget(folder);
            Event gone;
            gone.kind = Event::Kind::FolderGone;
            gone.folder = folder;
            Emit(std::move(gone));
        }
    }
    Event done;
    done.kind = Event::Kind::WalkDone;
    Emit(std::move(done));
}

void BrowseWorker::Run(std::stop_token stop) {
    if (!cachePath_.empty()) cache_.Load(files_, cachePath_);
    while (!stop.stop_requested()) {
        bool walk = false;
        std::map<std::string, bool> rescans;
        std::string path;
        FileStamp stamp;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] {
                working_ = walkAsked_ || !rescans_.empty() || !toRead_.empty();
                return working_ || stopping_;
            });
            if (stopping_) return;
            walk = std::exchange(walkAsked_, false);
            rescans = std::exchange(rescans_, {});
            if (!walk && rescans.empty()) {
                // The next file to read: a preferred one first.
                auto take = [&](std::deque<std::string>& from) {
                    while (!from.empty()) {
                        std::string next = std::move(from.front());
                        from.pop_front();
                        if (const auto found = toRead_.find(next); found != toRead_.end()) {
                            path = std::move(next);
                            stamp = found->second;
                            toRead_.erase(found);
                            return true;
                        }
                    }
                    return false;
                };
                if (!take(preferred_)) take(readOrder_);
            }
        }
        if (walk) {
            WalkEverything(stop);
            continue;
        }
        if (!rescans.empty()) {
            for (const auto& [folder, deep] : rescans) Visit(folder, deep, stop);
            continue;
        }
        if (path.empty()) continue;
        DemoHeadAndLength details = read_(path, stop);
        if (stop.stop_requested()) return;
        // A file that could not be opened (gone, or held) is tried again
        // when it shows up again; the others are kept.
        if (details.head.refusal != DemoReadRefusal::CannotOpen) cache_.Store(path, stamp, details);
        Event event;
        event.kind = Event::Kind::Details;
        event.path = std::move(path);
        event.stamp = stamp;
        event.details = std::move(details);
        Emit(std::move(event));
    }
}

}  // namespace reelwright
