#include "queue/win/DemoListView.h"

#include <algorithm>

#include "core/win/basAPI.h"
#include "queue/DemoDetailsText.h"

namespace reelwright::win {

namespace {

void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

const DemoDetails* DetailsOf(const DemoQueue& queue, const DemoDetailsTable& details, std::size_t row) {
    const auto found = details.find(queue.IdAt(row));
    return found == details.end() ? nullptr : &found->second;
}

std::string CellOf(const DemoQueue& queue, const DemoDetailsTable& details, std::size_t row, int column) {
    const DemoQueueEntry& entry = queue.Entries()[row];
    switch (column) {
        case 1: return entry.GameType;
        case 2: return entry.Path;
        case 3: return MapCellText(DetailsOf(queue, details, row));
        case 4: return LengthCellText(DetailsOf(queue, details, row));
        default: return entry.Name;
    }
}


}  // namespace

RedrawPause::RedrawPause(HWND list) : list_(list) { ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }

RedrawPause::~RedrawPause() {
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void ShowAppendedRows(HWND list, const DemoQueue& queue) {
    ::SendMessageW(list, LVM_SETITEMCOUNT, queue.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    ::InvalidateRect(list, nullptr, FALSE);
}

void ShowAllRows(HWND list, const DemoQueue& queue) {
    // Emptied first, so that no selection is left over and no row is redrawn
    // one by one.
    RedrawPause pause(list);
    ::SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
    SetRowState(list, -1, 0, LVIS_SELECTED);
    ::SendMessageW(list, LVM_SETITEMCOUNT, queue.Count(), 0);
}

void FillDemoCell(const DemoQueue& queue, const DemoDetailsTable& details, NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= queue.Count()) return;
    CopyCellText(CellOf(queue, details, static_cast<std::size_t>(item.iItem), item.iSubItem), item.pszText,
             item.cchTextMax);
}

void FillDemoTip(const DemoQueue& queue, const DemoDetailsTable& details, NMLVGETINFOTIPW& tip) {
    if (tip.iItem < 0 || static_cast<std::size_t>(tip.iItem) >= queue.Count()) return;
    CopyCellText(DemoInfoTip(DetailsOf(queue, details, static_cast<std::size_t>(tip.iItem))), tip.pszText, tip.cchTextMax);
}

std::pair<std::size_t, std::size_t> VisibleRows(HWND list) {
    const LRESULT top = ::SendMessageW(list, LVM_GETTOPINDEX, 0, 0);
    const LRESULT count = ::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0);
    // A row cut by the bottom edge is seen too.
    return {static_cast<std::size_t>(std::max<LRESULT>(top, 0)), static_cast<std::size_t>(std::max<LRESULT>(count, 0)) + 1};
}

void ShowSortArrow(HWND list, int column, bool descending) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < columns; ++index) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) continue;
        const int before = item.fmt;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (index == column) item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        if (item.fmt != before)
            ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
}

int FindDemoRow(const DemoQueue& queue, const NMLVFINDITEMW& find) {
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    const std::wstring_view typed = find.lvfi.psz;
    const std::size_t count = queue.Count();
    if (count == 0 || typed.empty()) return -1;
    const std::size_t start = find.iStart >= 0 && static_cast<std::size_t>(find.iStart) < count
                                  ? static_cast<std::size_t>(find.iStart)
                                  : 0;
    const bool wrap = (find.lvfi.flags & LVFI_WRAP) != 0;
    const std::size_t rows = wrap ? count : count - start;
    for (std::size_t step = 0; step < rows; ++step) {
        const std::size_t row = (start + step) % count;
        const std::wstring name = basAPI::Widen(queue.Entries()[row].Name);
        if (name.size() < typed.size()) continue;
        const bool whole = !(find.lvfi.flags & LVFI_PARTIAL);
        if (whole && name.size() != typed.size()) continue;
        if (::CompareStringOrdinal(name.data(), static_cast<int>(typed.size()), typed.data(),
                                   static_cast<int>(typed.size()), TRUE) == CSTR_EQUAL)
            return static_cast<int>(row);
    }
    return -1;
}

std::vector<int> ColumnWidths(HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::vector<int> widths;
    for (int column = 0; column < columns; ++column)
        widths.push_back(static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)));
    return widths;
}

void SetColumnWidths(HWND list, const std::vector<int>& widths) {
    for (std::size_t column = 0; column < widths.size(); ++column)
        // The list reads a 16-bit signed width, where -1 and -2 mean "fit the texts".
        ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(std::clamp(widths[column], 0, 32767), 0));
}

std::string DemoCellText(HWND list, int row, int column) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return basAPI::Narrow(text);
        }
        text.resize(text.size() * 2);
    }
}

namespace {

// How many rows are selected: one message, where asking row by row costs one
// message per selected row.
std::size_t SelectedCount(HWND list) {
    return static_cast<std::size_t>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

std::size_t RowCount(HWND list) { return static_cast<std::size_t>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

std::vector<bool> SelectedRows(HWND list, std::size_t count) {
    const std::size_t selectedCount = SelectedCount(list);
    if (selectedCount == 0) return std::vector<bool>(count, false);
    if (selectedCount >= count && RowCount(list) == count) return std::vector<bool>(count, true);
    std::vector<bool> selected(count, false);
    for (LRESULT row = -1;;) {
        row = ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
        if (row < 0 || static_cast<std::size_t>(row) >= count) return selected;
        selected[static_cast<std::size_t>(row)] = true;
    }
}

void ChangeSelection(HWND list, const std::vector<bool>& before, const std::vector<bool>& after) {
    RedrawPause pause(list);
    const std::size_t rows = std::max(before.size(), after.size());
    for (std::size_t row = 0; row < rows; ++row) {
        const bool was = row < before.size() && before[row];
        const bool is = row < after.size() && after[row];
        if (was != is) SetRowState(list, static_cast<int>(row), is ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
}

void SelectAllRows(HWND list) {
    RedrawPause pause(list);
    SetRowState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void CopyCellText(std::string_view utf8, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) return;
    const std::wstring text = basAPI::Widen(utf8);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(text.data(), length, buffer);
    buffer[length] = L'\0';
}

int FocusedRow(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
}

int TrackListMenu(HWND list, HMENU menu, LPARAM where, HWND owner) {
    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where == -1) {
        point = {0, 0};
        const int focused = FocusedRow(list);
        RECT row{};
        row.left = LVIR_LABEL;
        RECT client{};
        ::GetClientRect(list, &client);
        if (focused >= 0 &&
            ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&row)) &&
            row.bottom > client.top && row.bottom < client.bottom)
            point = {row.left, row.bottom};
        ::ClientToScreen(list, &point);
    }
    return static_cast<int>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, owner, nullptr));
}

void FocusRow(HWND list, int row) {
    if (row < 0) return;
    SetRowState(list, row, LVIS_FOCUSED, LVIS_FOCUSED);
    ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::vector<std::size_t> DemoListViewSelection::SelectedItems() {
    std::vector<std::size_t> rows;
    const std::size_t count = RowCount(list_);
    if (SelectedCount(list_) >= count) {
        // Everything selected, as after Ctrl+A.
        rows.resize(count);
        for (std::size_t row = 0; row < count; ++row) rows[row] = row;
        return rows;
    }
    for (LRESULT row = -1;;) {
        row = ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
        if (row < 0) return rows;
        rows.push_back(static_cast<std::size_t>(row));
    }
}

void DemoListViewSelection::RowsRemoved(const std::vector<std::size_t>& rows) {
    ShowAllRows(list_, queue_);
    if (rows.empty() || queue_.Empty()) return;
    const std::size_t first = *std::min_element(rows.begin(), rows.end());
    FocusRow(list_, static_cast<int>(std::min(first, queue_.Count() - 1)));
}

}  // namespace reelwright::win
