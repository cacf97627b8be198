#include "queue/DemoQueue.h"

namespace reelwright {

bool DemoQueue::Append(DemoQueueEntry entry) {
    if (entries_.size() >= kMaxEntries) return false;
    entries_.push_back(std::move(entry));
    return true;
}

void DemoQueue::RemoveAt(std::size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace reelwright
