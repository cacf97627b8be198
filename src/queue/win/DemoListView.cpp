#include "queue/win/DemoListView.h"

#include <commctrl.h>

#include "core/win/basAPI.h"

namespace reelwright::win {

namespace {

void SetCell(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = basAPI::Widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

RedrawPause::RedrawPause(HWND list) : list_(list) { ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }

RedrawPause::~RedrawPause() {
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void AppendDemoRows(HWND list, const DemoQueue& queue, std::size_t first) {
    if (first >= queue.Count()) return;
    RedrawPause pause(list);
    ::SendMessageW(list, LVM_SETITEMCOUNT, queue.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    for (std::size_t index = first; index < queue.Count(); ++index) {
        const DemoQueueEntry& entry = queue.Entries()[index];
        std::wstring name = basAPI::Widen(entry.Name);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(index);
        item.pszText = name.data();
        const int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0) continue;
        SetCell(list, row, 1, entry.GameType);
        SetCell(list, row, 2, entry.Path);
    }
}

void FillDemoRows(HWND list, const DemoQueue& queue) {
    {
        RedrawPause pause(list);
        ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    }
    AppendDemoRows(list, queue, 0);
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

std::vector<std::size_t> DemoListViewSelection::SelectedItems() {
    std::vector<std::size_t> rows;
    for (LRESULT row = -1;;) {
        row = ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
        if (row < 0) return rows;
        rows.push_back(static_cast<std::size_t>(row));
    }
}

void DemoListViewSelection::DeleteItem(std::size_t index) { ::SendMessageW(list_, LVM_DELETEITEM, index, 0); }

}  // namespace reelwright::win
