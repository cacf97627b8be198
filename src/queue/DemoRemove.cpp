#include "queue/DemoRemove.h"

#include <algorithm>

namespace reelwright {

std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list) {
    std::vector<std::size_t> rows = list.SelectedItems();
    // The list reports its rows in ascending order: then no sort is needed and
    // Remove stays linear.
    if (!std::is_sorted(rows.begin(), rows.end())) std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::reverse(rows.begin(), rows.end());
    // A row past the queue shows no entry; there is nothing to take out there.
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](std::size_t row) { return row >= queue.Count(); }),
               rows.end());

    // One pass over the queue, whatever the number of rows: removing them one
    // by one from the front would take quadratic time on a full queue.
    queue.RemoveRows(rows);
    if (!rows.empty()) list.RowsRemoved(rows);
    return rows.size();
}

}  // namespace reelwright
