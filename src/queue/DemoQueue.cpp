#include "queue/DemoQueue.h"

namespace reelwright {

bool DemoQueue::Append(DemoQueueEntry entry) {
    if (entries_.size() >= kMaxEntries) return false;
    entries_.push_back(std::move(entry));
    ids_.push_back(nextId_++);
    return true;
}

void DemoQueue::RemoveAt(std::size_t index) {
    if (index >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t DemoQueue::RemoveRows(const std::vector<std::size_t>& indices) {
    std::vector<bool> doomed(entries_.size(), false);
    for (std::size_t index : indices)
        if (index < doomed.size()) doomed[index] = true;
    std::size_t kept = 0;
    for (std::size_t index = 0; index < entries_.size(); ++index)
        if (!doomed[index]) {
            if (kept != index) {
                entries_[kept] = std::move(entries_[index]);
                ids_[kept] = ids_[index];
            }
            ++kept;
        }
    const std::size_t removed = entries_.size() - kept;
    entries_.resize(kept);
    ids_.resize(kept);
    return removed;
}

bool DemoQueue::Reorder(const std::vector<std::size_t>& order) {
    if (order.size() != entries_.size()) return false;
    std::vector<bool> seen(order.size(), false);
    for (std::size_t from : order) {
        if (from >= seen.size() || seen[from]) return false;
        seen[from] = true;
    }
    std::vector<DemoQueueEntry> reordered;
    std::vector<EntryId> ids;
    reordered.reserve(entries_.size());
    ids.reserve(ids_.size());
    for (std::size_t from : order) {
        reordered.push_back(std::move(entries_[from]));
        ids.push_back(ids_[from]);
    }
    entries_ = std::move(reordered);
    ids_ = std::move(ids);
    return true;
}

}  // namespace reelwright
