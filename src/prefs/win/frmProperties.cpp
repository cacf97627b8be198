#include "prefs/win/frmProperties.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "core/win/Controls.h"

namespace reelwright {

namespace {

// One row of the "Demo Keys" frame, top to bottom.
struct BindRow {
    HWND frmProperties::*actionLabel;
    const wchar_t* actionCaption;
    int bindIndex;
    int defaultElement;  // its element of the lblDefault array
    HWND frmProperties::*defaultKeyLabel;
};

constexpr BindRow kRows[kBindCount] = {
    {&frmProperties::lblPrev, L"Previous Demo:", 7, 7, &frmProperties::lblDefaultPrev},
    {&frmProperties::lblPlay, L"Play:", 1, 0, &frmProperties::lblDefaultPlay},
    {&frmProperties::lblPause, L"Pause:", 2, 1, &frmProperties::lblDefaultPause},
    {&frmProperties::lblStop, L"Stop:", 3, 2, &frmProperties::lblDefaultStop},
    {&frmProperties::lblFast, L"Fast Motion:", 4, 3, &frmProperties::lblDefaultFast},
    {&frmProperties::lblSlow, L"Slow Motion:", 5, 4, &frmProperties::lblDefaultSlow},
    {&frmProperties::lbl3rdPerson, L"3rd Person View:", 6, 5, &frmProperties::lblDefault3rdPerson},
    {&frmProperties::lblNext, L"Next Demo:", 0, 6, &frmProperties::lblDefaultNext},
};

TwipsRect InRow(const TwipsRect& first, int row) {
    return {first.left, first.top + row * frmProperties::kRowStep, first.width, first.height};
}

}  // namespace

frmProperties::frmProperties(AppServices& services, HWND owner)
    : BaseWindow(kClient), services_(services), propertiesDialog_(services_, *this), dialog_(owner) {}

frmProperties::~frmProperties() { dialog_.Close(hwnd()); }

bool frmProperties::Open() {
    if (IsOpen()) {
        ::SetForegroundWindow(hwnd());
        return true;
    }
    win::RegisterWindowClass(kPageClassName, &frmProperties::PageProc);
    if (!Create(kClassName, L"Reelwright Properties", kStyle, kExStyle, owner())) return false;
    PrepareLayout(true);
    CreateControls();
    ApplyDpi(dpi());
    if (!propertiesDialog_.Load()) {
        ::DestroyWindow(hwnd());
        return false;
    }
    dialog_.Show(hwnd(), cmdOk);
    return true;
}

void frmProperties::CreateControls() {
    const DWORD checkBox = WS_TABSTOP | BS_AUTOCHECKBOX;
    HWND* options = &fmePreferences[0];
    HWND* keys = &fmePreferences[1];

    // In tab order. The tab strip lies behind the pages, which do not let it
    // paint over them. No WS_CLIPCHILDREN on a page: it paints its background
    // under its frames, which leave their inside to the parent. Check boxes
    // lie in their frames; the frames are drawn behind them.
    std::vector<win::ControlSpec> table = {
        {&tabPreferences, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, IDC_tabPreferences, kTabStrip},
        {options, kPageClassName, L"", 0, WS_EX_CONTROLPARENT, IDC_fmePreferences0, kPage, nullptr,
         win::ControlFont::None},
        {keys, kPageClassName, L"", 0, WS_EX_CONTROLPARENT, IDC_fmePreferences1, kPage, nullptr,
         win::ControlFont::None},
        {&chkLoadSplash, WC_BUTTONW, L"Load Splash", checkBox, 0, IDC_chkLoadSplash,
         Offset(kLoadSplashBox, kGeneralOptionsFrame), options},
        {&chkMinReelwright, WC_BUTTONW, L"Minimise Reelwright on playback", checkBox, 0, IDC_chkMinReelwright,
         Offset(kMinReelwrightBox, kGeneralOptionsFrame), options},
        {&chkAssociate, WC_BUTTONW, L"Associate .dm_2004 files with Reelwright", checkBox, 0, IDC_chkAssociate,
         Offset(kAssociateBox, kAssociateFrame), options},
        {&chkLoadExtraConfig, WC_BUTTONW, L"Load advanced demo viewing config", checkBox | WS_DISABLED, 0,
         IDC_chkLoadExtraConfig, Offset(kLoadExtraConfigBox, kConfigOptionsFrame), options},
        {&fmeGeneralOptions, WC_BUTTONW, L"General Options", BS_GROUPBOX, 0, IDC_fmeGeneralOptions,
         kGeneralOptionsFrame, options},
        {&fmeAssociate, WC_BUTTONW, L"Demo Associations", BS_GROUPBOX, 0, IDC_fmeAssociate, kAssociateFrame, options},
        {&fmeConfigOptions, WC_BUTTONW, L"Config Options", BS_GROUPBOX, 0, IDC_fmeConfigOptions, kConfigOptionsFrame,
         options},
    };
    // The key page, row by row. Bind boxes start locked (read-only).
    for (int row = 0; row < kBindCount; ++row) {
        const BindRow& entry = kRows[row];
        table.push_back({&(this->*entry.actionLabel), WC_STATICW, entry.actionCaption, SS_LEFT | SS_NOPREFIX, 0,
                         IDC_lblAction0 + row, Offset(InRow(kActionLabel, row), kDemoKeysFrame), keys});
        table.push_back({&txtBind[entry.bindIndex], WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY,
                         WS_EX_CLIENTEDGE, IDC_txtBind0 + entry.bindIndex,
                         Offset(InRow(kBindBox, row), kDemoKeysFrame), keys});
        table.push_back({&lblDefault[entry.defaultElement], WC_STATICW, L"Default:", SS_LEFT, 0,
                         IDC_lblDefault0 + entry.defaultElement, Offset(InRow(kDefaultLabel, row), kDemoKeysFrame),
                         keys});
        table.push_back({&(this->*entry.defaultKeyLabel), WC_STATICW, basAPI::Widen(kDialogBindDefaults[entry.bindIndex]),
                         SS_LEFT | SS_NOPREFIX, 0, IDC_lblDefaultKey0 + row,
                         Offset(InRow(kDefaultKeyLabel, row), kDemoKeysFrame), keys});
    }
    table.push_back({&fmeDemoKeys, WC_BUTTONW, L"Demo Keys", BS_GROUPBOX, 0, IDC_fmeDemoKeys, kDemoKeysFrame, keys});
    table.push_back({&cmdOk, WC_BUTTONW, L"&Ok", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDC_cmdOk, kOkButton});
    BaseWindow::CreateControls(table);

    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Options");
    TabCtrl_InsertItem(tabPreferences, 0, &item);
    item.pszText = const_cast<wchar_t*>(L"Demo Keys");
    TabCtrl_InsertItem(tabPreferences, 1, &item);
    for (HWND page : fmePreferences)
        ::SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(fmePreferences[1], SW_HIDE);
    Button_SetCheck(chkLoadExtraConfig, BST_CHECKED);
    for (HWND frame : {fmeGeneralOptions, fmeAssociate, fmeConfigOptions, fmeDemoKeys})
        ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int index = 0; index < kBindCount; ++index)
        bindBoxKeys_[index].Install(txtBind[index], [this, index](HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
            return HandleBindBox(box, index, message, wParam, lParam);
        });
}

void frmProperties::ShowPage(int page) {
    // Focus inside the page going behind would be left on a hidden control.
    HWND focus = ::GetFocus();
    HWND leaving = fmePreferences[1 - page];
    if (focus && ::IsChild(leaving, focus)) ::SetFocus(tabPreferences);
    ::ShowWindow(fmePreferences[page], SW_SHOW);
    ::ShowWindow(leaving, SW_HIDE);
}

void frmProperties::cmdOk_Click() {
    if (okRunning_) return;  // a click while OK's own message box is up
    okRunning_ = true;
    // Nothing in the dialog can change while OK stores it and shows its messages.
    ::EnableWindow(hwnd(), FALSE);
    propertiesDialog_.Ok();
    okRunning_ = false;
}

LRESULT frmProperties::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_cmdOk && HIWORD(wParam) == BN_CLICKED) {
                cmdOk_Click();
                if (closeRequested_) dialog_.Close(hwnd());
                return 0;
            }
            // IDCANCEL (Escape) is not a way out: OK is.
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabPreferences && header->code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(tabPreferences) == 1 ? 1 : 0);
                return 0;
            }
            break;
        }
        case WM_CLOSE:
            return 0;  // no close button; Alt+F4 and other requests are refused
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
            break;
        case WM_ACTIVATE:
            // A plain window does not keep its focused control across
            // deactivation by itself.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
            } else if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsWindowVisible(lastFocus_)) {
                ::SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_DESTROY:
            // However the dialog goes, the main window must not stay disabled.
            dialog_.OnDestroy();
            break;
        default: break;
    }
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK frmProperties::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        // Locked bind boxes are read-only edits; they look like the others.
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id >= IDC_txtBind0 && id < IDC_txtBind0 + kBindCount) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frmProperties::HandleBindBox(HWND box, int index, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            // While keys are captured, Tab, Enter and Escape are keys to bind,
            // not the dialog's navigation.
            if (propertiesDialog_.captureMode())
                return ::DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTALLKEYS;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Keys pressed with Alt held arrive as system keys; they are bound
            // like any other, and so never reach the window as Alt+F4.
            if (propertiesDialog_.BindKeyDown(index, static_cast<std::int16_t>(wParam & 0xFFFF))) {
                // The character this key made must not type or press an access key.
                MSG pending{};
                while (::PeekMessageW(&pending, box, WM_CHAR, WM_DEADCHAR, PM_REMOVE)) {}
                while (::PeekMessageW(&pending, box, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE)) {}
                return 0;
            }
            break;
        case WM_CHAR:
        case WM_DEADCHAR:
        case WM_SYSCHAR:
        case WM_SYSDEADCHAR:
            if (propertiesDialog_.captureMode()) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            ::SetFocus(box);
            propertiesDialog_.BindDoubleClick(index);
            return 0;
        case WM_KILLFOCUS:
            propertiesDialog_.BindLostFocus(index);
            break;
        default: break;
    }
    return ::DefSubclassProc(box, message, wParam, lParam);
}

HWND frmProperties::CheckBox(PropertiesOption option) const {
    switch (option) {
        case PropertiesOption::LoadSplash: return chkLoadSplash;
        case PropertiesOption::MinOnPlayback: return chkMinReelwright;
        case PropertiesOption::Associate: return chkAssociate;
        case PropertiesOption::LoadExtraConfig: return chkLoadExtraConfig;
    }
    return nullptr;
}

bool frmProperties::IsTicked(PropertiesOption option) { return Button_GetCheck(CheckBox(option)) == BST_CHECKED; }

void frmProperties::SetTicked(PropertiesOption option, bool ticked) {
    Button_SetCheck(CheckBox(option), ticked ? BST_CHECKED : BST_UNCHECKED);
}

std::string frmProperties::BindText(int index) { return win::GetText(txtBind[index]); }

void frmProperties::SetBindText(int index, const std::string& text) { win::SetText(txtBind[index], text); }

void frmProperties::SetBindLocked(int index, bool locked) {
    ::SendMessageW(txtBind[index], EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

void frmProperties::EnableMainWindow() { dialog_.EnableOwner(); }

void frmProperties::CloseDialog() { closeRequested_ = true; }

}  // namespace reelwright
