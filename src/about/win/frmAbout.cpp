#include "about/win/frmAbout.h"

#include <commctrl.h>

#include "about/AboutTexts.h"
#include "core/win/Controls.h"

namespace reelwright {

frmAbout::frmAbout(HWND owner) : BaseWindow(kClient), dialog_(owner) {}

frmAbout::~frmAbout() { Close(); }

bool frmAbout::Open() {
    if (IsOpen()) {
        ::SetForegroundWindow(hwnd());
        return true;
    }
    // The design-time caption; the load replaces it.
    if (!Create(kClassName, L"Reelwright", kStyle, kExStyle, dialog_.owner())) return false;
    SetHeadingFont(L"MS Sans Serif", 8.25, true);
    PrepareLayout(true);
    CreateControls();
    ApplyDpi(dpi());
    LoadTexts();
    dialog_.Show(hwnd(), cmdOK);
    return true;
}

void frmAbout::Close() { dialog_.Close(hwnd()); }

void frmAbout::CreateControls() {
    using win::ControlFont;
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    // In tab order: the button is the only control that takes the focus.
    const win::ControlSpec table[] = {
        {&cmdOK, WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDC_cmdOK, kOkButton},
        {&picIcon, WC_STATICW, L"", SS_OWNERDRAW, 0, IDC_picIcon, kIcon, nullptr, ControlFont::None},
        {&lblTitle, WC_STATICW, L"Application Title", label, 0, IDC_lblTitle, kTitle},
        {&lblVersion, WC_STATICW, L"Version", label, 0, IDC_lblVersion, kVersion},
        {&lblDescription, WC_STATICW, L"App Description :", label, 0, IDC_lblDescription, kDescription},
        {&Line1, WC_STATICW, L"", SS_ETCHEDHORZ, 0, IDC_Line1, kSeparator, nullptr, ControlFont::None},
        {&Label1, WC_STATICW, basAPI::Widen(kDevelopmentTeamHeading), label, 0, IDC_Label1, kTeamHeading, nullptr,
         ControlFont::Heading},
        {&Label2, WC_STATICW, basAPI::Widen(kCreditLines[0]), label, 0, IDC_Label2, kCredits[0]},
        {&Label3, WC_STATICW, basAPI::Widen(kCreditLines[1]), label, 0, IDC_Label3, kCredits[1]},
        {&Label4, WC_STATICW, basAPI::Widen(kCreditLines[2]), label, 0, IDC_Label4, kCredits[2]},
        {&Label5, WC_STATICW, basAPI::Widen(kCreditLines[3]), label, 0, IDC_Label5, kCredits[3]},
        {&Label6, WC_STATICW, basAPI::Widen(kVisitHeading), label, 0, IDC_Label6, kVisitHeadingPlace, nullptr,
         ControlFont::Heading},
        {&Label7, WC_STATICW, basAPI::Widen(kWebAddress), label, 0, IDC_Label7, kWebAddressPlace},
    };
    BaseWindow::CreateControls(table);
}

void frmAbout::OnDpiApplied() {
    // The icon is drawn at its own size for the DPI, not stretched.
    const int iconSize = TwipsToPixels(kIconSize * 15, dpi());
    icon_ = win::LoadProgramIcon(iconSize);
    ::InvalidateRect(picIcon, nullptr, TRUE);
}

void frmAbout::LoadTexts() {
    const AboutTexts texts = MakeAboutTexts();
    win::SetText(hwnd(), texts.caption);
    win::SetText(lblVersion, texts.version);
    win::SetText(lblTitle, texts.title);
    win::SetText(lblDescription, texts.description);
    PlaceControls();
}

void frmAbout::DrawIcon(const DRAWITEMSTRUCT& item) const {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!icon_) return;
    const int size = TwipsToPixels(kIconSize * 15, dpi());
    ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon_.get(), size, size, 0, nullptr, DI_NORMAL);
}

LRESULT frmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // OK, and Escape through the dialog manager, close the box.
            if ((LOWORD(wParam) == IDC_cmdOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
                Close();
                return 0;
            }
            break;
        case WM_CLOSE:
            // The close box and Alt+F4.
            Close();
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == IDC_picIcon) {
                DrawIcon(*item);
                return TRUE;
            }
            break;
        }
        case WM_DESTROY:
            dialog_.OnDestroy();
            break;
        default: break;
    }
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

}  // namespace reelwright
