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
    // The list's current (focused) item, which may have lost its selection
    // mark; nothing when the list has none.
    virtual std::optional<std::size_t> CurrentItem() = 0;
    virtual bool IsSelected(std::size_t index) = 0;
    // The first item marked selected; nothing when none is.
    virtual std::optional<std::size_t> FirstSelectedItem() = 0;
    virtual void DeleteItem(std::size_t index) = 0;
};

// One pass of Remove: the current item when it is marked selected, otherwise
// the first selected item; nothing when no item is selected or the row shows
// no queue entry.
std::optional<std::size_t> RowToRemove(std::optional<std::size_t> currentItem, bool currentIsSelected,
                                       std::optional<std::size_t> firstSelected, std::size_t queueCount);

// At most as many passes as the queue had entries when Remove began; each
// removes one selected item, so every selected entry goes and no other one.
// Later entries move up. Returns the number of entries removed.
std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list);

}  // namespace reelwright
