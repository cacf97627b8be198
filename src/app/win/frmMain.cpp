#include "app/win/frmMain.h"

#include <commctrl.h>

#include "core/AppInfo.h"
#include "core/win/Controls.h"

namespace reelwright {

namespace {

HMENU BuildMenu() {
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, frmMain::IDM_mnuLocateFile, L"Locate SOF2.exe File");
    HMENU tools = ::CreatePopupMenu();
    ::AppendMenuW(tools, MF_STRING, frmMain::IDM_mnuProperties, L"Properties");
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(help, MF_STRING, frmMain::IDM_mnuAbout, L"A&bout");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"T&ools");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

}  // namespace

frmMain::frmMain(AppServices services) : services_(services) {}

frmMain::~frmMain() {
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

LoadOutcome frmMain::Load(const std::string& commandLineTail) {
    win::RegisterWindowClass(kClassName, &frmMain::WindowProc, true);
    menu_ = BuildMenu();
    hwnd_ = ::CreateWindowExW(0, kClassName, L"Reelwright", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                              menu_, ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return LoadOutcome::EndProgram;
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    dpi_ = win::WindowDpi(hwnd_);
    font_ = win::CreateUiFont(dpi_);
    // The program's icon in the title bar and the task bar.
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(win::LoadProgramIcon(::GetSystemMetricsForDpi(SM_CXICON, dpi_))));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(win::LoadProgramIcon(::GetSystemMetricsForDpi(SM_CXSMICON, dpi_))));
    CreateControls();
    LayoutControls();
    win::CenterOnScreen(hwnd_);

    appKey_ = AppKey();
    const LoadOutcome outcome = RunMainWindowLoad(
        services_, commandLineTail, [this](const std::string& gameFolder) { return RunFirstRunSetup(gameFolder); });
    if (outcome == LoadOutcome::EndProgram) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    return outcome;
}

void frmMain::Show(int showCommand) {
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(cmdLaunch);
}

void frmMain::CreateControls() {
    const HFONT font = font_.get();
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto make = [&](const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
        HWND control = ::CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwnd_,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };

    // Created in tab order (cmdLaunch first); the frame and the labels take no
    // focus, so their place in the order does not matter for the keyboard.
    cmdLaunch = make(WC_BUTTONW, L"Launch", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDC_cmdLaunch);
    txtOptionalParams = make(WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, IDC_txtOptionalParams);
    lvwDemoQue = make(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                      WS_EX_CLIENTEDGE, IDC_lvwDemoQue);
    cmdAdd = make(WC_BUTTONW, L"Add", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdAdd);
    lblOptionalParams = make(WC_STATICW, L"Optional Parameters:", SS_LEFT, 0, IDC_lblOptionalParams);
    lblQueDemos = make(WC_STATICW, L"Queued demo's:", SS_LEFT, 0, IDC_lblQueDemos);
    cmdRemove = make(WC_BUTTONW, L"Remove", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdRemove);
    cmdClear = make(WC_BUTTONW, L"Clear List", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdClear);
    // The frame is last in the z-order so that it is painted behind the controls.
    fmeReelwright = make(WC_BUTTONW, L"Reelwright", BS_GROUPBOX, 0, IDC_fmeReelwright);
    ::SetWindowPos(fmeReelwright, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ListView_SetExtendedListViewStyle(lvwDemoQue, LVS_EX_FULLROWSELECT);
    const wchar_t* headers[] = {L"Name", L"Game Type", L"Path"};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW definition{};
        definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        definition.pszText = const_cast<wchar_t*>(headers[column]);
        definition.cx = TwipsToPixels(kColumnWidthTwips, dpi_);
        definition.iSubItem = column;
        ListView_InsertColumn(lvwDemoQue, column, &definition);
    }
    PrepareDemoList();
}

void frmMain::LayoutControls() {
    const SIZE size = win::WindowSizeForClient(kClient.width, kClient.height, kStyle, 0, true, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps would shrink the client area: make it whole again.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int wantedHeight = TwipsToPixels(kClient.height, dpi_);
    if (client.bottom != wantedHeight)
        ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy + wantedHeight - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    auto place = [&](HWND control, const TwipsRect& twips) {
        const PixelRect pixels = ToPixels(twips, dpi_);
        ::SetWindowPos(control, nullptr, pixels.left, pixels.top, pixels.width, pixels.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(fmeReelwright, kFrame);
    place(lblQueDemos, Offset(kQueDemosLabel, kFrame));
    place(lvwDemoQue, Offset(kDemoList, kFrame));
    place(cmdAdd, Offset(kAddButton, kFrame));
    place(cmdRemove, Offset(kRemoveButton, kFrame));
    place(cmdClear, Offset(kClearButton, kFrame));
    place(lblOptionalParams, Offset(kOptionalParamsLabel, kFrame));
    place(txtOptionalParams, Offset(kOptionalParamsBox, kFrame));
    place(cmdLaunch, Offset(kLaunchButton, kFrame));
}

LRESULT CALLBACK frmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmMain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDM_mnuLocateFile: mnuLocateFile_Click(); return 0;
                case IDM_mnuProperties: mnuProperties_Click(); return 0;
                case IDM_mnuAbout: mnuAbout_Click(); return 0;
                case IDC_cmdAdd: cmdAdd_Click(); return 0;
                case IDC_cmdRemove: cmdRemove_Click(); return 0;
                case IDC_cmdClear: cmdClear_Click(); return 0;
                case IDC_cmdLaunch: cmdLaunch_Click(); return 0;
                case IDOK:
                    // Enter in the parameters box presses the default button.
                    cmdLaunch_Click();
                    return 0;
                default: break;
            }
            break;
        case WM_DROPFILES:
            Form_DropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == lvwDemoQue) {
                lvwDemoQue_ContextMenu(lParam);
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (auto* header = reinterpret_cast<NMHDR*>(lParam); header->hwndFrom == lvwDemoQue)
                return lvwDemoQue_Notify(*header);
            break;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            font_ = win::CreateUiFont(dpi_);
            for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
            for (int column = 0; column < 3; ++column)
                ListView_SetColumnWidth(lvwDemoQue, column, TwipsToPixels(kColumnWidthTwips, dpi_));
            win::MoveToSuggestedPlace(hwnd_, lParam);
            LayoutControls();
            return 0;
        }
        case WM_DESTROY:
            if (quitOnDestroy_) ::PostQuitMessage(0);
            break;
        case WM_NCDESTROY: {
            HWND window = hwnd_;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        default: break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace reelwright
