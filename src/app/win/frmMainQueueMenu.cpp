// The context menu of the queue's list and the new orders it offers: Move Up,
// Move Down, Remove, Clear List and Sort by Name.
#include "app/win/frmMain.h"

#include <commctrl.h>

#include "queue/QueueOrder.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

namespace {

// Where the menu opens when it is asked for from the keyboard: below the
// focused row when it can be seen, else at the list's top left corner.
POINT KeyboardMenuPoint(HWND list) {
    POINT point{0, 0};
    const int focused = win::FocusedRow(list);
    RECT row{};
    row.left = LVIR_LABEL;
    RECT client{};
    ::GetClientRect(list, &client);
    if (focused >= 0 && ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&row)) &&
        row.bottom > client.top && row.bottom < client.bottom)
        point = {row.left, row.bottom};
    ::ClientToScreen(list, &point);
    return point;
}

}  // namespace

void frmMain::lvwDemoQue_ContextMenu(LPARAM where) {
    const bool anySelected = ::SendMessageW(lvwDemoQue, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    const bool anyRow = !queue_.Empty();
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    auto add = [&](int id, const wchar_t* caption, bool enabled) {
        ::AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(id), caption);
    };
    add(IDM_mnuMoveUp, L"Move &Up\tAlt+Up", anySelected);
    add(IDM_mnuMoveDown, L"Move &Down\tAlt+Down", anySelected);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(IDM_mnuRemove, L"&Remove\tDel", anySelected);
    add(IDM_mnuClearList, L"&Clear List", anyRow);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(IDM_mnuSortByName, L"&Sort by Name", anyRow);

    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where == -1) point = KeyboardMenuPoint(lvwDemoQue);
    const int chosen = static_cast<int>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x,
                                                         point.y, 0, hwnd(), nullptr));
    ::DestroyMenu(menu);
    switch (chosen) {
        case IDM_mnuMoveUp: mnuMoveUp_Click(); break;
        case IDM_mnuMoveDown: mnuMoveDown_Click(); break;
        case IDM_mnuRemove: cmdRemove_Click(); break;
        case IDM_mnuClearList: cmdClear_Click(); break;
        case IDM_mnuSortByName: mnuSortByName_Click(); break;
        default: break;
    }
}

void frmMain::mnuMoveUp_Click() {
    const std::vector<bool> selected = win::SelectedRows(lvwDemoQue, queue_.Count());
    ApplyQueueOrder(MoveUpOrder(selected), selected);
}

void frmMain::mnuMoveDown_Click() {
    const std::vector<bool> selected = win::SelectedRows(lvwDemoQue, queue_.Count());
    ApplyQueueOrder(MoveDownOrder(selected), selected);
}

void frmMain::mnuSortByName_Click() {
    const std::vector<bool> selected = win::SelectedRows(lvwDemoQue, queue_.Count());
    ApplyQueueOrder(NameOrder(queue_), selected);
}

// The selection and the focus follow their entries to their new rows.
void frmMain::ApplyQueueOrder(const std::vector<std::size_t>& order, const std::vector<bool>& selectedBefore) {
    if (order.empty()) return;
    const int focused = win::FocusedRow(lvwDemoQue);
    if (!queue_.Reorder(order)) return;
    // Whatever reordered the queue, it is no longer sorted by a header; a
    // header click shows its arrow again after this.
    ClearSortArrow();
    win::ChangeSelection(lvwDemoQue, selectedBefore, Reordered(selectedBefore, order));
    if (focused >= 0) win::FocusRow(lvwDemoQue, static_cast<int>(NewPosition(static_cast<std::size_t>(focused), order)));
    ::InvalidateRect(lvwDemoQue, nullptr, FALSE);
}

}  // namespace reelwright
