// The main window's queue list: Add, Remove and Clear List, files dropped
// onto the window, the list's keys (Delete, Ctrl+A, Alt+Up, Alt+Down, the
// context-menu key) and its context menu with the new orders it offers, the
// rows read from the queue when the list asks for them, and the details read
// on the reader's thread (Map, Length and the tip) with the sort by a
// column's header.
#include "app/win/frmMain.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/SettingsStore.h"
#include "core/win/Controls.h"
#include "core/win/basAPI.h"
#include "queue/DemoAdd.h"
#include "queue/DemoDrop.h"
#include "queue/DemoRemove.h"
#include "queue/QueueOrder.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

namespace {

// The dropped paths in the order given; the drop's memory is released, also
// when reading them fails.
std::vector<std::string> TakeDroppedPaths(HDROP drop) {
    const basAPI::Unique<HDROP, ::DragFinish> owned(drop);
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    paths.reserve(count);
    for (UINT index = 0; index < count; ++index) {
        const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(::DragQueryFileW(drop, index, path.data(), length + 1));
        if (!path.empty()) paths.push_back(basAPI::Narrow(path));
    }
    return paths;
}

// The wait cursor while it lives: walking dropped folders can take a while,
// and no message is handled meanwhile.
class WaitCursor {
public:
    WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};


}  // namespace

void frmMain::cmdAdd_Click() {
    const std::size_t before = queue_.Count();
    try {
        AddDemos(services_, queue_);
    } catch (const std::exception&) {
        // Only the settings store throws here, before the dialog is shown.
        ReportUnreadableSettings();
    }
    ShowAppendedDemos(before);
}

void frmMain::ShowAppendedDemos(std::size_t countBefore) {
    win::ShowAppendedRows(lvwDemoQue, queue_);
    if (queue_.Count() != countBefore) ClearSortArrow();
    ReadNewDetails();
}

void frmMain::cmdRemove_Click() {
    win::DemoListViewSelection selection(lvwDemoQue, queue_);
    if (RemoveSelectedDemos(queue_, selection) > 0) ForgetRemovedDetails();
}

void frmMain::cmdClear_Click() {
    queue_.Clear();
    ForgetRemovedDetails();
    ClearSortArrow();
    RefreshDemoList();
}

void frmMain::ReportUnreadableSettings() {
    services_.prompts.ShowMessage("Your settings could not be read, so no demo files were added.", kAddErrorTitle,
                                  MessageIcon::Stop, MessageButtons::Ok);
}

void frmMain::RefreshDemoList() { win::ShowAllRows(lvwDemoQue, queue_); }

LRESULT frmMain::lvwDemoQue_Notify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
            win::FillDemoCell(queue_, details_, info);
            // A row in view whose details are still to come is read next.
            const int row = info.item.iItem;
            if (detailsReader_ && row >= 0 && static_cast<std::size_t>(row) < queue_.Count() &&
                !details_.count(queue_.IdAt(static_cast<std::size_t>(row))))
                detailsReader_->Prefer({queue_.IdAt(static_cast<std::size_t>(row))});
            return 0;
        }
        case LVN_GETINFOTIPW:
            win::FillDemoTip(queue_, details_, reinterpret_cast<NMLVGETINFOTIPW&>(header));
            return 0;
        case LVN_COLUMNCLICK: lvwDemoQue_ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem); return 0;
        case LVN_ODFINDITEMW: return win::FindDemoRow(queue_, reinterpret_cast<NMLVFINDITEMW&>(header));
        default: return 0;
    }
}

void frmMain::Form_DropFiles(HDROP drop) {
    const std::vector<std::string> paths = TakeDroppedPaths(drop);
    const std::size_t before = queue_.Count();
    try {
        const WaitCursor waiting;
        DropDemos(services_, queue_, paths);
    } catch (const std::exception&) {
        // Only the settings store throws here, before anything is added.
        ReportUnreadableSettings();
    }
    ShowAppendedDemos(before);
}

void frmMain::PrepareDemoList() {
    // A key whose action failed counts as handled (0).
    listKeys_.Install(lvwDemoQue, [this](HWND list, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const bool key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP;
        if (key && lvwDemoQue_KeyDown(message, wParam, lParam)) return 0;
        return ::DefSubclassProc(list, message, wParam, lParam);
    });
}

bool frmMain::lvwDemoQue_KeyDown(UINT message, WPARAM key, LPARAM flags) {
    const bool alt = (flags & (LPARAM{1} << 29)) != 0;
    if (key == VK_APPS) {
        // The menu opens when the key is let go, as the system does it.
        if (message == WM_KEYUP) lvwDemoQue_ContextMenu(-1);
        return true;
    }
    if (message == WM_KEYUP) return false;
    if (key == VK_F10 && win::KeyHeld(VK_SHIFT)) {
        lvwDemoQue_ContextMenu(-1);
        return true;
    }
    if (message == WM_SYSKEYDOWN) {
        if (!alt) return false;
        if (key == VK_UP) mnuMoveUp_Click();
        else if (key == VK_DOWN) mnuMoveDown_Click();
        else return false;
        return true;
    }
    if (key == VK_DELETE && !win::KeyHeld(VK_CONTROL)) {
        cmdRemove_Click();
        return true;
    }
    if (key == 'A' && win::KeyHeld(VK_CONTROL) && !win::KeyHeld(VK_SHIFT)) {
        SelectAllDemos();
        return true;
    }
    return false;
}

void frmMain::SelectAllDemos() { win::SelectAllRows(lvwDemoQue); }

void frmMain::lvwDemoQue_ContextMenu(LPARAM where) {
    const bool anySelected = ::SendMessageW(lvwDemoQue, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    const bool anyRow = !queue_.Empty();
    const basAPI::UniqueMenu owned(::CreatePopupMenu());
    if (!owned) return;
    HMENU menu = owned.get();
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

    const int chosen = win::TrackListMenu(lvwDemoQue, menu, where, hwnd());
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

void frmMain::ReadNewDetails() {
    if (!detailsReader_) return;
    // New entries are the ones appended since the last call: at the end.
    std::size_t first = queue_.Count();
    while (first > 0 && queue_.IdAt(first - 1) >= firstUnread_) --first;
    if (first == queue_.Count()) return;
    std::string gameFolder;
    try {
        gameFolder = ReadGameFolder(services_.store);
    } catch (const std::exception&) {
        // Left for the next call: Add and drops have told of the store already.
        return;
    }
    std::vector<DemoDetailsReader::Job> jobs;
    jobs.reserve(queue_.Count() - first);
    for (std::size_t row = first; row < queue_.Count(); ++row)
        jobs.push_back({queue_.IdAt(row), DemoFileOfEntry(gameFolder, queue_.Entries()[row])});
    firstUnread_ = queue_.NextId();
    detailsReader_->Add(std::move(jobs));

    const auto [top, count] = win::VisibleRows(lvwDemoQue);
    std::vector<DemoQueue::EntryId> visible;
    for (std::size_t row = top; row < queue_.Count() && row < top + count; ++row) visible.push_back(queue_.IdAt(row));
    detailsReader_->Prefer(visible);
}

void frmMain::ShowReadDetails() {
    if (!detailsReader_) return;
    std::vector<DemoDetailsReader::Result> results = detailsReader_->TakeResults();
    if (results.empty()) return;
    // Repainted only when a row in view has changed: a full queue brings
    // tens of thousands of results, and most of them are out of sight.
    const auto [top, count] = win::VisibleRows(lvwDemoQue);
    std::vector<DemoQueue::EntryId> inView;
    for (std::size_t row = top; row < queue_.Count() && row < top + count; ++row) inView.push_back(queue_.IdAt(row));
    bool seen = false;
    for (auto& result : results) {
        seen = seen || std::find(inView.begin(), inView.end(), result.id) != inView.end();
        details_.insert_or_assign(result.id, std::move(result.details));
    }
    if (seen) ::InvalidateRect(lvwDemoQue, nullptr, FALSE);
}

void frmMain::ForgetRemovedDetails() {
    std::unordered_set<DemoQueue::EntryId> kept;
    kept.reserve(queue_.Count());
    for (std::size_t row = 0; row < queue_.Count(); ++row) kept.insert(queue_.IdAt(row));
    std::erase_if(details_, [&](const auto& read) { return !kept.count(read.first); });
    if (detailsReader_) detailsReader_->Retain(kept);
}

void frmMain::ClearSortArrow() {
    if (sortColumn_ < 0) return;
    sortColumn_ = -1;
    win::ShowSortArrow(lvwDemoQue, -1, false);
}

void frmMain::lvwDemoQue_ColumnClick(int column) {
    if (column < 0 || column > static_cast<int>(QueueColumn::Length)) return;
    const bool descending = column == sortColumn_ && !sortDescending_;
    const std::vector<bool> selected = win::SelectedRows(lvwDemoQue, queue_.Count());
    ApplyQueueOrder(ColumnOrder(queue_, details_, static_cast<QueueColumn>(column), descending), selected);
    sortColumn_ = column;
    sortDescending_ = descending;
    win::ShowSortArrow(lvwDemoQue, column, descending);
}

}  // namespace reelwright
