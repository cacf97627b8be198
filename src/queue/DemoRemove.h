// Remove: takes the list's selected demos out of the queue, keeping the list
// and the queue in step.
#pragma once

#include <cstddef>
#include <optional>

#include "queue/DemoQueue.h"

namespace reelwright {

// What Remove needs of the list that shows the queue (row i shows entry i).
class DemoListSelection {
public:
    virtual ~DemoListSelection() = default;
    // The list's current item (0-based), which may have lost its selection
    // mark; nothing when the list has none.
    virtual std::optional<std::size_t> CurrentItem() = 0;
    virtual bool IsSelected(std::size_t index) = 0;
    virtual void DeleteItem(std::size_t index) = 0;
};

// One pass of Remove: the row to take out, when the list has a current item
// that is marked selected and shows a queue entry.
std::optional<std::size_t> RowToRemove(std::optional<std::size_t> currentItem, bool currentIsSelected,
                                       std::size_t queueCount);

// As many passes as the queue had entries when Remove began; each pass removes
// the current item when it is selected. Later entries move up one position.
// Returns the number of entries removed.
std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list);

}  // namespace reelwright
