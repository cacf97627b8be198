// A subclass procedure on one window, owned by the object whose handler it
// calls. The subclass goes with the window (at WM_NCDESTROY) or with its
// owner, whichever goes first: it is never left on a destroyed window, and
// its handler never runs for an owner that is gone. Every message goes
// through the windows' exception guard and test hook, as a window's own
// messages do: a subclass procedure is a window procedure too.
#pragma once

#include <windows.h>

#include <functional>

namespace reelwright::win {

class WindowSubclass {
public:
    // Answers one message of the subclassed window; what it leaves alone it
    // passes on with DefSubclassProc.
    using Handler = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

    WindowSubclass() = default;
    ~WindowSubclass() { Remove(); }
    // The subclass is known to the system by this object's address.
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // Puts `handler` in front of `window`'s procedure, after removing it from
    // any window it was on. A message whose handler throws is reported and
    // answered with `failed`. False when the system refused.
    bool Install(HWND window, Handler handler, LRESULT failed = 0);
    // Takes the subclass off its window; nothing when it is on none.
    void Remove();
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND window_ = nullptr;
    Handler handler_;
    LRESULT failed_ = 0;
};

}  // namespace reelwright::win
