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

frmSplash::frmSplash(std::function<void()> onTick) : BaseWindow(kClient), onTick_(std::move(onTick)) {}

bool frmSplash::Load() {
    if (!Create(kClassName, L"Reelwright", kStyle, kExStyle, nullptr)) return false;
    using win::ControlFont;
    const win::ControlSpec table[] = {
        {&imgSplash, WC_STATICW, L"", WS_CLIPSIBLINGS | SS_BITMAP | SS_REALSIZECONTROL, 0, IDC_imgSplash, kPicture,
         nullptr, ControlFont::None},
        // The design-time caption; the load replaces it.
        {&lblVersion, WC_STATICW, L" Version:", WS_CLIPSIBLINGS | SS_LEFT, 0, IDC_lblVersion, kVersionLabel},
    };
    PrepareLayout(true);
    CreateControls(table);
    ::SetWindowPos(lblVersion, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The label sits on the artwork's dark band.
    labelBrush_.reset(::CreateSolidBrush(RGB(24, 24, 32)));
    ApplyDpi(dpi());

    // Load: the design-time caption, three blanks and the version.
    win::SetText(lblVersion, SplashVersionCaption());
    PlaceControls();
    ::SetTimer(hwnd(), IDT_tmrSplash, kSplashMilliseconds, nullptr);
    return true;
}

void frmSplash::OnDpiApplied() {
    // The artwork decoded at the picture's size for this DPI.
    const PixelRect place = ToPixels(kPicture, dpi());
    basAPI::UniqueBitmap picture = win::LoadPictureResource(kSplashPictureResource, place.width, place.height);
    ::SendMessageW(imgSplash, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    ::SetWindowPos(imgSplash, nullptr, place.left, place.top, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    picture_ = std::move(picture);
}

void frmSplash::Show() {
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(hwnd());
}

void frmSplash::tmrSplash_Timer() {
    // Unload first; the timer goes with the window, so there is no second tick.
    ::KillTimer(hwnd(), IDT_tmrSplash);
    ::DestroyWindow(hwnd());
    if (onTick_) onTick_();
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
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

}  // namespace reelwright
