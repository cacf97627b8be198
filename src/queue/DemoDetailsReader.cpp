#include "queue/DemoDetailsReader.h"

#include <exception>
#include <utility>

namespace reelwright {

DemoDetailsReader::DemoDetailsReader(std::function<void()> resultsWaiting, ReadFunction read)
    : resultsWaiting_(std::move(resultsWaiting)), read_(std::move(read)) {}

DemoDetailsReader::~DemoDetailsReader() {
    {
        std::lock_guard lock(mutex_);
        stop_.request_stop();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

DemoDetails DemoDetailsReader::ReadFile(const std::string& file, std::stop_token stop) {
    return ReadDemoDetails(file, std::move(stop));
}

void DemoDetailsReader::Add(std::vector<Job> jobs) {
    if (jobs.empty()) return;
    {
        std::lock_guard lock(mutex_);
        // Sorted in on the reader's thread: handing over a full queue costs
        // the window's thread this move only.
        arrived_.push_back(std::move(jobs));
        // The thread starts with the first files: a window that opens with
        // an empty queue does not wait for it.
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_all();
}

void DemoDetailsReader::Prefer(const std::vector<DemoQueue::EntryId>& ids) {
    std::lock_guard lock(mutex_);
    // NextJob passes over those no longer waiting.
    preferred_.insert(preferred_.end(), ids.begin(), ids.end());
}

void DemoDetailsReader::Retain(const std::unordered_set<DemoQueue::EntryId>& kept) {
    std::lock_guard lock(mutex_);
    TakeArrived();
    // The queues of ids keep theirs; NextJob passes over those no longer waiting.
    std::erase_if(waiting_, [&](const auto& job) { return !kept.count(job.first); });
    if (waiting_.empty()) {
        inOrder_.clear();
        preferred_.clear();
    }
}

void DemoDetailsReader::TakeArrived() {
    for (std::vector<Job>& batch : arrived_) {
        waiting_.reserve(waiting_.size() + batch.size());
        for (Job& job : batch)
            if (waiting_.insert_or_assign(job.id, std::move(job.file)).second) inOrder_.push_back(job.id);
    }
    arrived_.clear();
}

std::vector<DemoDetailsReader::Result> DemoDetailsReader::TakeResults() {
    std::lock_guard lock(mutex_);
    return std::exchange(outbox_, {});
}

std::size_t DemoDetailsReader::Waiting() const {
    std::lock_guard lock(mutex_);
    // A file handed over again is read once.
    std::unordered_set<DemoQueue::EntryId> arriving;
    for (const std::vector<Job>& batch : arrived_)
        for (const Job& job : batch)
            if (!waiting_.count(job.id)) arriving.insert(job.id);
    return waiting_.size() + arriving.size();
}

bool DemoDetailsReader::NextJob(Job& job) {
    TakeArrived();
    for (auto* queue : {&preferred_, &inOrder_}) {
        while (!queue->empty()) {
            const DemoQueue::EntryId id = queue->front();
            queue->pop_front();
            const auto found = waiting_.find(id);
            if (found == waiting_.end()) continue;
            job.id = id;
            job.file = std::move(found->second);
            waiting_.erase(found);
            return true;
        }
    }
    return false;
}

void DemoDetailsReader::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        Job job;
        wake_.wait(lock, [&] { return stop_.stop_requested() || NextJob(job); });
        if (stop_.stop_requested()) return;
        lock.unlock();
        Result result{job.id, {}};
        try {
            result.details = read_(job.file, stop_.get_token());
        } catch (const std::exception&) {
            // Nothing may unwind out of the thread; the file counts as unread.
            result.details.head.refusal = DemoReadRefusal::CannotOpen;
        }
        lock.lock();
        const bool wasEmpty = outbox_.empty();
        outbox_.push_back(std::move(result));
        if (wasEmpty && !stop_.stop_requested()) {
            lock.unlock();
            resultsWaiting_();
            lock.lock();
        }
    }
}

}  // namespace reelwright
