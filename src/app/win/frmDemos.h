// The demo browser "Reelwright - Demos": every demo of the game folder in a
// list that a search box narrows as the user types, from which demos are
// added to the queue, played, shown in their folder, renamed and deleted. A
// modeless, resizable window owned by the main window. Its worker thread
// walks the demos folders and reads the demos' details (kept in a cache
// file), its watcher thread sees the folders change; both end with the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browse/BrowseWorker.h"
#include "browse/DemoCatalog.h"
#include "browse/DetailsCache.h"
#include "browse/win/FolderWatcher.h"
#include "core/AppServices.h"
#include "core/Layout.h"
#include "core/win/BaseWindow.h"
#include "core/win/WindowSubclass.h"
#include "session/SessionGuard.h"

namespace reelwright {

class frmMain;

inline constexpr const char* kNoGameFolderStatus = "No SOF2 folder is set, so there are no demos to list.";
inline constexpr const char* kWalkingStatusTail = ", looking for more...";
inline constexpr const char* kRenameFailedText = "The demo could not be renamed: ";
inline constexpr const char* kDeleteFailedText = "Some of the demos could not be moved to the Recycle Bin.";

class frmDemos : public win::BaseWindow<frmDemos> {
public:
    enum Id : int {
        IDC_lblSearch = 100,
        IDC_txtSearch,
        IDC_lvwDemos,
        IDC_lblStatus,
        IDC_cmdLocate,
        IDC_cmdAddToQueue,
        IDC_cmdPlay,
        // The list's context menu.
        IDM_mnuPlay = 300,
        IDM_mnuAddToQueue,
        IDM_mnuShowInFolder,
        IDM_mnuRename,
        IDM_mnuDelete,
    };

    static constexpr const wchar_t* kClassName = L"ReelwrightDemos";
    static constexpr const wchar_t* kTitle = L"Reelwright - Demos";
    // Posted to the window when the worker's events wait for it.
    static constexpr UINT kEventsMessage = WM_APP + 1;

    // `cachePath` is where the details are kept (empty: nowhere).
    frmDemos(AppServices services, SessionPlatform& sessions, frmMain& main, std::string cachePath);
    ~frmDemos() override;

    // Creates the window at its kept place and size, or brings it to the front.
    bool Open();

    // Walks every demos folder again (F5); a new game folder starts afresh.
    void WalkAgain();
    // The worker has nothing left to walk or read, and every event is shown.
    bool Idle() const;
    const DemoCatalog& catalog() const { return catalog_; }
    // The demos of the selected rows, in the list's order.
    std::vector<std::string> SelectedPaths() const;

    // Controls.
    HWND lblSearch = nullptr;
    HWND txtSearch = nullptr;
    HWND lvwDemos = nullptr;
    HWND lblStatus = nullptr;
    HWND cmdLocate = nullptr;
    HWND cmdAddToQueue = nullptr;
    HWND cmdPlay = nullptr;

    // Layout in twips. Larger than designed, the search box and the list grow
    // with the window, the status line and the buttons keep to its bottom,
    // the buttons to its right.
    static constexpr TwipsRect kClient{0, 0, 12000, 6540};
    static constexpr TwipsRect kSearchLabel{120, 165, 720, 255};
    static constexpr TwipsRect kSearchBox{900, 120, 10980, 330};
    static constexpr TwipsRect kDemoList{120, 570, 11760, 5340};
    static constexpr TwipsRect kStatusLine{120, 6075, 4680, 255};
    static constexpr TwipsRect kLocateButton{4920, 6030, 2400, 375};
    static constexpr TwipsRect kAddButton{8400, 6030, 1680, 375};
    static constexpr TwipsRect kPlayButton{10200, 6030, 1680, 375};
    static constexpr DWORD kStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

private:
    friend class win::BaseWindow<frmDemos>;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(const std::vector<int>& columnTwips);
    void OnDpiApplied() override;
    // Puts the window at its kept place when that lies on a screen.
    void PlaceWindow(const std::optional<int>& left, const std::optional<int>& top);
    void SaveWindowSettings();

    // The worker, the watcher and the catalog (frmDemos.cpp).
    void StartWorker();
    void StopThreads();
    void TakeEvents();
    // Shows the catalog's rows in view, keeping the selection and the focus
    // on their demos.
    void ShowRows(const std::vector<std::string>& selected, const std::string& focused);
    void ShowStatus();
    LRESULT lvwDemos_Notify(NMHDR& header);
    void txtSearch_Change();
    bool txtSearch_KeyDown(WPARAM key);
    bool lvwDemos_KeyDown(UINT message, WPARAM key);
    void lvwDemos_ColumnClick(int column);
    void cmdLocate_Click();
    std::string FocusedPath() const;

    // What is done with the chosen demos (frmDemosActions.cpp).
    void cmdAddToQueue_Click();
    void cmdPlay_Click();
    void mnuShowInFolder_Click();
    void mnuRename_Click();
    void mnuDelete_Click();
    // `where`: the screen point of a right click, or -1 from the keyboard.
    void lvwDemos_ContextMenu(LPARAM where);
    // The label edit of a rename: the file name alone is edited.
    void lvwDemos_BeginRename(NMLVDISPINFOW& info);
    void lvwDemos_EndRename(const NMLVDISPINFOW& info);

    AppServices services_;
    SessionPlatform& sessions_;
    frmMain& main_;
    const std::string cachePath_;
    std::string gameFolder_;
    DemoCatalog catalog_;
    DetailsCache cache_;
    bool walking_ = false;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
    int columnsDpi_ = 96;
    // The demo whose name is being edited.
    std::string renaming_;
    win::WindowSubclass searchKeys_;
    win::WindowSubclass listKeys_;
    // Last, in this order: the watcher (which hands changes to the worker)
    // ends first, then the worker.
    std::unique_ptr<BrowseWorker> worker_;
    std::unique_ptr<win::FolderWatcher> watcher_;
};

}  // namespace reelwright
