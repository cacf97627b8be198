// The demo queue: the ordered demos that the next Launch plays. It lives in the
// main window and is never saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace reelwright {

struct DemoQueueEntry {
    std::string Name;      // path below its "demos" folder: "duel.dm_2004", "sub\a.dm_2004"
    std::string GameType;  // "base\mp", a mod's folder, ...
    std::string Path;      // full path (added alone) or the folder (added with others)
    bool operator==(const DemoQueueEntry&) const = default;
};

class DemoQueue {
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
    const DemoQueueEntry& At(std::size_t position) const { return entries_.at(position - 1); }
    const std::vector<DemoQueueEntry>& Entries() const { return entries_; }
    // The id of the entry at the 0-based index; ids follow their entries
    // through removals and new orders.
    EntryId IdAt(std::size_t index) const { return ids_.at(index); }
    // The id the next appended entry will have.
    EntryId NextId() const { return nextId_; }

    // Appends at the end; false (and nothing changed) when the queue is full.
    bool Append(DemoQueueEntry entry);
    // Removes the entry at the 0-based index; later entries move up.
    void RemoveAt(std::size_t index);
    // Removes the entries at the given 0-based indices (in any order; repeats
    // and indices past the end are ignored) in one pass; the others keep their
    // order. Returns how many were removed.
    std::size_t RemoveRows(const std::vector<std::size_t>& indices);
    void Clear() {
        entries_.clear();
        ids_.clear();
    }
    // Puts the entries in a new order: position i takes the entry that was at
    // order[i] (0-based). False, and nothing changed, unless the order names
    // every position exactly once. O(n).
    bool Reorder(const std::vector<std::size_t>& order);

private:
    std::vector<DemoQueueEntry> entries_;
    std::vector<EntryId> ids_;  // ids_[i] names entries_[i]
    EntryId nextId_ = 1;
};

}  // namespace reelwright
