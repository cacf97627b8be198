// The main window's queue buttons: Add, Remove and Clear List, and the rows
// of the virtual list, read from the queue when the list asks for them.
#include <exception>

#include "app/win/frmMain.h"
#include "queue/DemoAdd.h"
#include "queue/DemoRemove.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

void frmMain::cmdAdd_Click() {
    const std::size_t before = queue_.Count();
    try {
        AddDemos(services_, queue_);
    } catch (const std::exception&) {
        // Only the settings store throws here, before the dialog is shown.
        ReportUnreadableSettings();
    }
    win::ShowAppendedRows(lvwDemoQue, queue_);
    if (queue_.Count() != before) ClearSortArrow();
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

}  // namespace reelwright
