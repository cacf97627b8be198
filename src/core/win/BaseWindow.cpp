#include "core/win/BaseWindow.h"

#include <stdexcept>
#include <utility>

#include "core/win/CaptionFit.h"
#include "core/win/Controls.h"
#include "core/win/DpiApi.h"

namespace reelwright::win {

namespace {

MessageTestHook g_testHook = nullptr;
bool g_reporting = false;
WindowExceptionCapture* g_capture = nullptr;

}  // namespace

WindowExceptionCapture::WindowExceptionCapture() : outer_(g_capture) { g_capture = this; }

WindowExceptionCapture::~WindowExceptionCapture() { g_capture = outer_; }

std::wstring DescribeException(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        const std::wstring what = basAPI::Widen(exception.what());
        return what.empty() ? L"An unknown error." : what;
    } catch (...) {
    }
    return L"An unknown error.";
}

void ReportWindowException(HWND window, std::exception_ptr error) {
    if (g_capture) {
        if (!g_capture->first_) g_capture->first_ = error;
        return;
    }
    // The box runs its own message loop: a handler failing again while it is
    // up must not stack box upon box.
    if (g_reporting) return;
    g_reporting = true;
    HWND owner = window && ::IsWindow(window) ? ::GetAncestor(window, GA_ROOT) : nullptr;
    if (owner && !::IsWindowVisible(owner)) owner = nullptr;
    const std::wstring text = L"Reelwright could not finish what it was doing:\r\n\r\n" + DescribeException(error) +
                              L"\r\n\r\nThe program goes on running.";
    UINT flags = MB_OK | MB_ICONSTOP;
    if (!owner) flags |= MB_SETFOREGROUND | MB_TASKMODAL;
    ::MessageBoxW(owner, text.c_str(), L"Reelwright", flags);
    g_reporting = false;
}

// Declared by the test support alone (WinTestSupport.h): the program itself
// has no declaration of it and never sets the hook.
void SetMessageTestHook(MessageTestHook hook);
void SetMessageTestHook(MessageTestHook hook) { g_testHook = hook; }

void RunMessageTestHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_testHook) g_testHook(window, message, wParam, lParam);
}

WindowCore::~WindowCore() {
    if (hwnd_) {
        HWND window = hwnd_;
        Detach();
        ::DestroyWindow(window);
    }
}

bool WindowCore::CreateWindowFor(void* self, WNDPROC proc, const wchar_t* className, const std::wstring& title,
                                 DWORD style, DWORD exStyle, HWND owner, basAPI::UniqueMenu menu) {
    RegisterWindowClass(className, proc, programIcons_);
    HWND window = ::CreateWindowExW(exStyle, className, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                                    owner, menu.get(), ::GetModuleHandleW(nullptr), self);
    if (!window) return false;
    menu.release();  // the window's now: it goes with the window
    dpi_ = DpiForWindow(window);
    return true;
}

void WindowCore::Detach() {
    if (hwnd_) ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    controls_.clear();  // they went with the window
}

HWND WindowCore::CreateControl(const ControlSpec& row) {
    HWND parent = row.parent && *row.parent ? *row.parent : hwnd_;
    HWND control = ::CreateWindowExW(row.exStyle, row.className, row.text.c_str(), row.style | WS_CHILD | WS_VISIBLE,
                                     0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (!control) throw std::runtime_error("A control of the window could not be created.");
    if (row.handle) *row.handle = control;
    controls_.push_back({control, row.place, row.font, row.anchor});
    laidOutFor_ = {};
    return control;
}

void WindowCore::CreateControls(std::span<const ControlSpec> table) {
    for (const ControlSpec& row : table) CreateControl(row);
}

void WindowCore::SetHeadingFont(const wchar_t* face, double points, bool bold) {
    headingFace_ = face;
    headingPoints_ = points;
    headingBold_ = bold;
}

void WindowCore::ApplyDpi(int dpi) {
    dpi_ = dpi;
    // The new fonts first; the old ones stay alive until no control uses them.
    basAPI::UniqueFont font = CreateDialogFont(dpi_);
    basAPI::UniqueFont headingFont;
    if (headingFace_) headingFont = CreatePointFont(headingFace_, headingPoints_, headingBold_, dpi_);
    for (const PlacedControl& placed : controls_) {
        HFONT chosen = placed.font == ControlFont::Dialog    ? font.get()
                       : placed.font == ControlFont::Heading ? headingFont.get()
                                                             : nullptr;
        if (chosen) ::SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
    }
    SizeToClientArea();
    PlaceControls();

    basAPI::UniqueIcon bigIcon, smallIcon;
    if (programIcons_) {
        bigIcon = LoadProgramIcon(SystemMetricForDpi(SM_CXICON, dpi_));
        smallIcon = LoadProgramIcon(SystemMetricForDpi(SM_CXSMICON, dpi_));
        ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
        ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    }
    OnDpiApplied();

    // Now nothing shows the old fonts and icons any more: they go here.
    std::swap(font_, font);
    std::swap(headingFont_, headingFont);
    if (programIcons_) {
        std::swap(bigIcon_, bigIcon);
        std::swap(smallIcon_, smallIcon);
    }
}

bool WindowCore::Resizable() const {
    return hwnd_ && (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_THICKFRAME) != 0;
}

namespace {

// Counts a window's own sizing while it lives.
class SizingItself {
public:
    explicit SizingItself(int& depth) : depth_(depth) { ++depth_; }
    ~SizingItself() { --depth_; }
    SizingItself(const SizingItself&) = delete;
    SizingItself& operator=(const SizingItself&) = delete;

private:
    int& depth_;
};

}  // namespace

void WindowCore::SizeToClientArea() {
    // A maximised or minimised window keeps the size the system gave it; it
    // comes back to clientSize_ when it is restored.
    if (::IsZoomed(hwnd_) || ::IsIconic(hwnd_)) return;
    const SizingItself sizing(sizingItself_);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const bool hasMenu = ::GetMenu(hwnd_) != nullptr;
    const SIZE size = WindowSizeForClient(clientSize_.width, clientSize_.height, style, exStyle, hasMenu, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps, or a frame the system draws otherwise than it
    // computed, leaves another client area: correct the size by the difference.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int missingWidth = TwipsToPixels(clientSize_.width, dpi_) - client.right;
    const int missingHeight = TwipsToPixels(clientSize_.height, dpi_) - client.bottom;
    if (missingWidth || missingHeight)
        ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + missingWidth, size.cy + missingHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowCore::PlaceControls() {
    // How much larger than designed the client area is; only a window with a
    // sizing border is ever larger.
    int extraWidth = 0, extraHeight = 0;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    laidOutFor_ = {client.right, client.bottom, dpi_};
    if (Resizable() && !::IsIconic(hwnd_)) {
        extraWidth = client.right - TwipsToPixels(client_.width, dpi_);
        extraHeight = client.bottom - TwipsToPixels(client_.height, dpi_);
    }
    auto placeOf = [&](const PlacedControl& placed) {
        const PixelRect designed = ToPixels(placed.place, dpi_);
        if (::GetParent(placed.control) != hwnd_) return designed;
        return Anchored(designed, placed.anchor, extraWidth, extraHeight);
    };
    for (const PlacedControl& placed : controls_) {
        const PixelRect pixels = placeOf(placed);
        ::SetWindowPos(placed.control, nullptr, pixels.left, pixels.top, pixels.width, pixels.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Every control at its place first: a caption grows only into room that
    // no other control has.
    for (const PlacedControl& placed : controls_) FitCaption(placed.control, placeOf(placed), dpi_);
    // A frame drawn at its old size and the places that controls left are
    // painted again: the group box does not erase what it encloses.
    if (Resizable()) ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WindowCore::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    const SizingItself sizing(sizingItself_);
    // The window goes where the system suggests (on the monitor it moved to);
    // its size then follows from the client area, in twips, at the new DPI.
    // A maximised window takes the suggested size too: it fills the new monitor.
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        const UINT keepSize = ::IsZoomed(hwnd_) ? 0u : static_cast<UINT>(SWP_NOSIZE);
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
    }
    const int dpi = HIWORD(wParam);
    ApplyDpi(dpi > 0 ? dpi : DpiForWindow(hwnd_));
}

void WindowCore::OnSized(WPARAM kind, int width, int height) {
    if (sizingItself_ > 0 || controls_.empty() || kind == SIZE_MINIMIZED) return;
    if (kind == SIZE_RESTORED) clientSize_ = {PixelsToTwips(width, dpi_), PixelsToTwips(height, dpi_)};
    if (laidOutFor_ == LaidOut{width, height, dpi_}) return;
    PlaceControls();
}

void WindowCore::OnGetMinMaxInfo(MINMAXINFO& info) const {
    // The designed client area plus what the border, caption and menu bar
    // take now; computed where the window cannot be measured (minimised).
    RECT window{}, client{};
    ::GetWindowRect(hwnd_, &window);
    ::GetClientRect(hwnd_, &client);
    const int designedWidth = TwipsToPixels(client_.width, dpi_);
    const int designedHeight = TwipsToPixels(client_.height, dpi_);
    if (::IsIconic(hwnd_) || client.right <= 0 || client.bottom <= 0) {
        const SIZE size = WindowSizeForClient(client_.width, client_.height,
                                              static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_STYLE)),
                                              static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_EXSTYLE)),
                                              ::GetMenu(hwnd_) != nullptr, dpi_);
        info.ptMinTrackSize = {size.cx, size.cy};
        return;
    }
    info.ptMinTrackSize = {designedWidth + (window.right - window.left) - client.right,
                           designedHeight + (window.bottom - window.top) - client.bottom};
}

LRESULT WindowCore::Dispatch(WindowCore* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT (*handler)(WindowCore*, UINT, WPARAM, LPARAM)) {
    // A failed creation must fail CreateWindowExW; anything else answers 0.
    const LRESULT failed = message == WM_CREATE ? -1 : 0;
    const LRESULT result = CallGuarded(window, failed, [&]() -> LRESULT {
        RunMessageTestHook(window, message, wParam, lParam);
        if (message == WM_DPICHANGED) {
            self->OnDpiChanged(wParam, lParam);
            return 0;
        }
        if (message == WM_GETMINMAXINFO && self->Resizable()) {
            self->OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        }
        if (message == WM_SIZE && self->Resizable())
            self->OnSized(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return handler(self, message, wParam, lParam);
    });
    if (message == WM_NCDESTROY) self->Detach();
    return result;
}

}  // namespace reelwright::win
