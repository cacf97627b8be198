// Files and folders dropped onto the main window from Explorer join the queue.
#include <exception>
#include <string>
#include <vector>

#include "app/win/frmMain.h"
#include "core/win/basAPI.h"
#include "queue/DemoDrop.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

namespace {

void FinishDrop(HDROP drop) { ::DragFinish(drop); }

// The dropped paths in the order given; the drop's memory is released, also
// when reading them fails.
std::vector<std::string> TakeDroppedPaths(HDROP drop) {
    const basAPI::Unique<HDROP, FinishDrop> owned(drop);
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
    win::ShowAppendedRows(lvwDemoQue, queue_);
    if (queue_.Count() != before) ClearSortArrow();
    ReadNewDetails();
}

}  // namespace reelwright
