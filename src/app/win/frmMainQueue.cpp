// The main window's queue buttons: Add, Remove and Clear List.
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
        services_.prompts.ShowMessage("Your settings could not be read, so no demo files were added.", kAddErrorTitle,
                                      MessageIcon::Stop, MessageButtons::Ok);
    }
    win::AppendDemoRows(lvwDemoQue, queue_, before);
}

void frmMain::cmdRemove_Click() {
    win::DemoListViewSelection selection(lvwDemoQue);
    win::RedrawPause pause(lvwDemoQue);
    RemoveSelectedDemos(queue_, selection);
}

void frmMain::cmdClear_Click() {
    queue_.Clear();
    RefreshDemoList();
}

void frmMain::RefreshDemoList() { win::FillDemoRows(lvwDemoQue, queue_); }

}  // namespace reelwright
