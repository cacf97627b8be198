#include "queue/DemoRemove.h"

namespace reelwright {

std::optional<std::size_t> RowToRemove(std::optional<std::size_t> currentItem, bool currentIsSelected,
                                       std::size_t queueCount) {
    if (!currentItem || !currentIsSelected || *currentItem >= queueCount) return std::nullopt;
    return currentItem;
}

std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list) {
    const std::size_t passes = queue.Count();
    std::size_t removed = 0;
    for (std::size_t pass = 0; pass < passes; ++pass) {
        const std::optional<std::size_t> current = list.CurrentItem();
        const std::optional<std::size_t> row = RowToRemove(current, current && list.IsSelected(*current), queue.Count());
        // Nothing changes in a pass that removes nothing, so every later
        // pass would find the same.
        if (!row) break;
        queue.RemoveAt(*row);
        list.DeleteItem(*row);
        ++removed;
    }
    return removed;
}

}  // namespace reelwright
