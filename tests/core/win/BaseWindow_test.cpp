// What every window shares: the dialog font at the window's DPI, a move to a
// monitor of another DPI, captions that fit their controls, and exceptions
// stopped at the window procedure.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

#include "about/win/frmAbout.h"
#include "app/win/frmMain.h"
#include "app/win/frmSplash.h"
#include "core/AppInfo.h"
#include "core/win/BaseWindow.h"
#include "core/win/Controls.h"
#include "core/win/DpiApi.h"
#include "prefs/win/frmProperties.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

enum class Which { Main, Splash, About, Properties };
const Which kAllWindows[] = {Which::Main, Which::Splash, Which::About, Which::Properties};

const char* NameOf(Which which) {
    switch (which) {
        case Which::Main: return "main window";
        case Which::Splash: return "splash";
        case Which::About: return "About box";
        case Which::Properties: return "properties dialog";
    }
    return "";
}

struct EveryWindow : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        ASSERT_EQ(main.Load(""), LoadOutcome::ShowWindow);
        main.Show();
    }
    void TearDown() override {
        win::SetMessageTestHook(nullptr);
        ClearSettings();
    }

    // Opens the window as the program does (the dialogs through the menu).
    win::WindowCore& Open(Which which) {
        switch (which) {
            case Which::Main: return main;
            case Which::Splash:
                splash = std::make_unique<frmSplash>(nullptr);
                if (!splash->Load()) throw std::runtime_error("the splash did not load");
                splash->Show();
                return *splash;
            case Which::About:
                ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuAbout, 0);
                if (!main.About()) throw std::runtime_error("the About box did not open");
                return *main.About();
            case Which::Properties:
                ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuProperties, 0);
                if (!main.Properties()) throw std::runtime_error("the properties dialog did not open");
                return *main.Properties();
        }
        throw std::logic_error("no such window");
    }

    RealServices real;
    frmMain main{real.Services(), real.sessions};
    std::unique_ptr<frmSplash> splash;
};

LOGFONTW FontOf(HFONT font) {
    LOGFONTW description{};
    ::GetObjectW(font, sizeof(description), &description);
    return description;
}

// The window, its controls and their fonts are laid out for `dpi`.
void ExpectLaidOutFor(const win::WindowCore& window, int dpi) {
    EXPECT_EQ(window.dpi(), dpi);
    RECT client{};
    ::GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(window.clientArea().width, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(window.clientArea().height, dpi));

    const LOGFONTW dialogFont = FontOf(window.font());
    EXPECT_STREQ(dialogFont.lfFaceName, L"MS Shell Dlg");
    EXPECT_EQ(dialogFont.lfHeight, -::MulDiv(8, dpi, 72));
    for (const win::PlacedControl& placed : window.controls()) {
        SCOPED_TRACE(basAPI::Narrow(WindowText(placed.control)) + " (" + basAPI::Narrow(ClassOf(placed.control)) + ")");
        EXPECT_EQ(win::PlaceInParent(placed.control, ::GetParent(placed.control)), ToPixels(placed.place, dpi));
        const auto shown = reinterpret_cast<HFONT>(::SendMessageW(placed.control, WM_GETFONT, 0, 0));
        if (placed.font == win::ControlFont::Dialog) {
            EXPECT_EQ(shown, window.font());
        }
        if (placed.font == win::ControlFont::Heading) {
            EXPECT_EQ(shown, window.headingFont());
            EXPECT_EQ(FontOf(shown).lfHeight, -std::lround(8.25 * dpi / 72.0));
        }
    }
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

TEST_F(EveryWindow, FollowsAMoveTo144DpiAndBackAndDeletesTheFontsItLeft) {
    for (Which which : kAllWindows) {
        SCOPED_TRACE(NameOf(which));
        win::WindowCore& window = Open(which);
        ASSERT_EQ(window.dpi(), 96);
        ExpectLaidOutFor(window, 96);
        const HFONT at96 = window.font();

        const RECT suggested = SendDpiChanged(window.hwnd(), 144);
        RECT place{};
        ::GetWindowRect(window.hwnd(), &place);
        EXPECT_EQ(place.left, suggested.left);
        EXPECT_EQ(place.top, suggested.top);
        ExpectLaidOutFor(window, 144);
        EXPECT_EQ(::GetObjectType(at96), 0u);  // deleted once no control used it
        const HFONT at144 = window.font();
        const HFONT heading144 = window.headingFont();

        SendDpiChanged(window.hwnd(), 96);
        ExpectLaidOutFor(window, 96);
        EXPECT_EQ(::GetObjectType(at144), 0u);
        if (heading144) {
            EXPECT_EQ(::GetObjectType(heading144), 0u);
        }

        if (which == Which::About || which == Which::Properties) ::DestroyWindow(window.hwnd());
    }
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
}

TEST_F(EveryWindow, TheMainWindowsIconsAndColumnsFollowTheDpi) {
    // At the system's DPI it shows its class's icons, made at the system's
    // sizes; it sets icons of its own only for another DPI.
    EXPECT_EQ(::SendMessageW(main.hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::GetClassLongPtrW(main.hwnd(), GCLP_HICON))),
              ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::GetClassLongPtrW(main.hwnd(), GCLP_HICONSM))),
              ::GetSystemMetrics(SM_CXSMICON));
    for (int dpi : {144, 96}) {
        SendDpiChanged(main.hwnd(), dpi);
        const auto big = reinterpret_cast<HICON>(::SendMessageW(main.hwnd(), WM_GETICON, ICON_BIG, 0));
        const auto small = reinterpret_cast<HICON>(::SendMessageW(main.hwnd(), WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(IconWidth(big), win::SystemMetricForDpi(SM_CXICON, dpi)) << dpi;
        EXPECT_EQ(IconWidth(small), win::SystemMetricForDpi(SM_CXSMICON, dpi)) << dpi;
        EXPECT_EQ(ListView_GetColumnWidth(main.lvwDemoQue, 0), TwipsToPixels(frmMain::kColumnWidthTwips, dpi));
    }
}

// How much of a control's width its caption may take: a check box's box, a
// button's and a frame's edges take the rest.
int WidthForText(HWND control, int width, int dpi) {
    if (ClassOf(control) != L"Button") return width;
    switch (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return width - ::MulDiv(13 + 4, dpi, 96);
        case BS_GROUPBOX: return width - ::MulDiv(2 * 8, dpi, 96);
        default: return width - ::MulDiv(2 * 3, dpi, 96);
    }
}

// The caption's extent in its control's own font: on one line, or wrapped
// at `wrapWidth` when that is not 0.
SIZE CaptionExtent(HWND control, int wrapWidth) {
    const std::wstring text = WindowText(control);
    UINT format = DT_CALCRECT | (wrapWidth ? DT_WORDBREAK : DT_SINGLELINE);
    if (ClassOf(control) == L"Static" && (::GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX)) format |= DT_NOPREFIX;
    HDC dc = ::GetDC(control);
    const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, wrapWidth, 0};
    ::DrawTextW(dc, text.c_str(), -1, &needed, format);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return {needed.right, needed.bottom};
}

bool HasCaption(HWND control) {
    const std::wstring className = ClassOf(control);
    return !WindowText(control).empty() && (className == L"Static" || className == L"Button");
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool WiderFont() {
    const char* wider = std::getenv("REELWRIGHT_WIDER_FONT");
    return wider && std::string(wider) == "1";
}

// The controls whose one-line caption may widen them: left-aligned labels
// (not those drawn for several lines), check boxes and option buttons.
bool MayGrowForCaption(HWND control, const std::set<HWND>& multiLine) {
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    if (ClassOf(control) == L"Static") {
        const LONG type = style & SS_TYPEMASK;
        return !multiLine.count(control) && (type == SS_LEFT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE);
    }
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return ClassOf(control) == L"Button";
        default: return false;
    }
}

// Whether `grown` leaves its parent, reaches into the inner margin (120
// twips) of a frame that holds `designed`, or enters a sibling that
// `designed` leaves free.
bool CoversSomething(HWND control, const PixelRect& designed, const PixelRect& grown, int dpi) {
    HWND parent = ::GetParent(control);
    RECT client{};
    ::GetClientRect(parent, &client);
    if (grown.left + grown.width > client.right) return true;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == control) continue;
        const PixelRect other = win::PlaceInParent(sibling, parent);
        const bool frame = ClassOf(sibling) == L"Button" &&
                           (::GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (frame && Overlap(designed, other)) {
            if (grown.left + grown.width > other.left + other.width - TwipsToPixels(120, dpi)) return true;
        } else if (!Overlap(designed, other) && Overlap(grown, other)) {
            return true;
        }
    }
    return false;
}

// Checks every caption of `window` in its control's own font. A control
// that grew for its caption kept its left, top and height and covers no
// sibling that its designed place left free. In the wider font only the
// controls that may grow are held to it, and one whose caption still does
// not fit must have kept its designed place for want of room.
void ExpectCaptionsFit(const win::WindowCore& window, int dpi, const std::set<HWND>& multiLine) {
    for (const win::PlacedControl& placed : window.controls()) {
        HWND control = placed.control;
        if (!HasCaption(control)) continue;
        SCOPED_TRACE(basAPI::Narrow(WindowText(control)) + " at " + std::to_string(dpi) + " DPI");
        const PixelRect place = win::PlaceInParent(control, ::GetParent(control));
        const PixelRect designed = ToPixels(placed.place, dpi);

        if (WiderFont()) {
            if (!MayGrowForCaption(control, multiLine)) continue;
            const int needed = CaptionExtent(control, 0).cx + (place.width - WidthForText(control, place.width, dpi));
            if (needed > place.width) {
                EXPECT_EQ(place, designed);
                EXPECT_TRUE(CoversSomething(control, designed, {designed.left, designed.top, needed, designed.height},
                                            dpi))
                    << "it needs " << needed << " pixels and there is room, yet it kept " << place.width;
                continue;
            }
        } else if (multiLine.count(control)) {
            const SIZE needed = CaptionExtent(control, place.width);
            EXPECT_LE(needed.cx, place.width);
            EXPECT_LE(needed.cy, place.height);
        } else {
            const SIZE needed = CaptionExtent(control, 0);
            EXPECT_LE(needed.cx, WidthForText(control, place.width, dpi));
            if (ClassOf(control) == L"Static") {
                EXPECT_LE(needed.cy, place.height);
            }
        }

        if (place == designed) continue;
        EXPECT_EQ(place.left, designed.left);
        EXPECT_EQ(place.top, designed.top);
        EXPECT_EQ(place.height, designed.height);
        EXPECT_GT(place.width, designed.width);
        HWND parent = ::GetParent(control);
        for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
            const PixelRect other = win::PlaceInParent(sibling, parent);
            if (sibling != control && !Overlap(designed, other)) {
                EXPECT_FALSE(Overlap(place, other)) << "it covers " << basAPI::Narrow(ClassOf(sibling)) << " \""
                                                    << basAPI::Narrow(WindowText(sibling)) << "\"";
            }
        }
    }
}

// How many one-line captions of `window` are wider than their designed box.
int CaptionsWiderThanDesigned(const win::WindowCore& window, int dpi) {
    int wider = 0;
    for (const win::PlacedControl& placed : window.controls())
        if (HasCaption(placed.control) && MayGrowForCaption(placed.control, {}) &&
            CaptionExtent(placed.control, 0).cx > WidthForText(placed.control, ToPixels(placed.place, dpi).width, dpi))
            ++wider;
    return wider;
}

// Also run in a prefix where "MS Shell Dlg" stands for a wider font
// (REELWRIGHT_WIDER_FONT=1): there the main window's captions must first be
// shown to need more than their designed boxes. Push buttons and captions
// drawn on several lines keep their designed size in any font.
TEST_F(EveryWindow, EveryCaptionFitsItsControlAt96And144Dpi) {
    if (WiderFont()) {
        ASSERT_GE(CaptionsWiderThanDesigned(main, 96), 1) << "the dialog font is not wider here than designed";
    }
    for (Which which : kAllWindows) {
        SCOPED_TRACE(NameOf(which));
        win::WindowCore& window = Open(which);
        std::set<HWND> multiLine;
        if (which == Which::About) {
            const frmAbout& about = *main.About();
            multiLine = {about.lblDescription, about.Label2, about.Label3, about.Label4, about.Label5};
        }
        ExpectCaptionsFit(window, 96, multiLine);
        SendDpiChanged(window.hwnd(), 144);
        ExpectCaptionsFit(window, 144, multiLine);
        SendDpiChanged(window.hwnd(), 96);
        if (which == Which::About || which == Which::Properties) ::DestroyWindow(window.hwnd());
    }
}

// Throws from the handler of the message the test names.
UINT g_failingCommand = 0;
void ThrowOnCommand(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == g_failingCommand)
        throw std::runtime_error("A handler failed on purpose.");
}

TEST_F(EveryWindow, AnExceptionInAHandlerShowsAStopBoxAndTheProgramGoesOn) {
    g_failingCommand = frmMain::IDC_cmdClear;
    win::SetMessageTestHook(&ThrowOnCommand);
    DialogAnswerer answer(IDOK);
    ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDC_cmdClear, 0);
    ASSERT_EQ(answer.Seen().size(), 1u);
    const DialogSnapshot shown = answer.Seen()[0];
    EXPECT_EQ(shown.title, L"Reelwright");
    EXPECT_NE(shown.text.find(L"A handler failed on purpose."), std::wstring::npos) << basAPI::Narrow(shown.text);
    EXPECT_EQ(shown.icon, L"stop");
    EXPECT_EQ(shown.buttons, std::vector<int>{IDOK});

    // The same in a dialog: it stays open, and the main window behind it
    // stays disabled until the dialog closes.
    win::WindowCore& about = Open(Which::About);
    g_failingCommand = IDOK;
    DialogAnswerer second(IDOK);
    ::SendMessageW(about.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_EQ(second.Seen().size(), 1u);
    EXPECT_EQ(second.Seen()[0].title, L"Reelwright");
    EXPECT_TRUE(about.IsOpen());
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));

    // Without the failure everything works as before.
    win::SetMessageTestHook(nullptr);
    ::SendMessageW(about.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(main.About(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
    ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuAbout, 0);
    EXPECT_NE(main.About(), nullptr);
    EXPECT_TRUE(::IsWindow(main.hwnd()));
}

// Throws from the key handling of the window the test names.
HWND g_failingKeys = nullptr;
void ThrowOnKeyDown(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_KEYDOWN && window == g_failingKeys) throw std::runtime_error("A key failed on purpose.");
}

TEST_F(EveryWindow, AnExceptionInTheQueueListsKeysShowsAStopBoxToo) {
    g_failingKeys = main.lvwDemoQue;
    win::SetMessageTestHook(&ThrowOnKeyDown);
    DialogAnswerer answer(IDOK);
    EXPECT_EQ(::SendMessageW(main.lvwDemoQue, WM_KEYDOWN, VK_DELETE, 1), 0);
    ASSERT_EQ(answer.Seen().size(), 1u);
    const DialogSnapshot shown = answer.Seen()[0];
    EXPECT_EQ(shown.title, L"Reelwright");
    EXPECT_NE(shown.text.find(L"A key failed on purpose."), std::wstring::npos) << basAPI::Narrow(shown.text);
    EXPECT_TRUE(::IsWindow(main.lvwDemoQue));
}

}  // namespace
}  // namespace reelwright
