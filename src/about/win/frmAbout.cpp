#include "about/win/frmAbout.h"

#include "about/AboutTexts.h"
#include "core/win/Controls.h"

namespace reelwright {

namespace {

frmAbout* g_current = nullptr;

}  // namespace

frmAbout* frmAbout::Current() { return g_current; }

frmAbout* frmAbout::Open(HWND owner) {
    if (g_current) {
        ::SetForegroundWindow(g_current->hwnd_);
        return g_current;
    }
    auto* about = new frmAbout(owner);
    if (!about->Create()) {
        delete about;
        return nullptr;
    }
    ::ShowWindow(about->hwnd_, SW_SHOW);
    ::UpdateWindow(about->hwnd_);
    ::SetForegroundWindow(about->hwnd_);
    ::SetFocus(about->cmdOK);
    return about;
}

frmAbout::~frmAbout() {
    if (g_current == this) g_current = nullptr;
}

bool frmAbout::Create() {
    win::RegisterWindowClass(kClassName, &frmAbout::WindowProc);

    // The design-time caption; the load replaces it.
    hwnd_ = ::CreateWindowExW(kExStyle, kClassName, L"Reelwright", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                              owner_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    g_current = this;

    dpi_ = win::WindowDpi(hwnd_);
    CreateFonts();
    CreateControls();
    LayoutControls();
    win::CenterOnScreen(hwnd_);
    LoadTexts();
    return true;
}

void frmAbout::CreateFonts() {
    font_ = win::CreateUiFont(dpi_);
    headingFont_ = win::CreatePointFont(L"MS Sans Serif", 8.25, true, dpi_);
    const int iconSize = TwipsToPixels(kIconSize * 15, dpi_);
    icon_.reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                iconSize, iconSize, LR_DEFAULTCOLOR)));
}

void frmAbout::CreateControls() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto make = [&](const wchar_t* className, const wchar_t* text, DWORD style, int id, const TwipsRect& place,
                    bool heading = false) {
        HWND control = ::CreateWindowExW(0, className, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwnd_,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(heading ? headingFont_.get() : font_.get()),
                       FALSE);
        layout_.push_back({control, place, heading});
        return control;
    };
    const DWORD label = SS_LEFT | SS_NOPREFIX;

    cmdOK = make(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDC_cmdOK, kOkButton);
    picIcon = make(L"STATIC", L"", SS_OWNERDRAW, IDC_picIcon, kIcon);
    lblTitle = make(L"STATIC", L"Application Title", label, IDC_lblTitle, kTitle);
    lblVersion = make(L"STATIC", L"Version", label, IDC_lblVersion, kVersion);
    lblDescription = make(L"STATIC", L"App Description :", label, IDC_lblDescription, kDescription);
    Line1 = make(L"STATIC", L"", SS_ETCHEDHORZ, IDC_Line1, kSeparator);
    Label1 = make(L"STATIC", basAPI::Widen(kDevelopmentTeamHeading).c_str(), label, IDC_Label1, kTeamHeading, true);
    HWND* credits[] = {&Label2, &Label3, &Label4, &Label5};
    for (int line = 0; line < 4; ++line)
        *credits[line] = make(L"STATIC", basAPI::Widen(kCreditLines[line]).c_str(), label, IDC_Label2 + line,
                              kCredits[line]);
    Label6 = make(L"STATIC", basAPI::Widen(kVisitHeading).c_str(), label, IDC_Label6, kVisitHeadingPlace, true);
    Label7 = make(L"STATIC", basAPI::Widen(kWebAddress).c_str(), label, IDC_Label7, kWebAddressPlace);
}

void frmAbout::LayoutControls() { win::ApplyLayout(hwnd_, kClient, kStyle, kExStyle, layout_, dpi_); }

void frmAbout::LoadTexts() {
    const AboutTexts texts = MakeAboutTexts();
    win::SetText(hwnd_, texts.caption);
    win::SetText(lblVersion, texts.version);
    win::SetText(lblTitle, texts.title);
    win::SetText(lblDescription, texts.description);
}

void frmAbout::DrawIcon(const DRAWITEMSTRUCT& item) const {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!icon_) return;
    const int size = TwipsToPixels(kIconSize * 15, dpi_);
    ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon_.get(), size, size, 0, nullptr, DI_NORMAL);
}

LRESULT CALLBACK frmAbout::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmAbout*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT frmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // OK, and Escape through the dialog manager, close the box.
            if ((LOWORD(wParam) == IDC_cmdOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
                ::DestroyWindow(hwnd_);  // deletes this object
                return 0;
            }
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == IDC_picIcon) {
                DrawIcon(*item);
                return TRUE;
            }
            break;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            CreateFonts();
            for (const win::PlacedControl& placed : layout_)
                ::SendMessageW(placed.control, WM_SETFONT,
                               reinterpret_cast<WPARAM>(placed.heading ? headingFont_.get() : font_.get()), TRUE);
            win::MoveToSuggestedPlace(hwnd_, lParam);
            LayoutControls();
            return 0;
        }
        case WM_DESTROY:
            // Whatever closed the box (OK, the close box, Alt+F4), the main window is usable again.
            if (owner_ && ::IsWindow(owner_)) ::EnableWindow(owner_, TRUE);
            break;
        case WM_NCDESTROY: {
            HWND window = hwnd_;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete this;
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        default: break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace reelwright
