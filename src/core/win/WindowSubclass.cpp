#include "core/win/WindowSubclass.h"

#include <commctrl.h>

#include <utility>

#include "core/win/BaseWindow.h"

namespace reelwright::win {

bool WindowSubclass::Install(HWND window, Handler handler, LRESULT failed) {
    Remove();
    handler_ = std::move(handler);
    failed_ = failed;
    if (!window || !::SetWindowSubclass(window, &Procedure, reinterpret_cast<UINT_PTR>(this),
                                        reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    return true;
}

void WindowSubclass::Remove() {
    // The handler is kept: Remove may run from inside it.
    if (!window_) return;
    ::RemoveWindowSubclass(std::exchange(window_, nullptr), &Procedure, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    auto* self = reinterpret_cast<WindowSubclass*>(data);
    if (message == WM_NCDESTROY) {
        // The last message the window gets: the subclass goes before it does.
        self->Remove();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    return CallGuarded(window, self->failed_, [&]() -> LRESULT {
        RunMessageTestHook(window, message, wParam, lParam);
        return self->handler_(window, message, wParam, lParam);
    });
}

}  // namespace reelwright::win
