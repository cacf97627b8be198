// The list view that shows the demo queue: a virtual list (LVS_OWNERDATA)
// with the columns Name, Game Type, Path, Map and Length, whose rows are read
// from the queue and its details when the list paints them. The list keeps only the row count and
// the selection, so showing or removing any number of demos costs the same.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "queue/DemoDetails.h"
#include "queue/DemoQueue.h"
#include "queue/DemoRemove.h"

namespace reelwright::win {

// Shows rows that were appended to the queue; the others keep their
// selection and the list does not scroll.
void ShowAppendedRows(HWND list, const DemoQueue& queue);

// Shows the whole queue afresh, with no row selected.
void ShowAllRows(HWND list, const DemoQueue& queue);

// Answers the list's LVN_GETDISPINFOW with the texts of the queue's entry
// and its details.
void FillDemoCell(const DemoQueue& queue, const DemoDetailsTable& details, NMLVDISPINFOW& info);

// Answers LVN_GETINFOTIPW with the tip of the row's details.
void FillDemoTip(const DemoQueue& queue, const DemoDetailsTable& details, NMLVGETINFOTIPW& tip);

// The rows the list shows at present: the first and how many.
std::pair<std::size_t, std::size_t> VisibleRows(HWND list);

// Shows the sort arrow on one column's header (up, or down when descending)
// and on no other; -1 shows none.
void ShowSortArrow(HWND list, int column, bool descending);

// Answers LVN_ODFINDITEMW (typing the beginning of a name jumps to it): the
// first row from the list's start row on, wrapping round, whose Name begins
// with the text, letter case ignored; -1 when there is none.
int FindDemoRow(const DemoQueue& queue, const NMLVFINDITEMW& find);

// The widths of the list's columns in pixels, in column order.
std::vector<int> ColumnWidths(HWND list);
// Gives the first columns the widths, in pixels.
void SetColumnWidths(HWND list, const std::vector<int>& widths);

// The text of one cell (row and column 0-based) as UTF-8.
std::string DemoCellText(HWND list, int row, int column);

// Which of the first `count` rows are selected.
std::vector<bool> SelectedRows(HWND list, std::size_t count);
// Selects and deselects the rows whose mark differs between the two.
void ChangeSelection(HWND list, const std::vector<bool>& before, const std::vector<bool>& after);
void SelectAllRows(HWND list);
// The row with the focus rectangle, or -1.
int FocusedRow(HWND list);

// Copies as much of the text as a list's buffer holds (a cell, a tip),
// always ending it.
void CopyCellText(std::string_view utf8, wchar_t* buffer, int capacity);

// Opens `menu` for the list where a WM_CONTEXTMENU says (`where`), or, asked
// from the keyboard (-1), below the focused row when it can be seen, else at
// the list's top left corner; the command chosen, or 0.
int TrackListMenu(HWND list, HMENU menu, LPARAM where, HWND owner);
// Gives the row the focus rectangle (its selection stays) and scrolls it into view.
void FocusRow(HWND list, int row);

// Stops the list from redrawing until it goes out of scope.
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
    DemoListViewSelection(HWND list, const DemoQueue& queue) : list_(list), queue_(queue) {}
    std::vector<std::size_t> SelectedItems() override;
    // No row stays selected; the focus goes to the row that now stands where
    // the first removed one stood.
    void RowsRemoved(const std::vector<std::size_t>& rows) override;

private:
    HWND list_;
    const DemoQueue& queue_;
};

}  // namespace reelwright::win
