// The list view that shows the demo queue: one row per entry, with the
// columns Name, Game Type and Path.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "queue/DemoQueue.h"
#include "queue/DemoRemove.h"

namespace reelwright::win {

// Adds rows for the queue's entries from the 0-based `first` on, at the end.
void AppendDemoRows(HWND list, const DemoQueue& queue, std::size_t first);

// Shows the whole queue afresh.
void FillDemoRows(HWND list, const DemoQueue& queue);

// The text of one cell (row and column 0-based) as UTF-8.
std::string DemoCellText(HWND list, int row, int column);

// Stops the list from redrawing until it goes out of scope; redrawing after
// every row makes a large change crawl.
class RedrawPause {
public:
    explicit RedrawPause(HWND list);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND list_;
};

// The list's selection as Remove sees it.
class DemoListViewSelection : public DemoListSelection {
public:
    explicit DemoListViewSelection(HWND list) : list_(list) {}
    std::vector<std::size_t> SelectedItems() override;
    void DeleteItem(std::size_t index) override;

private:
    HWND list_;
};

}  // namespace reelwright::win
