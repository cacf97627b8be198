// The demo browser itself: its controls, its place kept per user, the
// worker's and the watcher's events shown in the list, the search box and the
// sort by a column's header.
#include "app/win/frmDemos.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "app/DemosWindowSettings.h"
#include "app/win/frmMain.h"
#include "core/SettingsStore.h"
#include "core/Text.h"
#include "core/win/Controls.h"
#include "core/win/basAPI.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

namespace {

struct ColumnSpec {
    const wchar_t* header;
    int widthTwips;
};

// The columns with their designed widths: together they fit the designed list.
constexpr ColumnSpec kColumns[] = {
    {L"Name", 2100},   {L"Game Type", 1150}, {L"Mode", 1300},     {L"Map", 1100}, {L"Length", 750},
    {L"Players", 750}, {L"Server", 1650},    {L"Recorded", 1650}, {L"Size", 900},
};
static_assert(std::size(kColumns) == kBrowseColumnCount);

// The file's time written as the user's clock shows it.
std::optional<LocalTime> LocalTimeOfStamp(std::uint64_t written) {
    if (written == 0) return std::nullopt;
    FILETIME stamp{static_cast<DWORD>(written & 0xFFFFFFFF), static_cast<DWORD>(written >> 32)};
    SYSTEMTIME universal{}, local{};
    if (!::FileTimeToSystemTime(&stamp, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return std::nullopt;
    return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
}


void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

frmDemos::frmDemos(AppServices services, SessionPlatform& sessions, frmMain& main, std::string cachePath)
    : BaseWindow(kClient), services_(services), sessions_(sessions), main_(main), cachePath_(std::move(cachePath)) {}

frmDemos::~frmDemos() { StopThreads(); }

bool frmDemos::Open() {
    if (IsOpen()) {
        if (::IsIconic(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
        ::SetForegroundWindow(hwnd());
        return true;
    }
    UseProgramIcons();
    if (!Create(kClassName, kTitle, kStyle, 0, main_.hwnd())) return false;
    const DemosWindowSettings kept = ReadDemosWindowSettings(services_.store, kBrowseColumnCount);
    std::vector<int> columnTwips;
    for (const ColumnSpec& column : kColumns) columnTwips.push_back(column.widthTwips);
    if (kept.columnTwips) columnTwips = *kept.columnTwips;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(main_.hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const SIZE frame = win::WindowSizeForClient(0, 0, kStyle, 0, false, dpi());
    const ScreenRoom room{monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top, dpi(),
                          frame.cx, frame.cy};
    SetClientSize(OpeningClientSize(kept.clientSize, {kClient.width, kClient.height}, room));
    PrepareLayout(false);
    CreateControls(columnTwips);
    ApplyDpi(dpi());
    PlaceWindow(kept.left, kept.top);
    StartWorker();
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(hwnd());
    ::SetForegroundWindow(hwnd());
    ::SetFocus(txtSearch);
    return true;
}

void frmDemos::PlaceWindow(const std::optional<int>& left, const std::optional<int>& top) {
    RECT place{};
    ::GetWindowRect(hwnd(), &place);
    if (left && top) {
        const RECT kept{*left, *top, *left + (place.right - place.left), *top + (place.bottom - place.top)};
        // Kept on a screen that is no longer there: the default place.
        if (::MonitorFromRect(&kept, MONITOR_DEFAULTTONULL)) {
            ::SetWindowPos(hwnd(), nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
    }
    win::CenterOnScreen(hwnd());
}

void frmDemos::SaveWindowSettings() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    RECT place{};
    ::GetWindowRect(hwnd(), &place);
    if (::IsIconic(hwnd()) || ::IsZoomed(hwnd())) {
        // The place it comes back to, in workspace coordinates: moved onto the desktop's.
        if (::GetWindowPlacement(hwnd(), &placement)) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof(monitor);
            ::GetMonitorInfoW(::MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY), &monitor);
            place = placement.rcNormalPosition;
            ::OffsetRect(&place, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
        }
    }
    std::vector<int> columnTwips;
    for (const int pixels : win::ColumnWidths(lvwDemos)) columnTwips.push_back(PixelsToTwips(pixels, columnsDpi_));
    SaveDemosWindowSettings(services_.store, place.left, place.top, clientSize(), columnTwips);
}

void frmDemos::CreateControls(const std::vector<int>& columnTwips) {
    constexpr Anchor wideAtTop{Follow::Grow, Follow::Start};
    constexpr Anchor growing{Follow::Grow, Follow::Grow};
    constexpr Anchor toBottom{Follow::Start, Follow::End};
    constexpr Anchor toBottomRight{Follow::End, Follow::End};
    constexpr auto font = win::ControlFont::Dialog;
    // In tab order; the label comes right before the box its access key leads to.
    const win::ControlSpec table[] = {
        {&lblSearch, WC_STATICW, L"&Search:", SS_LEFT, 0, IDC_lblSearch, kSearchLabel},
        {&txtSearch, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, IDC_txtSearch, kSearchBox, nullptr,
         font, wideAtTop},
        {&lvwDemos, WC_LISTVIEWW, L"",
         WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_EDITLABELS, WS_EX_CLIENTEDGE,
         IDC_lvwDemos, kDemoList, nullptr, font, growing},
        {&cmdAddToQueue, WC_BUTTONW, L"&Add to Queue", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdAddToQueue, kAddButton,
         nullptr, font, toBottomRight},
        {&cmdPlay, WC_BUTTONW, L"&Play", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdPlay, kPlayButton, nullptr, font,
         toBottomRight},
        {&cmdLocate, WC_BUTTONW, L"&Locate SOF2 Folder...", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_cmdLocate, kLocateButton,
         nullptr, font, toBottom},
        {&lblStatus, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0, IDC_lblStatus, kStatusLine, nullptr,
         font, toBottom},
    };
    BaseWindow::CreateControls(table);
    ::ShowWindow(cmdLocate, SW_HIDE);
    ::SendMessageW(txtSearch, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Name, map, server, player..."));

    ListView_SetExtendedListViewStyle(lvwDemos, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    for (int column = 0; column < kBrowseColumnCount; ++column) {
        LVCOLUMNW definition{};
        definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        definition.fmt = column >= static_cast<int>(BrowseColumn::Length) && column != static_cast<int>(BrowseColumn::Server) &&
                                 column != static_cast<int>(BrowseColumn::Recorded)
                             ? LVCFMT_RIGHT
                             : LVCFMT_LEFT;
        if (column == 0) definition.fmt = LVCFMT_LEFT;  // the first column is always left-aligned
        definition.pszText = const_cast<wchar_t*>(kColumns[column].header);
        definition.cx = TwipsToPixels(columnTwips[static_cast<std::size_t>(column)], dpi());
        definition.iSubItem = column;
        ListView_InsertColumn(lvwDemos, column, &definition);
    }
    columnsDpi_ = dpi();

    searchKeys_.Install(txtSearch, [this](HWND box, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_KEYDOWN && txtSearch_KeyDown(wParam)) return 0;
        // The keys handled above would ring the bell as characters.
        if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == 0x06 /* Ctrl+F */)) return 0;
        if (message == WM_GETDLGCODE && lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lParam)->wParam == VK_ESCAPE)
            return DLGC_WANTMESSAGE;
        return ::DefSubclassProc(box, message, wParam, lParam);
    });
    listKeys_.Install(lvwDemos, [this](HWND list, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const bool key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP;
        if (key && lvwDemos_KeyDown(message, wParam)) return 0;
        // Enter reaches the list (not the dialog manager): it adds to the queue.
        if (message == WM_GETDLGCODE && lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
            return DLGC_WANTMESSAGE;
        return ::DefSubclassProc(list, message, wParam, lParam);
    });
}

void frmDemos::OnDpiApplied() {
    std::vector<int> widths = win::ColumnWidths(lvwDemos);
    for (int& width : widths) width = TwipsToPixels(PixelsToTwips(width, columnsDpi_), dpi());
    win::SetColumnWidths(lvwDemos, widths);
    columnsDpi_ = dpi();
}

void frmDemos::StartWorker() {
    StopThreads();
    catalog_.Clear();
    ShowRows({}, {});
    try {
        gameFolder_ = ReadGameFolder(services_.store);
    } catch (const std::exception&) {
        gameFolder_.clear();
    }
    const bool haveGame = !gameFolder_.empty();
    ::ShowWindow(cmdLocate, haveGame ? SW_HIDE : SW_SHOW);
    ::EnableWindow(lvwDemos, haveGame);
    ::EnableWindow(txtSearch, haveGame);
    walking_ = haveGame;
    if (haveGame) {
        worker_ = std::make_unique<BrowseWorker>(services_.files, gameFolder_, cache_, cachePath_,
                                                 [window = hwnd()] { ::PostMessageW(window, kEventsMessage, 0, 0); });
        watcher_ = std::make_unique<win::FolderWatcher>([worker = worker_.get()](const std::string& folder, bool lost) {
            worker->Rescan(folder, lost);
        });
    }
    ShowStatus();
}

void frmDemos::StopThreads() {
    // The watcher first: it hands its changes to the worker.
    watcher_.reset();
    if (!worker_) return;
    worker_.reset();
    if (!cachePath_.empty()) cache_.Save(services_.files, cachePath_);
}

void frmDemos::WalkAgain() {
    std::string gameFolder;
    try {
        gameFolder = ReadGameFolder(services_.store);
    } catch (const std::exception&) {
        return;
    }
    if (gameFolder != gameFolder_ || !worker_) {
        StartWorker();
        return;
    }
    walking_ = true;
    worker_->WalkAll();
    ShowStatus();
}

bool frmDemos::Idle() const { return !worker_ || (worker_->Idle() && !walking_); }

std::vector<std::string> frmDemos::SelectedPaths() const {
    std::vector<std::string> paths;
    for (LRESULT row = -1;;) {
        row = ::SendMessageW(lvwDemos, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
        if (row < 0 || static_cast<std::size_t>(row) >= catalog_.Shown()) return paths;
        paths.push_back(catalog_.ShownRow(static_cast<std::size_t>(row)).demo.path);
    }
}

std::string frmDemos::FocusedPath() const {
    const int row = win::FocusedRow(lvwDemos);
    if (row < 0 || static_cast<std::size_t>(row) >= catalog_.Shown()) return {};
    return catalog_.ShownRow(static_cast<std::size_t>(row)).demo.path;
}

void frmDemos::TakeEvents() {
    if (!worker_) return;
    std::vector<BrowseWorker::Event> events = worker_->TakeEvents();
    if (events.empty()) return;
    const std::vector<std::string> selected = SelectedPaths();
    const std::string focused = FocusedPath();
    bool rowsMoved = false;
    for (BrowseWorker::Event& event : events) {
        switch (event.kind) {
            case BrowseWorker::Event::Kind::Folder:
                if (watcher_) watcher_->Watch(event.rows.folder);
                catalog_.ReplaceFolder(std::move(event.rows));
                rowsMoved = true;
                break;
            case BrowseWorker::Event::Kind::FolderGone:
                if (watcher_) watcher_->Unwatch(event.folder);
                catalog_.RemoveFolderTree(event.folder);
                rowsMoved = true;
                break;
            case BrowseWorker::Event::Kind::Details:
                catalog_.SetDetails(event.path, event.stamp, std::move(event.details));
                break;
            case BrowseWorker::Event::Kind::WalkDone: walking_ = false; break;
        }
    }
    const std::size_t before = catalog_.Shown();
    catalog_.Refresh();
    if (rowsMoved || catalog_.Shown() != before || catalog_.Searching() || sortColumn_ >= 0) ShowRows(selected, focused);
    else ::InvalidateRect(lvwDemos, nullptr, FALSE);
    ShowStatus();
}

void frmDemos::ShowRows(const std::vector<std::string>& selected, const std::string& focused) {
    const win::RedrawPause pause(lvwDemos);
    ::SendMessageW(lvwDemos, LVM_SETITEMCOUNT, catalog_.Shown(), LVSICF_NOSCROLL);
    SetRowState(lvwDemos, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const std::string& path : selected)
        if (const auto row = catalog_.PositionOf(path)) SetRowState(lvwDemos, static_cast<int>(*row), LVIS_SELECTED, LVIS_SELECTED);
    if (!focused.empty())
        if (const auto row = catalog_.PositionOf(focused)) SetRowState(lvwDemos, static_cast<int>(*row), LVIS_FOCUSED, LVIS_FOCUSED);
}

void frmDemos::ShowStatus() {
    std::string status = gameFolder_.empty() ? std::string(kNoGameFolderStatus) : catalog_.StatusText();
    if (!gameFolder_.empty() && walking_) status += kWalkingStatusTail;
    win::SetText(lblStatus, status);
}

void frmDemos::txtSearch_Change() {
    const std::vector<std::string> selected = SelectedPaths();
    const std::string focused = FocusedPath();
    catalog_.SetSearch(win::GetText(txtSearch));
    ShowRows(selected, focused);
    ShowStatus();
}

bool frmDemos::txtSearch_KeyDown(WPARAM key) {
    if (key == VK_ESCAPE) {
        if (::GetWindowTextLengthW(txtSearch) > 0) win::SetText(txtSearch, "");  // EN_CHANGE narrows no more
        return true;
    }
    if (key == VK_DOWN) {
        ::SetFocus(lvwDemos);
        if (catalog_.Shown() > 0 && win::FocusedRow(lvwDemos) < 0) {
            SetRowState(lvwDemos, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ::SendMessageW(lvwDemos, LVM_ENSUREVISIBLE, 0, FALSE);
        }
        return true;
    }
    if (key == VK_F5) {
        WalkAgain();
        return true;
    }
    if (key == 'F' && win::KeyHeld(VK_CONTROL)) {
        ::SendMessageW(txtSearch, EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

bool frmDemos::lvwDemos_KeyDown(UINT message, WPARAM key) {
    if (key == VK_APPS) {
        // The menu opens when the key is let go, as the system does it.
        if (message == WM_KEYUP) lvwDemos_ContextMenu(-1);
        return true;
    }
    if (message != WM_KEYDOWN) return false;
    if (key == VK_F10 && win::KeyHeld(VK_SHIFT)) {
        lvwDemos_ContextMenu(-1);
        return true;
    }
    switch (key) {
        case VK_RETURN: cmdAddToQueue_Click(); return true;
        case VK_DELETE: mnuDelete_Click(); return true;
        case VK_F2: mnuRename_Click(); return true;
        case VK_F5: WalkAgain(); return true;
        case 'F':
            if (!win::KeyHeld(VK_CONTROL)) return false;
            ::SetFocus(txtSearch);
            ::SendMessageW(txtSearch, EM_SETSEL, 0, -1);
            return true;
        case 'A':
            if (!win::KeyHeld(VK_CONTROL)) return false;
            win::SelectAllRows(lvwDemos);
            return true;
        default: return false;
    }
}

void frmDemos::lvwDemos_ColumnClick(int column) {
    if (column < 0 || column >= kBrowseColumnCount) return;
    const bool descending = column == sortColumn_ && !sortDescending_;
    const std::vector<std::string> selected = SelectedPaths();
    const std::string focused = FocusedPath();
    catalog_.SortBy(static_cast<BrowseColumn>(column), descending);
    sortColumn_ = column;
    sortDescending_ = descending;
    win::ShowSortArrow(lvwDemos, column, descending);
    ShowRows(selected, focused);
}

LRESULT frmDemos::lvwDemos_Notify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
            LVITEMW& item = info.item;
            if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
            item.pszText[0] = L'\0';
            if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= catalog_.Shown()) return 0;
            const BrowsedDemo& row = catalog_.ShownRow(static_cast<std::size_t>(item.iItem));
            const auto column = static_cast<BrowseColumn>(item.iSubItem);
            const auto recorded = column == BrowseColumn::Recorded ? LocalTimeOfStamp(row.demo.stamp.written) : std::nullopt;
            win::CopyCellText(BrowseCellText(row, column, recorded), item.pszText, item.cchTextMax);
            // A row in view whose details are still to come is read next.
            if (item.iSubItem == 0 && !row.details && worker_) worker_->Prefer({row.demo.path});
            return 0;
        }
        case LVN_COLUMNCLICK: lvwDemos_ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem); return 0;
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
            if (activate.iItem >= 0) cmdAddToQueue_Click();
            return 0;
        }
        case LVN_BEGINLABELEDITW: lvwDemos_BeginRename(reinterpret_cast<NMLVDISPINFOW&>(header)); return FALSE;
        case LVN_ENDLABELEDITW:
            lvwDemos_EndRename(reinterpret_cast<NMLVDISPINFOW&>(header));
            return FALSE;  // the row shows the catalog's name
        case LVN_ODFINDITEMW: {
            // Typing the beginning of a name jumps to it.
            const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
            if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
            const std::string typed = basAPI::Narrow(find.lvfi.psz);
            const std::size_t count = catalog_.Shown();
            if (count == 0 || typed.empty()) return -1;
            const std::size_t start = find.iStart >= 0 && static_cast<std::size_t>(find.iStart) < count
                                          ? static_cast<std::size_t>(find.iStart)
                                          : 0;
            for (std::size_t step = 0; step < count; ++step) {
                const std::size_t row = (start + step) % count;
                const std::string& name = catalog_.ShownRow(row).demo.name;
                if (name.size() >= typed.size() && EqualIgnoringAsciiCase(std::string_view(name).substr(0, typed.size()), typed))
                    return static_cast<LRESULT>(row);
            }
            return -1;
        }
        default: return 0;
    }
}

void frmDemos::cmdLocate_Click() {
    main_.LocateGameFolder();
    WalkAgain();
}

LRESULT frmDemos::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_txtSearch:
                    if (HIWORD(wParam) == EN_CHANGE) txtSearch_Change();
                    return 0;
                case IDC_cmdAddToQueue: cmdAddToQueue_Click(); return 0;
                case IDC_cmdPlay: cmdPlay_Click(); return 0;
                case IDC_cmdLocate: cmdLocate_Click(); return 0;
                case IDOK:
                    // Enter outside the list: from the search box it goes to the list.
                    if (::GetFocus() == txtSearch) txtSearch_KeyDown(VK_DOWN);
                    return 0;
                case IDCANCEL:
                    // Esc clears the search wherever the focus is.
                    if (::GetWindowTextLengthW(txtSearch) > 0) win::SetText(txtSearch, "");
                    return 0;
                default: break;
            }
            break;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == lvwDemos) {
                lvwDemos_ContextMenu(lParam);
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (auto* header = reinterpret_cast<NMHDR*>(lParam); header->hwndFrom == lvwDemos)
                return lvwDemos_Notify(*header);
            break;
        case kEventsMessage: TakeEvents(); return 0;
        case WM_DESTROY:
            SaveWindowSettings();
            // No thread outlives the window.
            StopThreads();
            break;
        default: break;
    }
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

}  // namespace reelwright
