// Remove: takes the list's selected demos out of the queue, keeping the list
// and the queue in step.
#pragma once

#include <cstddef>
#include <vector>

#include "queue/DemoQueue.h"

namespace reelwright {

// What Remove needs of the list that shows the queue (row i shows entry i).
class DemoListSelection {
public:
    virtual ~DemoListSelection() = default;
    // The rows marked selected (0-based).
    virtual std::vector<std::size_t> SelectedItems() = 0;
    // The rows (0-based, from the last one up) whose entries left the queue;
    // called once per Remove that removed anything.
    virtual void RowsRemoved(const std::vector<std::size_t>& rows) = 0;
};

// Removes every selected entry and no other: the list's current item counts
// only when it is marked selected, so a row that merely holds the focus
// stays. Later entries move up and keep their order; the list is told which
// rows went. O(n) whatever the selection. Returns the number of entries removed.
std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list);

}  // namespace reelwright
