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

HFONT WindowCore::FontOf(ControlFont font) const {
    if (fontsDpi_ != dpi_) return nullptr;  // none made for this DPI yet
    return font == ControlFont::Dialog ? font_.get() : font == ControlFont::Heading ? headingFont_.get() : nullptr;
}

WindowCore::Growth WindowCore::GrowthNow() const {
    // How much larger than designed the client area is; only a window with a
    // sizing border is ever larger.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    Growth growth{client.right, client.bottom, 0, 0};
    if (Resizable() && !::IsIconic(hwnd_)) {
        growth.width = client.right - TwipsToPixels(client_.width, dpi_);
        growth.height = client.bottom - TwipsToPixels(client_.height, dpi_);
    }
    return growth;
}

PixelRect WindowCore::PlaceOf(const TwipsRect& place, const Anchor& anchor, bool inWindow, const Growth& growth) const {
    const PixelRect designed = ToPixels(place, dpi_);
    return inWindow ? Anchored(designed, anchor, growth.width, growth.height) : designed;
}

PixelRect WindowCore::PlaceOf(const PlacedControl& placed, const Growth& growth) const {
    return PlaceOf(placed.place, placed.anchor, ::GetParent(placed.control) == hwnd_, growth);
}

HWND WindowCore::CreateControl(const ControlSpec& row, const Growth& growth) {
    HWND parent = row.parent && *row.parent ? *row.parent : hwnd_;
    // Made at its place in the window as it is now, and with its font when
    // the fonts for the window's DPI are made: nothing to move or set again.
    const PixelRect pixels = PlaceOf(row.place, row.anchor, parent == hwnd_, growth);
    HWND control = ::CreateWindowExW(row.exStyle, row.className, row.text.c_str(), row.style | WS_CHILD | WS_VISIBLE,
                                     pixels.left, pixels.top, pixels.width, pixels.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (!control) throw std::runtime_error("A control of the window could not be created.");
    if (HFONT font = FontOf(row.font)) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (row.handle) *row.handle = control;
    controls_.push_back({control, row.place, row.font, row.anchor});
    return control;
}

void WindowCore::CreateControls(std::span<const ControlSpec> table) {
    const Growth growth = GrowthNow();
    const std::size_t first = controls_.size();
    for (const ControlSpec& row : table) CreateControl(row, growth);
    // Made at their places with their fonts (PrepareLayout came first): what
    // is left of the layout is the captions' fit, once every control is at
    // its place, so that a caption grows only into room no other control
    // has. Controls added to a laid-out window are laid out with the others
    // by the next ApplyDpi.
    if (first != 0 || fontsDpi_ != dpi_) {
        laidOutFor_ = {};
        return;
    }
    for (const PlacedControl& placed : controls_) FitCaption(placed.control, PlaceOf(placed, growth), dpi_);
    laidOutFor_ = {growth.clientWidth, growth.clientHeight, dpi_};
}

void WindowCore::PrepareLayout(bool centred) {
    MakeFonts();
    SizeToClientArea(centred);
}

WindowCore::OldFonts WindowCore::MakeFonts() {
    if (fontsDpi_ == dpi_) return {};
    OldFonts old{std::exchange(font_, CreateDialogFont(dpi_)), basAPI::UniqueFont{}};
    old.heading = std::exchange(headingFont_, headingFace_ ? CreatePointFont(headingFace_, headingPoints_,
                                                                            headingBold_, dpi_)
                                                           : basAPI::UniqueFont{});
    fontsDpi_ = dpi_;
    return old;
}

void WindowCore::SetHeadingFont(const wchar_t* face, double points, bool bold) {
    headingFace_ = face;
    headingPoints_ = points;
    headingBold_ = bold;
}

void WindowCore::ApplyDpi(int dpi) {
    dpi_ = dpi;
    // The new fonts first; the old ones stay alive until no control uses them.
    // At the window's opening they were made for this DPI already, and every
    // control was made with its font.
    const OldFonts oldFonts = MakeFonts();
    if (oldFonts.dialog || oldFonts.heading) {
        for (const PlacedControl& placed : controls_)
            if (HFONT chosen = FontOf(placed.font))
                ::SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
    }
    SizeToClientArea(false);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    if (laidOutFor_ != LaidOut{client.right, client.bottom, dpi_}) PlaceControls();

    basAPI::UniqueIcon oldBigIcon, oldSmallIcon;
    if (programIcons_ && iconsDpi_ != dpi_) {
        const int big = SystemMetricForDpi(SM_CXICON, dpi_);
        const int small = SystemMetricForDpi(SM_CXSMICON, dpi_);
        // The class's icons have the system's sizes: a window that has set
        // none of its own shows them while those are its DPI's sizes too.
        const bool classIconsServe =
            !bigIcon_ && big == ::GetSystemMetrics(SM_CXICON) && small == ::GetSystemMetrics(SM_CXSMICON);
        if (!classIconsServe) {
            oldBigIcon = std::exchange(bigIcon_, LoadProgramIcon(big));
            oldSmallIcon = std::exchange(smallIcon_, LoadProgramIcon(small));
            ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
            ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
        }
        iconsDpi_ = dpi_;
    }
    OnDpiApplied();
    // Now nothing shows the old fonts and icons any more: they go here.
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

void WindowCore::SizeToClientArea(bool centred) {
    // A maximised or minimised window keeps the size the system gave it; it
    // comes back to clientSize_ when it is restored.
    if (::IsZoomed(hwnd_) || ::IsIconic(hwnd_)) return;
    const SizingItself sizing(sizingItself_);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const bool hasMenu = ::GetMenu(hwnd_) != nullptr;
    SIZE size = WindowSizeForClient(clientSize_.width, clientSize_.height, style, exStyle, hasMenu, dpi_);
    // Sized and centred in one move, when asked to be centred.
    const auto place = [&] {
        const POINT at = centred ? CentredOnScreen(hwnd_, size) : POINT{};
        ::SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE | (centred ? 0u : static_cast<UINT>(SWP_NOMOVE)));
    };
    RECT now{};
    ::GetWindowRect(hwnd_, &now);
    if (centred || now.right - now.left != size.cx || now.bottom - now.top != size.cy) place();
    // A menu bar that wraps, or a frame the system draws otherwise than it
    // computed, leaves another client area: correct the size by the difference.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int missingWidth = TwipsToPixels(clientSize_.width, dpi_) - client.right;
    const int missingHeight = TwipsToPixels(clientSize_.height, dpi_) - client.bottom;
    if (missingWidth || missingHeight) {
        size.cx += missingWidth;
        size.cy += missingHeight;
        place();
    }
}

void WindowCore::PlaceControls() {
    const Growth growth = GrowthNow();
    laidOutFor_ = {growth.clientWidth, growth.clientHeight, dpi_};
    for (const PlacedControl& placed : controls_) {
        const PixelRect pixels = PlaceOf(placed, growth);
        ::SetWindowPos(placed.control, nullptr, pixels.left, pixels.top, pixels.width, pixels.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Every control at its place first: a caption grows only into room that
    // no other control has.
    for (const PlacedControl& placed : controls_) FitCaption(placed.control, PlaceOf(placed, growth), dpi_);
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
