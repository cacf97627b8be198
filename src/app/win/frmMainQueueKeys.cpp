// The keys of the queue's list: Delete removes the selected rows, Ctrl+A
// selects them all, Alt+Up and Alt+Down move them, Shift+F10 and the
// context-menu key open the list's menu. Enter is left to the dialog
// manager, which presses Launch.
#include "app/win/frmMain.h"

#include <commctrl.h>

#include "queue/win/DemoListView.h"

namespace reelwright {

namespace {

constexpr UINT_PTR kKeysSubclassId = 1;

bool Held(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

LRESULT CALLBACK DemoListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* window = reinterpret_cast<frmMain*>(data);
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP: {
            // A subclass procedure is a window procedure too: nothing may
            // unwind out of it. A key whose action failed counts as handled.
            const LRESULT handled = win::CallGuarded(list, TRUE, [&]() -> LRESULT {
                win::RunMessageTestHook(list, message, wParam, lParam);
                return window->lvwDemoQue_KeyDown(message, wParam, lParam);
            });
            if (handled) return 0;
            break;
        }
        case WM_NCDESTROY: ::RemoveWindowSubclass(list, &DemoListProc, kKeysSubclassId); break;
        default: break;
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void frmMain::PrepareDemoList() {
    ::SetWindowSubclass(lvwDemoQue, &DemoListProc, kKeysSubclassId, reinterpret_cast<DWORD_PTR>(this));
    // Files dropped anywhere on the window, the list included, reach it.
    ::DragAcceptFiles(hwnd(), TRUE);
}

bool frmMain::lvwDemoQue_KeyDown(UINT message, WPARAM key, LPARAM flags) {
    const bool alt = (flags & (LPARAM{1} << 29)) != 0;
    if (key == VK_APPS) {
        // The menu opens when the key is let go, as the system does it.
        if (message == WM_KEYUP) lvwDemoQue_ContextMenu(-1);
        return true;
    }
    if (message == WM_KEYUP) return false;
    if (key == VK_F10 && Held(VK_SHIFT)) {
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
    if (key == VK_DELETE && !Held(VK_CONTROL)) {
        cmdRemove_Click();
        return true;
    }
    if (key == 'A' && Held(VK_CONTROL) && !Held(VK_SHIFT)) {
        SelectAllDemos();
        return true;
    }
    return false;
}

void frmMain::SelectAllDemos() { win::SelectAllRows(lvwDemoQue); }

}  // namespace reelwright
