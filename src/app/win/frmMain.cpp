// The main window itself: its controls and menu bar, its load, the command
// dispatch, and the About box.
#include "app/win/frmMain.h"

#include <commctrl.h>

#include <exception>
#include <iterator>
#include <optional>

#include "about/win/frmAbout.h"
#include "app/win/frmDemos.h"
#include "app/FirstRunSetup.h"
#include "core/AppInfo.h"
#include "core/SettingsStore.h"
#include "core/Text.h"
#include "core/GameFolder.h"
#include "core/win/Controls.h"
#include "prefs/win/frmProperties.h"
#include "queue/win/DemoListView.h"

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
    if (HMENU file = ::GetSubMenu(bar.get(), 0))
        ::AppendMenuW(file, MF_STRING, static_cast<UINT_PTR>(frmMain::IDM_mnuBrowseDemos), L"&Browse Demos...\tCtrl+B");
    AppendOneItemMenu(bar.get(), L"T&ools", frmMain::IDM_mnuProperties, L"Properties");
    AppendOneItemMenu(bar.get(), L"&Help", frmMain::IDM_mnuAbout, L"A&bout");
    return bar;
}

struct ColumnSpec {
    const wchar_t* header;
    int widthTwips;
};

// The list's columns with their designed widths; at the designed size the
// list scrolls sideways to the last two.
constexpr ColumnSpec kColumns[] = {
    {L"Name", frmMain::kColumnWidthTwips},
    {L"Game Type", frmMain::kColumnWidthTwips},
    {L"Path", frmMain::kColumnWidthTwips},
    {L"Map", frmMain::kMapColumnWidthTwips},
    {L"Length", frmMain::kLengthColumnWidthTwips},
};
constexpr int kColumnCount = frmMain::kColumnCount;
static_assert(std::size(kColumns) == kColumnCount);

// The work area of the screen the window opens on (the one it is centred
// on), with what its border, caption and menu bar take there.
ScreenRoom ScreenRoomOf(HWND window, int dpi) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const SIZE frame = win::WindowSizeForClient(0, 0, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)),
                                                static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE)),
                                                ::GetMenu(window) != nullptr, dpi);
    return {area.right - area.left, area.bottom - area.top, dpi, frame.cx, frame.cy};
}

}  // namespace

frmMain::frmMain(AppServices services, SessionPlatform& sessions)
    : BaseWindow(kClient), services_(services), sessions_(sessions) {}

frmMain::~frmMain() = default;

frmAbout* frmMain::About() const { return about_ && about_->IsOpen() ? about_.get() : nullptr; }

frmProperties* frmMain::Properties() const {
    return properties_ && properties_->IsOpen() ? properties_.get() : nullptr;
}

frmDemos* frmMain::Demos() const { return demos_ && demos_->IsOpen() ? demos_.get() : nullptr; }

void frmMain::mnuBrowseDemos_Click() {
    if (!Demos()) {
        // The details of the demos are kept beside the session journal.
        std::string cachePath;
        if (const std::string local = sessions_.Virtualised().localAppData; !local.empty()) {
            const std::string folder = JoinFolder(local, "Reelwright");
            services_.files.CreateFolder(folder);  // there already, most times
            cachePath = JoinFolder(folder, "demo-details.cache");
        }
        demos_ = std::make_unique<frmDemos>(services_, sessions_, *this, cachePath);
    }
    if (!demos_->Open()) demos_.reset();
}

bool frmMain::TranslateShortcut(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != 'B' || !hwnd()) return false;
    if ((::GetKeyState(VK_CONTROL) & 0x8000) == 0 || (::GetKeyState(VK_MENU) & 0x8000) != 0) return false;
    if (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd)) return false;
    mnuBrowseDemos_Click();
    return true;
}

std::string frmMain::OptionalParameters() const { return win::GetText(txtOptionalParams); }

void frmMain::QueueEntriesRemoved() {
    ForgetRemovedDetails();
    RefreshDemoList();
}

LoadOutcome frmMain::Load(const std::string& commandLineTail) {
    UseProgramIcons();
    // Files dropped anywhere on the window, the list included, reach it: the
    // style is what DragAcceptFiles sets, without loading shell32 before the
    // window shows.
    if (!Create(kClassName, L"Reelwright", kStyle, WS_EX_ACCEPTFILES, nullptr, BuildMenu()))
        return LoadOutcome::EndProgram;
    const std::vector<int> columnTwips = ReadWindowSettings();
    PrepareLayout(true);
    CreateControls(columnTwips);
    ApplyDpi(dpi());
    // The reader's thread ends with the window (WM_DESTROY).
    detailsReader_ = std::make_unique<DemoDetailsReader>(
        [window = hwnd()] { ::PostMessageW(window, kDetailsReadMessage, 0, 0); });

    const LoadOutcome outcome = RunMainWindowLoad(
        services_, commandLineTail,
        [this](const std::string& gameFolder) { return RunFirstRunSetup(services_, gameFolder); }, &queue_);
    if (outcome == LoadOutcome::EndProgram) ::DestroyWindow(hwnd());
    else if (!queue_.Empty()) ShowAppendedDemos(0);  // a pack of several demos opened with the program
    return outcome;
}

void frmMain::mnuAbout_Click() {
    // An open box comes to the front; a closed one is made anew.
    if (!About()) about_ = std::make_unique<frmAbout>(hwnd());
    about_->Open();
}

std::vector<int> frmMain::ReadWindowSettings() {
    std::vector<int> columnTwips;
    for (const ColumnSpec& column : kColumns) columnTwips.push_back(column.widthTwips);
    std::optional<TwipsSize> stored;
    try {
        SettingsStore& store = services_.store;
        const std::optional<int> width = ParseStoredTwips(store.GetSetting(kSectionMainWindow, kKeyWidth));
        const std::optional<int> height = ParseStoredTwips(store.GetSetting(kSectionMainWindow, kKeyHeight));
        if (width && height) stored = TwipsSize{*width, *height};
        maximised_ = WholeNumber(store.GetSetting(kSectionMainWindow, kKeyMaximised)) == 1;
        if (auto widths = ParseColumnWidths(store.GetSetting(kSectionMainWindow, kKeyColumnWidths), kColumnCount))
            columnTwips = std::move(*widths);
    } catch (const std::exception&) {
        // The window opens as designed; the load tells of nothing either.
    }
    SetClientSize(OpeningClientSize(stored, {kClient.width, kClient.height}, ScreenRoomOf(hwnd(), dpi())));
    return columnTwips;
}

void frmMain::SaveWindowSettings() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    // Minimised (as Launch leaves it), it keeps whether it comes back maximised.
    const bool maximised = ::IsZoomed(hwnd()) || (::IsIconic(hwnd()) && ::GetWindowPlacement(hwnd(), &placement) &&
                                                  (placement.flags & WPF_RESTORETOMAXIMIZED));
    std::vector<int> columnTwips;
    for (const int pixels : win::ColumnWidths(lvwDemoQue)) columnTwips.push_back(PixelsToTwips(pixels, columnsDpi_));
    try {
        SettingsStore& store = services_.store;
        store.SaveSetting(kSectionMainWindow, kKeyWidth, std::to_string(clientSize().width));
        store.SaveSetting(kSectionMainWindow, kKeyHeight, std::to_string(clientSize().height));
        store.SaveSetting(kSectionMainWindow, kKeyMaximised, maximised ? "1" : "0");
        store.SaveSetting(kSectionMainWindow, kKeyColumnWidths, FormatColumnWidths(columnTwips));
    } catch (const std::exception&) {
        // The window is closing: a size not kept opens it as designed next
        // time, which is no reason to hold the user with a box.
    }
}

void frmMain::Show(int showCommand) {
    if (maximised_ && showCommand == SW_SHOWNORMAL) showCommand = SW_SHOWMAXIMIZED;
    shown_ = true;
    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
    ::SetForegroundWindow(hwnd());
    ::SetFocus(cmdLaunch);
}

void frmMain::CreateControls(const std::vector<int>& columnTwips) {
    // How a control follows a window larger than designed.
    constexpr Anchor toBottomCentre{Follow::Centre, Follow::End};
    constexpr Anchor wideAtBottom{Follow::Grow, Follow::End};
    constexpr Anchor toBottom{Follow::Start, Follow::End};
    constexpr Anchor toRight{Follow::End, Follow::Start};
    constexpr Anchor growing{Follow::Grow, Follow::Grow};
    constexpr auto font = win::ControlFont::Dialog;
    // In tab order (cmdLaunch first); the frame and the labels take no focus,
    // so their place in the order does not matter for the keyboard. Places
    // are relative to the frame.
    const win::ControlSpec table[] = {
        {&cmdLaunch, WC_BUTTONW, L"Launch", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDC_cmdLaunch,
         Offset(kLaunchButton, kFrame), nullptr, font, toBottomCentre},
        {&txtOptionalParams, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, IDC_txtOptionalParams,
         Offset(kOptionalParamsBox, kFrame), nullptr, font, wideAtBottom},
        {&lvwDemoQue, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, WS_EX_CLIENTEDGE,
         IDC_lvwDemoQue, Offset(kDemoList, kFrame), nullptr, font, growing},
        {&cmdAdd, WC_BUTTONW, L"Add", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdAdd, Offset(kAddButton, kFrame), nullptr,
         font, toRight},
        {&lblOptionalParams, WC_STATICW, L"Optional Parameters:", SS_LEFT, 0, IDC_lblOptionalParams,
         Offset(kOptionalParamsLabel, kFrame), nullptr, font, toBottom},
        {&lblQueDemos, WC_STATICW, L"Queued demo's:", SS_LEFT, 0, IDC_lblQueDemos, Offset(kQueDemosLabel, kFrame)},
        {&cmdRemove, WC_BUTTONW, L"Remove", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdRemove,
         Offset(kRemoveButton, kFrame), nullptr, font, toRight},
        {&cmdClear, WC_BUTTONW, L"Clear List", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdClear,
         Offset(kClearButton, kFrame), nullptr, font, toRight},
        {&fmeReelwright, WC_BUTTONW, L"Reelwright", BS_GROUPBOX, 0, IDC_fmeReelwright, kFrame, nullptr, font, growing},
    };
    BaseWindow::CreateControls(table);
    // The frame is last in the z-order so that it is painted behind the controls.
    ::SetWindowPos(fmeReelwright, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ListView_SetExtendedListViewStyle(lvwDemoQue, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW definition{};
        definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        definition.pszText = const_cast<wchar_t*>(kColumns[column].header);
        definition.cx = TwipsToPixels(columnTwips[static_cast<std::size_t>(column)], dpi());
        definition.iSubItem = column;
        ListView_InsertColumn(lvwDemoQue, column, &definition);
    }
    columnsDpi_ = dpi();
    PrepareDemoList();
}

void frmMain::OnDpiApplied() {
    // The columns keep their widths in twips, as the user left them: read
    // at the DPI they were set for and set again for the new one. At the
    // load they were made at the window's DPI already.
    if (columnsDpi_ == dpi()) return;
    std::vector<int> widths = win::ColumnWidths(lvwDemoQue);
    for (int& width : widths) width = TwipsToPixels(PixelsToTwips(width, columnsDpi_), dpi());
    win::SetColumnWidths(lvwDemoQue, widths);
    columnsDpi_ = dpi();
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDM_mnuLocateFile: mnuLocateFile_Click(); return 0;
                case IDM_mnuProperties: mnuProperties_Click(); return 0;
                case IDM_mnuAbout: mnuAbout_Click(); return 0;
                case IDM_mnuBrowseDemos: mnuBrowseDemos_Click(); return 0;
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
        case WM_ENDSESSION:
            // The system ends the program without destroying its windows.
            if (wParam && shown_) SaveWindowSettings();
            return 0;
        case WM_DESTROY:
            if (shown_) SaveWindowSettings();
            // The browser goes first, with its threads.
            demos_.reset();
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
