#include "queue/DemoRemove.h"

namespace reelwright {

std::optional<std::size_t> RowToRemove(std::optional<std::size_t> currentItem, bool currentIsSelected,
                                       std::optional<std::size_t> firstSelected, std::size_t queueCount) {
    // The list allows several selected rows, and deleting the current row
    // moves the focus to a neighbour that need not be selected: falling back to
    // the first selected row makes sure the whole selection goes.
    const std::optional<std::size_t> row = currentItem && currentIsSelected ? currentItem : firstSelected;
    if (!row || *row >= queueCount) return std::nullopt;
    return row;
}

std::size_t RemoveSelectedDemos(DemoQueue& queue, DemoListSelection& list) {
    const std::size_t passes = queue.Count();
    std::size_t removed = 0;
    for (std::size_t pass = 0; pass < passes; ++pass) {
        const std::optional<std::size_t> current = list.CurrentItem();
        const bool currentIsSelected = current && list.IsSelected(*current);
        const std::optional<std::size_t> row =
            RowToRemove(current, currentIsSelected, currentIsSelected ? current : list.FirstSelectedItem(),
                        queue.Count());
        // A pass that removes nothing changes nothing, so later passes would
        // find the same.
        if (!row) break;
        queue.RemoveAt(*row);
        list.DeleteItem(*row);
        ++removed;
    }
    return removed;
}

}  // namespace reelwright
