#include "app/win/frmSplash.h"

#include <commctrl.h>

#include "app/Startup.h"
#include "core/win/Controls.h"
#include "core/win/Picture.h"

namespace reelwright {

namespace {

constexpr int kSplashPictureResource = 101;
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;  // no taskbar button

}  // namespace

frmSplash::frmSplash(std::function<void()> onTick) : onTick_(std::move(onTick)) {}

frmSplash::~frmSplash() {
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool frmSplash::Load() {
    win::RegisterWindowClass(kClassName, &frmSplash::WindowProc);

    hwnd_ = ::CreateWindowExW(kExStyle, kClassName, L"Reelwright", kStyle, 0, 0, 10, 10, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    dpi_ = win::WindowDpi(hwnd_);
    font_ = win::CreateUiFont(dpi_);
    const SIZE size = win::WindowSizeForClient(kClient.width, kClient.height, kStyle, kExStyle, false, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    win::CenterOnScreen(hwnd_);

    const PixelRect picturePlace = ToPixels(kPicture, dpi_);
    picture_ = win::LoadPictureResource(kSplashPictureResource, picturePlace.width, picturePlace.height);
    imgSplash = win::CreateChild(hwnd_, WC_STATICW, L"", WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP | SS_REALSIZECONTROL,
                                 0, IDC_imgSplash, kPicture, dpi_, nullptr);
    ::SendMessageW(imgSplash, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
    ::SetWindowPos(imgSplash, nullptr, picturePlace.left, picturePlace.top, picturePlace.width, picturePlace.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    lblVersion = win::CreateChild(hwnd_, WC_STATICW, L" Version:", WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT, 0,
                                  IDC_lblVersion, kVersionLabel, dpi_, font_.get());
    ::SetWindowPos(lblVersion, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The label sits on the artwork's dark band.
    labelBrush_.reset(::CreateSolidBrush(RGB(24, 24, 32)));

    // Load: the design-time caption, three blanks and the version.
    win::SetText(lblVersion, SplashVersionCaption());
    ::SetTimer(hwnd_, IDT_tmrSplash, kSplashMilliseconds, nullptr);
    return true;
}

void frmSplash::Show() {
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
}

void frmSplash::tmrSplash_Timer() {
    // Unload first; the timer goes with the window, so there is no second tick.
    ::KillTimer(hwnd_, IDT_tmrSplash);
    HWND window = hwnd_;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
    if (onTick_) onTick_();
}

LRESULT CALLBACK frmSplash::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmSplash*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT frmSplash::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == IDT_tmrSplash) {
                tmrSplash_Timer();
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == lblVersion) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, RGB(235, 235, 235));
                ::SetBkColor(dc, RGB(24, 24, 32));
                return reinterpret_cast<LRESULT>(labelBrush_.get());
            }
            break;
        default: break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace reelwright
