// The list view that shows the demo queue: one row per entry, with the
// columns Name, Game Type and Path.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "queue/DemoQueue.h"
#include "queue/DemoRemove.h"

namespace reelwright::win {

// Adds rows for the queue's entries from the 0-based `first` on, at the end.
void AppendDemoRows(HWND list, const DemoQueue& queue, std::size_t first);

// Shows the whole queue afresh.
void FillDemoRows(HWND list, const DemoQueue& queue);

// The text of one cell (row and column 0-based) as UTF-8.
std::string DemoCellText(HWND list, int row, int column);

// The list's selection as Remove sees it.
class DemoListViewSelection : public DemoListSelection {
public:
    explicit DemoListViewSelection(HWND list) : list_(list) {}
    std::optional<std::size_t> CurrentItem() override;
    bool IsSelected(std::size_t index) override;
    std::optional<std::size_t> FirstSelectedItem() override;
    void DeleteItem(std::size_t index) override;

private:
    HWND list_;
};

}  // namespace reelwright::win
