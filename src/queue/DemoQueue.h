// The demo queue: the ordered demos that the next Launch plays. It lives in the
// main window and is never saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace reelwright {

struct DemoQueueEntry {
    std::string Name;      // path below its "demos" folder: "duel.dm_2004", "sub\a.dm_2004"
    std::string GameType;  // "base\mp", a mod's folder, ...
    std::string Path;      // full path (added alone) or the folder (added with others)
    bool operator==(const DemoQueueEntry&) const = default;
};

// The queue's operations hold for any entry type: the program's queue is
// DemoQueue below, and the tests count the work each operation does (moves of
// entries) with an entry type that counts its own moves.
template <typename Entry>
class BasicDemoQueue {
public:
    // Positions and counts are 16-bit signed numbers: 32767 entries at most.
    static constexpr std::size_t kMaxEntries = 32767;

    // Names one appended entry for as long as the queue lives, wherever it
    // moves: what is learnt about an entry's file is kept under its id. Ids
    // grow with each Append and are never given twice, so the same file
    // queued twice is two entries.
    using EntryId = std::uint64_t;

    std::size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    // 1-based position, as Launch numbers the demos.
    const Entry& At(std::size_t position) const { return entries_.at(position - 1); }
    const std::vector<Entry>& Entries() const { return entries_; }
    // The id of the entry at the 0-based index; ids follow their entries
    // through removals and new orders.
    EntryId IdAt(std::size_t index) const { return ids_.at(index); }
    // The id the next appended entry will have.
    EntryId NextId() const { return nextId_; }

    // Appends at the end; false (and nothing changed) when the queue is full.
    bool Append(Entry entry) {
        if (entries_.size() >= kMaxEntries) return false;
        entries_.push_back(std::move(entry));
        ids_.push_back(nextId_++);
        return true;
    }

    // Puts `entry` in the place of the one at the 0-based index; it keeps
    // that one's id (the same file under a new name).
    void ReplaceAt(std::size_t index, Entry entry) { entries_.at(index) = std::move(entry); }

    // Removes the entry at the 0-based index; later entries move up.
    void RemoveAt(std::size_t index) {
        if (index >= entries_.size()) return;
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
        ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    // Removes the entries at the given 0-based indices (in any order; repeats
    // and indices past the end are ignored) in one pass; the others keep their
    // order. Returns how many were removed.
    std::size_t RemoveRows(const std::vector<std::size_t>& indices) {
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
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(kept), entries_.end());
        ids_.resize(kept);
        return removed;
    }

    void Clear() {
        entries_.clear();
        ids_.clear();
    }

    // Puts the entries in a new order: position i takes the entry that was at
    // order[i] (0-based). False, and nothing changed, unless the order names
    // every position exactly once. O(n).
    bool Reorder(const std::vector<std::size_t>& order) {
        if (order.size() != entries_.size()) return false;
        std::vector<bool> seen(order.size(), false);
        for (std::size_t from : order) {
            if (from >= seen.size() || seen[from]) return false;
            seen[from] = true;
        }
        std::vector<Entry> reordered;
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

private:
    std::vector<Entry> entries_;
    std::vector<EntryId> ids_;  // ids_[i] names entries_[i]
    EntryId nextId_ = 1;
};

using DemoQueue = BasicDemoQueue<DemoQueueEntry>;

}  // namespace reelwright
