// The main window itself: its controls and menu bar, its load, the command
// dispatch, and the About box.
#include "app/win/frmMain.h"

#include <commctrl.h>

#include <iterator>

#include "about/win/frmAbout.h"
#include "app/FirstRunSetup.h"
#include "core/AppInfo.h"
#include "core/win/Controls.h"
#include "prefs/win/frmProperties.h"

namespace reelwright {

namespace {

// Appends a menu of one item to `bar`, which then owns it.
void AppendOneItemMenu(HMENU bar, const wchar_t* caption, int id, const wchar_t* item) {
    basAPI::UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return;
    ::AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(id), item);
    if (::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu.get()), caption)) menu.release();
}

basAPI::UniqueMenu BuildMenu() {
    basAPI::UniqueMenu bar(::CreateMenu());
    if (!bar) return bar;
    AppendOneItemMenu(bar.get(), L"File", frmMain::IDM_mnuLocateFile, L"Locate SOF2.exe File");
    AppendOneItemMenu(bar.get(), L"T&ools", frmMain::IDM_mnuProperties, L"Properties");
    AppendOneItemMenu(bar.get(), L"&Help", frmMain::IDM_mnuAbout, L"A&bout");
    return bar;
}

struct ColumnSpec {
    const wchar_t* header;
    int widthTwips;
};

// The list's columns; the list scrolls sideways to the last two.
constexpr ColumnSpec kColumns[] = {
    {L"Name", frmMain::kColumnWidthTwips},
    {L"Game Type", frmMain::kColumnWidthTwips},
    {L"Path", frmMain::kColumnWidthTwips},
    {L"Map", frmMain::kMapColumnWidthTwips},
    {L"Length", frmMain::kLengthColumnWidthTwips},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

}  // namespace

frmMain::frmMain(AppServices services, SessionPlatform& sessions)
    : BaseWindow(kClient), services_(services), sessions_(sessions) {}

frmMain::~frmMain() = default;

frmAbout* frmMain::About() const { return about_ && about_->IsOpen() ? about_.get() : nullptr; }

frmProperties* frmMain::Properties() const {
    return properties_ && properties_->IsOpen() ? properties_.get() : nullptr;
}

LoadOutcome frmMain::Load(const std::string& commandLineTail) {
    UseProgramIcons();
    if (!Create(kClassName, L"Reelwright", kStyle, 0, nullptr, BuildMenu())) return LoadOutcome::EndProgram;
    CreateControls();
    ApplyDpi(dpi());
    // The reader's thread ends with the window (WM_DESTROY).
    detailsReader_ = std::make_unique<DemoDetailsReader>(
        [window = hwnd()] { ::PostMessageW(window, kDetailsReadMessage, 0, 0); });
    win::CenterOnScreen(hwnd());

    const LoadOutcome outcome = RunMainWindowLoad(services_, commandLineTail, [this](const std::string& gameFolder) {
        return RunFirstRunSetup(services_, gameFolder);
    });
    if (outcome == LoadOutcome::EndProgram) ::DestroyWindow(hwnd());
    return outcome;
}

void frmMain::mnuAbout_Click() {
    // An open box comes to the front; a closed one is made anew.
    if (!About()) about_ = std::make_unique<frmAbout>(hwnd());
    about_->Open();
}

void frmMain::Show(int showCommand) {
    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
    ::SetForegroundWindow(hwnd());
    ::SetFocus(cmdLaunch);
}

void frmMain::CreateControls() {
    // In tab order (cmdLaunch first); the frame and the labels take no focus,
    // so their place in the order does not matter for the keyboard. Places
    // are relative to the frame.
    const win::ControlSpec table[] = {
        {&cmdLaunch, WC_BUTTONW, L"Launch", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDC_cmdLaunch,
         Offset(kLaunchButton, kFrame)},
        {&txtOptionalParams, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, IDC_txtOptionalParams,
         Offset(kOptionalParamsBox, kFrame)},
        {&lvwDemoQue, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, WS_EX_CLIENTEDGE,
         IDC_lvwDemoQue, Offset(kDemoList, kFrame)},
        {&cmdAdd, WC_BUTTONW, L"Add", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdAdd, Offset(kAddButton, kFrame)},
        {&lblOptionalParams, WC_STATICW, L"Optional Parameters:", SS_LEFT, 0, IDC_lblOptionalParams,
         Offset(kOptionalParamsLabel, kFrame)},
        {&lblQueDemos, WC_STATICW, L"Queued demo's:", SS_LEFT, 0, IDC_lblQueDemos, Offset(kQueDemosLabel, kFrame)},
        {&cmdRemove, WC_BUTTONW, L"Remove", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdRemove,
         Offset(kRemoveButton, kFrame)},
        {&cmdClear, WC_BUTTONW, L"Clear List", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdClear,
         Offset(kClearButton, kFrame)},
        {&fmeReelwright, WC_BUTTONW, L"Reelwright", BS_GROUPBOX, 0, IDC_fmeReelwright, kFrame},
    };
    BaseWindow::CreateControls(table);
    // The frame is last in the z-order so that it is painted behind the controls.
    ::SetWindowPos(fmeReelwright, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ListView_SetExtendedListViewStyle(lvwDemoQue, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW definition{};
        definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        definition.pszText = const_cast<wchar_t*>(kColumns[column].header);
        definition.cx = TwipsToPixels(kColumns[column].widthTwips, dpi());
        definition.iSubItem = column;
        ListView_InsertColumn(lvwDemoQue, column, &definition);
    }
    PrepareDemoList();
}

void frmMain::OnDpiApplied() {
    for (int column = 0; column < kColumnCount; ++column)
        ListView_SetColumnWidth(lvwDemoQue, column, TwipsToPixels(kColumns[column].widthTwips, dpi()));
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
        case kDetailsReadMessage:
            ShowReadDetails();
            return 0;
        case WM_DESTROY:
            // No thread outlives the window; the file being read is the most
            // this waits for.
            detailsReader_.reset();
            if (quitOnDestroy_) ::PostQuitMessage(0);
            break;
        default: break;
    }
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

}  // namespace reelwright
