#include "queue/win/DemoListView.h"

#include <commctrl.h>

#include "shell/win/basAPI.h"

namespace reelwright::win {

namespace {

void SetCell(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = basAPI::Widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Redrawing after every row makes a large add crawl.
class RedrawPause {
public:
    explicit RedrawPause(HWND list) : list_(list) { ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPause() {
        ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND list_;
};

std::optional<std::size_t> NextItem(HWND list, UINT flags) {
    const LRESULT item = ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(flags, 0));
    if (item < 0) return std::nullopt;
    return static_cast<std::size_t>(item);
}

}  // namespace

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

std::optional<std::size_t> DemoListViewSelection::CurrentItem() { return NextItem(list_, LVNI_FOCUSED); }

bool DemoListViewSelection::IsSelected(std::size_t index) {
    return (::SendMessageW(list_, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

std::optional<std::size_t> DemoListViewSelection::FirstSelectedItem() { return NextItem(list_, LVNI_SELECTED); }

void DemoListViewSelection::DeleteItem(std::size_t index) { ::SendMessageW(list_, LVM_DELETEITEM, index, 0); }

}  // namespace reelwright::win
