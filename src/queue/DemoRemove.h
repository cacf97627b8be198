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
    virtual void DeleteItem(std::size_t index) = 0;
};

// Removes every selected entry and no other: the list's current item counts
// only when it is marked selected, so a row that merely holds the focus
// stays. Later entries move up and keep their order; the list loses the same
// rows, from the last one up. Returns the number of entries removed.
std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list);

}  // namespace reelwright
