// The main window's queue buttons: Add, Remove and Clear List, and the rows
// of the virtual list, read from the queue when the list asks for them.
#include <exception>

#include "app/win/frmMain.h"
#include "queue/DemoAdd.h"
#include "queue/DemoRemove.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

void frmMain::cmdAdd_Click() {
    try {
        AddDemos(services_, queue_);
    } catch (const std::exception&) {
        // Only the settings store throws here, before the dialog is shown.
        ReportUnreadableSettings();
    }
    win::ShowAppendedRows(lvwDemoQue, queue_);
}

void frmMain::cmdRemove_Click() {
    win::DemoListViewSelection selection(lvwDemoQue, queue_);
    RemoveSelectedDemos(queue_, selection);
}

void frmMain::cmdClear_Click() {
    queue_.Clear();
    RefreshDemoList();
}

void frmMain::ReportUnreadableSettings() {
    services_.prompts.ShowMessage("Your settings could not be read, so no demo files were added.", kAddErrorTitle,
                                  MessageIcon::Stop, MessageButtons::Ok);
}

void frmMain::RefreshDemoList() { win::ShowAllRows(lvwDemoQue, queue_); }

LRESULT frmMain::lvwDemoQue_Notify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: win::FillDemoCell(queue_, reinterpret_cast<NMLVDISPINFOW&>(header)); return 0;
        case LVN_ODFINDITEMW: return win::FindDemoRow(queue_, reinterpret_cast<NMLVFINDITEMW&>(header));
        default: return 0;
    }
}

}  // namespace reelwright
