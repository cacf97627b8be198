// New orders of the queue: moving the selected rows one place up or down,
// and sorting by name. An order lists, for each new position, the 0-based
// position its entry had before; DemoQueue::Reorder applies it, Reordered
// carries a selection along.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "queue/DemoDetails.h"
#include "queue/DemoQueue.h"
#include "queue/NaturalOrder.h"

namespace reelwright {

using QueueOrder = std::vector<std::size_t>;

// Every block of selected rows (selected[i] for row i) moves one place up,
// keeping its inner order; the row above it goes below it. A block already at
// the top stays, and a block below it still moves up to join it. Empty when
// nothing moves. O(n).
QueueOrder MoveUpOrder(const std::vector<bool>& selected);

// The same downwards: a block at the bottom stays.
QueueOrder MoveDownOrder(const std::vector<bool>& selected);

// The entries sorted by Name in natural order ("demo2" before "demo10",
// letter case ignored); entries with alike names keep their order. O(n log n).
template <typename Entry>
QueueOrder NameOrder(const BasicDemoQueue<Entry>& queue) {
    const auto& entries = queue.Entries();
    QueueOrder order(entries.size());
    for (std::size_t row = 0; row < order.size(); ++row) order[row] = row;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return NaturalLess(entries[a].Name, entries[b].Name); });
    return order;
}

// The list's columns, in their order.
enum class QueueColumn { Name, GameType, Path, Map, Length };

// The entries sorted by one column: texts in natural order, the length by
// its value, `descending` turning the comparison round. Stable both ways:
// alike rows keep their order. By Map or Length, the rows whose details are
// pending or cannot be read come last, in their order. O(n log n).
QueueOrder ColumnOrder(const DemoQueue& queue, const DemoDetailsTable& details, QueueColumn column, bool descending);

// Where the marks of `selected` are after `order` (rows beyond the selection's
// size count as not selected).
std::vector<bool> Reordered(const std::vector<bool>& selected, const QueueOrder& order);

// The new position of the entry that was at `position` before `order`, or
// `position` itself when the order does not hold it.
std::size_t NewPosition(std::size_t position, const QueueOrder& order);

}  // namespace reelwright
