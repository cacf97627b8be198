// Reads the details of queued demos on a thread of its own, started with
// the first files handed over, so that the window that shows them never
// waits for a file. Files are read one at a
// time: those asked for first (the rows in view) before the others, which
// are read in the order they were handed over. Results wait in an outbox
// until the window takes them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "queue/DemoDetails.h"
#include "queue/DemoQueue.h"

namespace reelwright {

class DemoDetailsReader {
public:
    struct Job {
        DemoQueue::EntryId id = 0;
        std::string file;  // UTF-8
    };
    struct Result {
        DemoQueue::EntryId id = 0;
        DemoDetails details;
    };
    // Reads one file; `stop` is requested when the reader stops, and the read
    // gives up at its next block.
    using ReadFunction = std::function<DemoDetails(const std::string& file, std::stop_token stop)>;

    // `resultsWaiting` is called on the reader's thread each time a result
    // lands in an empty outbox: the window posts itself a message there.
    explicit DemoDetailsReader(std::function<void()> resultsWaiting, ReadFunction read = ReadFile);
    // Stops the thread: the file being read, if any, stops within one block
    // (of at most 64 KiB) and no other is read.
    ~DemoDetailsReader();
    DemoDetailsReader(const DemoDetailsReader&) = delete;
    DemoDetailsReader& operator=(const DemoDetailsReader&) = delete;

    // Files to read after those already handed over.
    void Add(std::vector<Job> jobs);
    // Reads these (if still waiting) before every other waiting file.
    void Prefer(const std::vector<DemoQueue::EntryId>& ids);
    // Reads only the waiting files whose ids are kept (those still queued);
    // a result already in the outbox stays there.
    void Retain(const std::unordered_set<DemoQueue::EntryId>& kept);

    // The results in the order they were read; the outbox is empty after.
    std::vector<Result> TakeResults();
    // How many files are still to be read.
    std::size_t Waiting() const;

    static DemoDetails ReadFile(const std::string& file, std::stop_token stop);

private:
    void Run();
    // The next waiting job, preferred ones first; false when there is none.
    bool NextJob(Job& job);
    // Sorts the jobs handed over since into those waiting; under the lock.
    void TakeArrived();

    std::function<void()> resultsWaiting_;
    ReadFunction read_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::stop_source stop_;
    std::vector<std::vector<Job>> arrived_;  // handed over, not yet sorted in
    std::unordered_map<DemoQueue::EntryId, std::string> waiting_;
    std::deque<DemoQueue::EntryId> inOrder_;
    std::deque<DemoQueue::EntryId> preferred_;
    std::vector<Result> outbox_;
    std::thread thread_;  // last; started by the first Add, under the lock
};

}  // namespace reelwright
