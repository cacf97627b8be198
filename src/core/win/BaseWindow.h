// The base of every window of the program. A window class T derives from
// BaseWindow<T>; its object is attached to its window at WM_NCCREATE (the
// object passed through CreateWindowExW's lpCreateParams) and detached at
// WM_NCDESTROY, so the window never outlives the link and the object is
// never deleted by its window: whoever made the object owns it.
//
// Every message goes through one guard: an exception that leaves a handler is
// reported in a stop box and never unwinds into the message loop.
//
// Child controls are made from a table of ControlSpec rows, each with its
// place in twips. A window opens in one pass: PrepareLayout gives it its size
// (centred on its screen) and its fonts for its DPI, and each control is then
// made once, at its place, with its font. One DPI routine serves the opening
// and WM_DPICHANGED alike: it makes the fonts for a new DPI, sets them on
// every control, lays the window and its controls out again, and only then
// deletes the old fonts; what the opening did for the DPI already it skips.
//
// A window with a sizing border (WS_THICKFRAME) cannot be made smaller than
// its designed client area; larger, each control placed in the window itself
// follows it by its anchor. Its client area is kept in twips, so that it
// keeps its size in inches when it moves to a monitor of another DPI.
#pragma once

#include <windows.h>

#include <exception>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/Layout.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

// Which font a control shows its text in.
enum class ControlFont { Dialog, Heading, None };

// One row of a window's control table.
struct ControlSpec {
    HWND* handle = nullptr;  // receives the control's handle (may be null)
    const wchar_t* className = nullptr;
    std::wstring text;
    DWORD style = 0;  // WS_CHILD | WS_VISIBLE are added
    DWORD exStyle = 0;
    int id = 0;
    TwipsRect place{};       // relative to the parent's client area
    HWND* parent = nullptr;  // a control made earlier; null: the window itself
    ControlFont font = ControlFont::Dialog;
    // How it follows a window larger than designed (only in the window itself).
    Anchor anchor{};
};

// A control and its place in twips relative to its parent.
struct PlacedControl {
    HWND control;
    TwipsRect place;
    ControlFont font;
    Anchor anchor;
};

// Shows `what` (the exception's message) in a stop box titled "Reelwright",
// owned by the top-level window of `window`. A second exception while the box
// is up is not shown again.
void ReportWindowException(HWND window, std::exception_ptr error);

// Runs `handler` (a callable returning LRESULT) and returns its result; an
// exception that leaves it is reported and `failed` returned instead.
template <typename Handler>
LRESULT CallGuarded(HWND window, LRESULT failed, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        ReportWindowException(window, std::current_exception());
        return failed;
    }
}

// While one lives, an exception that leaves a window's handler is kept
// instead of shown: the operation that holds it reports the failure itself,
// once. Only the first exception is kept.
class WindowExceptionCapture {
public:
    WindowExceptionCapture();
    ~WindowExceptionCapture();
    WindowExceptionCapture(const WindowExceptionCapture&) = delete;
    WindowExceptionCapture& operator=(const WindowExceptionCapture&) = delete;

    std::exception_ptr First() const { return first_; }

private:
    friend void ReportWindowException(HWND window, std::exception_ptr error);
    std::exception_ptr first_;
    WindowExceptionCapture* outer_;
};

// The exception's message as a box shows it; "An unknown error." when it has none.
std::wstring DescribeException(std::exception_ptr error);

// A hook that every window procedure calls before the window's own handler,
// inside the guard, so that tests can make a handler throw. It stays null in
// the program: only the test support declares the function that sets it.
using MessageTestHook = void (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the hook, when one is set; for the subclass procedures, which are
// window procedures too.
void RunMessageTestHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What every window shares, whatever its class.
class WindowCore {
public:
    WindowCore(const WindowCore&) = delete;
    WindowCore& operator=(const WindowCore&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool IsOpen() const { return hwnd_ != nullptr; }
    // The DPI the window is laid out for.
    int dpi() const { return dpi_; }
    HFONT font() const { return font_.get(); }
    HFONT headingFont() const { return headingFont_.get(); }
    // Every control made from the table, with its place.
    const std::vector<PlacedControl>& controls() const { return controls_; }
    // The designed client area in twips: the first size and, for a window
    // with a sizing border, the smallest.
    const TwipsRect& clientArea() const { return client_; }
    // The client area's size in twips while the window is neither maximised
    // nor minimised: the size it comes back to.
    TwipsSize clientSize() const { return clientSize_; }

    // Lays the window out for `dpi`: the DPI routine.
    void ApplyDpi(int dpi);

protected:
    explicit WindowCore(const TwipsRect& client) : client_(client) {}
    // Destroys the window when it is still there.
    virtual ~WindowCore();

    // Creates the window (hidden) through the base's window procedure `proc`,
    // with `self` as its lpCreateParams; the window takes `menu`. False when it
    // could not be made (the menu is destroyed then).
    bool CreateWindowFor(void* self, WNDPROC proc, const wchar_t* className, const std::wstring& title, DWORD style,
                         DWORD exStyle, HWND owner, basAPI::UniqueMenu menu);

    // Gives the window the size of its client area (SetClientSize) for its
    // DPI, centred on the screen that holds it when `centred`, and makes its
    // fonts: call it before CreateControls, so that each control is made at
    // its place with its font at once.
    void PrepareLayout(bool centred);
    // Makes the controls of `table`, in its order (which is the tab order).
    // Call ApplyDpi afterwards: it gives them what they still lack (fonts and
    // places, when PrepareLayout was not called) and the window its icons.
    void CreateControls(std::span<const ControlSpec> table);

    // The size of the client area in twips that the next ApplyDpi gives the
    // window (before its first one: the size it opens with).
    void SetClientSize(TwipsSize size) { clientSize_ = size; }

    // The heading font's face and size; none unless set.
    void SetHeadingFont(const wchar_t* face, double points, bool bold);
    // The program's icon in the title bar and the task bar, at each DPI's sizes.
    void UseProgramIcons() { programIcons_ = true; }

    // Puts every control at its designed place for the DPI, moved or grown by
    // its anchor as far as the client area is larger than designed, where a
    // one-line caption that needs more room than designed grows into free
    // room beside it. ApplyDpi and a change of size do this; call it again
    // after changing captions.
    void PlaceControls();

    // Called by ApplyDpi after the controls have their fonts and places, before
    // the old fonts go: for what a window sizes itself (list columns, pictures).
    virtual void OnDpiApplied() {}

private:
    template <typename T>
    friend class BaseWindow;

    void Attach(HWND window) { hwnd_ = window; }
    void Detach();
    bool Resizable() const;
    // Sizes the window for clientSize_ at its DPI; centred on its screen in
    // the same move when `centred`.
    void SizeToClientArea(bool centred);
    // How the client area is now, and how much larger than designed.
    struct Growth {
        int clientWidth = 0, clientHeight = 0;
        int width = 0, height = 0;
    };
    Growth GrowthNow() const;
    // Where a control goes: its designed place, anchored when it is in the
    // window itself.
    PixelRect PlaceOf(const TwipsRect& place, const Anchor& anchor, bool inWindow, const Growth& growth) const;
    PixelRect PlaceOf(const PlacedControl& placed, const Growth& growth) const;
    HWND CreateControl(const ControlSpec& row, const Growth& growth);
    // The font a control shows, when the fonts for the window's DPI are made.
    HFONT FontOf(ControlFont font) const;
    // Makes the fonts for the window's DPI, unless made already; returns the
    // ones they replace, to be deleted once no control uses them.
    struct OldFonts {
        basAPI::UniqueFont dialog, heading;
    };
    OldFonts MakeFonts();
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    // WM_SIZE of a resizable window: keeps the size it comes back to and
    // lays the controls out for the new size.
    void OnSized(WPARAM kind, int width, int height);
    // WM_GETMINMAXINFO of a resizable window: no smaller than designed.
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    static LRESULT Dispatch(WindowCore* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT (*handler)(WindowCore*, UINT, WPARAM, LPARAM));

    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    TwipsRect client_;
    TwipsSize clientSize_{client_.width, client_.height};
    // While the window sizes itself, WM_SIZE is not taken as the user's size.
    int sizingItself_ = 0;
    basAPI::UniqueFont font_;
    basAPI::UniqueFont headingFont_;
    int fontsDpi_ = 0;  // the DPI the fonts are made for; 0: none yet
    const wchar_t* headingFace_ = nullptr;
    double headingPoints_ = 0;
    bool headingBold_ = false;
    bool programIcons_ = false;
    basAPI::UniqueIcon bigIcon_;
    basAPI::UniqueIcon smallIcon_;
    int iconsDpi_ = 0;
    std::vector<PlacedControl> controls_;
    // The client area and DPI the controls were last laid out for: the
    // WM_SIZE of a window shown at the size it already has changes nothing.
    struct LaidOut {
        int width = -1, height = -1, dpi = 0;
        bool operator==(const LaidOut&) const = default;
    } laidOutFor_;
};

// The window procedure thunk for windows of class T. T provides
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// which ends with DefWindowProcW for what it leaves alone. WM_DPICHANGED is
// handled here for every window.
template <typename T>
class BaseWindow : public WindowCore {
protected:
    explicit BaseWindow(const TwipsRect& client) : WindowCore(client) {}

    bool Create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle, HWND owner,
                basAPI::UniqueMenu menu = {}) {
        return CreateWindowFor(static_cast<T*>(this), &BaseWindow::WindowProc, className, title, style, exStyle,
                               owner, std::move(menu));
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        WindowCore* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            if (self) self->Attach(window);
        } else {
            self = reinterpret_cast<WindowCore*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        return Dispatch(self, window, message, wParam, lParam, [](WindowCore* core, UINT m, WPARAM w, LPARAM l) {
            return static_cast<T*>(core)->HandleMessage(m, w, l);
        });
    }
};

}  // namespace reelwright::win
