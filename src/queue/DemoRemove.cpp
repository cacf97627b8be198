#include "queue/DemoRemove.h"

#include <algorithm>
#include <functional>

namespace reelwright {

std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list) {
    std::vector<std::size_t> rows = list.SelectedItems();
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // A row past the queue shows no entry; there is nothing to take out there.
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](std::size_t row) { return row >= queue.Count(); }),
               rows.end());

    // One pass over the queue, whatever the number of rows: removing them one
    // by one from the front would take quadratic time on a full queue.
    queue.RemoveRows(rows);
    // From the last row up, so that the rows still to go keep their numbers.
    for (std::size_t row : rows) list.DeleteItem(row);
    return rows.size();
}

}  // namespace reelwright
