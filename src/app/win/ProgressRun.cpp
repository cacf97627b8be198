// Work run with progress: the work runs on a thread of its own while this
// thread keeps dispatching messages with the main window disabled. When the
// work takes more than a moment, a small window owned by the main window
// shows the text, a progress bar and Cancel (Esc and Enter work too); Cancel
// asks the work to end, and the call returns once it has.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <exception>
#include <thread>

#include "app/win/Win32Prompts.h"
#include "core/win/Controls.h"
#include "core/win/DpiApi.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

namespace {

constexpr wchar_t kProgressClass[] = L"ReelwrightProgress";
constexpr DWORD kShowAfterMs = 400;  // shorter work shows no window
constexpr DWORD kRefreshMs = 100;
constexpr int kBarSteps = 1000;
constexpr const char* kCancelCaption = "Cancel";
constexpr const char* kCancellingText = "Cancelling...";

class Progress final : public ProgressReport {
public:
    explicit Progress(HANDLE ended) : ended_(ended) {}

    void Report(std::uint64_t done, std::uint64_t total) override {
        total_.store(total, std::memory_order_relaxed);
        done_.store(done, std::memory_order_relaxed);
    }
    bool CancelRequested() override { return cancel_.load(); }

    void Cancel() { cancel_.store(true); }
    bool Cancelled() const { return cancel_.load(); }
    int BarPosition() const {
        const std::uint64_t total = total_.load(std::memory_order_relaxed);
        const std::uint64_t done = done_.load(std::memory_order_relaxed);
        if (total == 0) return 0;
        return static_cast<int>(std::min<std::uint64_t>(done, total) * kBarSteps / total);
    }
    void End() { ::SetEvent(ended_); }

private:
    HANDLE ended_;
    std::atomic<std::uint64_t> done_{0};
    std::atomic<std::uint64_t> total_{0};
    std::atomic<bool> cancel_{false};
};

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* progress = reinterpret_cast<Progress*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE:
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL && progress) {
                progress->Cancel();
                ::EnableWindow(::GetDlgItem(window, IDCANCEL), FALSE);
                SetText(::GetDlgItem(window, 100), kCancellingText);
            }
            return 0;
        case WM_CLOSE:  // the caption's close button cancels; the window goes when the work has ended
            ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
            return 0;
        default: break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// The window, created once the work has taken a moment.
class ProgressWindow {
public:
    ProgressWindow(HWND owner, const std::string& title, const std::string& text, Progress& progress) {
        RegisterWindowClass(kProgressClass, &ProgressProc, true);
        const int dpi = owner ? DpiForWindow(owner) : SystemDpi();
        const auto px = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        RECT frame{0, 0, px(380), px(112)};
        AdjustWindowRectForDpi(frame, style, false, 0, dpi);
        window_ = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kProgressClass, basAPI::Widen(title).c_str(), style,
                                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                    owner, nullptr, ::GetModuleHandleW(nullptr), &progress);
        if (!window_) return;
        font_ = CreateDialogFont(dpi);
        const auto child = [&](const wchar_t* className, const std::string& caption, DWORD childStyle, int id, int x,
                               int y, int width, int height) {
            HWND control = ::CreateWindowExW(0, className, basAPI::Widen(caption).c_str(),
                                             WS_CHILD | WS_VISIBLE | childStyle, px(x), px(y), px(width), px(height),
                                             window_,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                             ::GetModuleHandleW(nullptr), nullptr);
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
            return control;
        };
        child(L"STATIC", text, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 100, 12, 12, 356, 20);
        bar_ = child(PROGRESS_CLASSW, "", PBS_SMOOTH, 101, 12, 38, 356, 18);
        ::SendMessageW(bar_, PBM_SETRANGE32, 0, kBarSteps);
        HWND cancel = child(L"BUTTON", kCancelCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL, 288, 72, 80, 26);
        if (owner) {
            RECT place{};
            ::GetWindowRect(owner, &place);
            RECT mine{};
            ::GetWindowRect(window_, &mine);
            const int width = mine.right - mine.left;
            const int height = mine.bottom - mine.top;
            ::SetWindowPos(window_, nullptr, place.left + (place.right - place.left - width) / 2,
                           place.top + (place.bottom - place.top - height) / 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            CenterOnScreen(window_);
        }
        ::ShowWindow(window_, SW_SHOW);
        ::SetFocus(cancel);
    }
    ~ProgressWindow() {
        if (window_) ::DestroyWindow(window_);
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    HWND hwnd() const { return window_; }
    void Show(int position) {
        if (bar_) ::SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }

private:
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
    basAPI::UniqueFont font_;
};

}  // namespace

void Win32Prompts::RunWithProgress(const std::string& title, const std::string& text, const ProgressWork& work) {
    basAPI::UniqueHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ended) {
        // No way to wait while dispatching: the work runs here, without a window.
        Progress progress(nullptr);
        work(progress);
        return;
    }
    Progress progress(ended.get());
    // What the work throws is thrown again here, once it has ended.
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        progress.End();
    });
    const bool ownerWasEnabled = owner_ && ::IsWindowEnabled(owner_);
    if (ownerWasEnabled) ::EnableWindow(owner_, FALSE);

    std::unique_ptr<ProgressWindow> window;
    const ULONGLONG started = ::GetTickCount64();
    bool quit = false;
    WPARAM quitCode = 0;
    HANDLE handle = ended.get();
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, kRefreshMs, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        if (!window && ::GetTickCount64() - started >= kShowAfterMs)
            window = std::make_unique<ProgressWindow>(owner_, title, text, progress);
        if (window) window->Show(progress.BarPosition());
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                progress.Cancel();
                continue;
            }
            if (window && ::IsDialogMessageW(window->hwnd(), &message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    worker.join();
    // The owner is enabled before the window goes, so that it is activated again.
    if (ownerWasEnabled) ::EnableWindow(owner_, TRUE);
    window.reset();
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    if (failure) std::rethrow_exception(failure);
}

}  // namespace reelwright::win
