// The main window: the demo queue, the optional parameters, Launch, and the
// menu that leads to the game folder setup, the properties and the About box.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/AppServices.h"
#include "core/Layout.h"
#include "app/MainWindowLoad.h"
#include "queue/DemoDetails.h"
#include "queue/DemoDetailsReader.h"
#include "queue/DemoQueue.h"
#include "session/SessionGuard.h"
#include "core/win/BaseWindow.h"
#include "core/win/WindowSubclass.h"
#include "core/win/basAPI.h"

namespace reelwright {

class frmAbout;
class frmDemos;
class frmProperties;

class frmMain : public win::BaseWindow<frmMain> {
public:
    // Control and menu ids.
    enum Id : int {
        IDC_fmeReelwright = 100,
        IDC_lblQueDemos,
        IDC_lvwDemoQue,
        IDC_cmdAdd,
        IDC_cmdRemove,
        IDC_cmdClear,
        IDC_lblOptionalParams,
        IDC_txtOptionalParams,
        IDC_cmdLaunch,
        IDM_mnuLocateFile = 200,
        IDM_mnuProperties,
        IDM_mnuAbout,
        IDM_mnuBrowseDemos,
        // The queue list's context menu.
        IDM_mnuMoveUp = 300,
        IDM_mnuMoveDown,
        IDM_mnuRemove,
        IDM_mnuClearList,
        IDM_mnuSortByName,
    };

    static constexpr const wchar_t* kClassName = L"ReelwrightMain";
    // Posted to the window when read details wait for it.
    static constexpr UINT kDetailsReadMessage = WM_APP + 1;

    // `sessions` guards the game's config during a chained session.
    frmMain(AppServices services, SessionPlatform& sessions);
    ~frmMain() override;

    // Creates the window hidden and runs its load (direct playback of the demo
    // in `commandLineTail`, then the first-run setup). Returns EndProgram when
    // the window must not be shown (the first-run prompt was cancelled); the
    // window is destroyed then.
    LoadOutcome Load(const std::string& commandLineTail);
    void Show(int showCommand = SW_SHOWNORMAL);

    // The program ends when its main window is closed; tests leave this off.
    void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }
    DemoQueue& queue() { return queue_; }
    // What has been read of the queued demos' files so far, under their ids.
    const DemoDetailsTable& details() const { return details_; }
    // How many queued files are still to be read; 0 once the window is gone.
    std::size_t DetailsWaiting() const { return detailsReader_ ? detailsReader_->Waiting() : 0; }
    // The About box and the properties dialog while they are open; the main
    // window owns both.
    frmAbout* About() const;
    frmProperties* Properties() const;
    // The demo browser while it is open; the main window owns it.
    frmDemos* Demos() const;

    // Opens the demo browser, or brings it to the front (File > Browse Demos..., Ctrl+B).
    void mnuBrowseDemos_Click();
    // Passes Ctrl+B, pressed anywhere in the main window, to the browser;
    // true when the message was that key.
    bool TranslateShortcut(const MSG& message);

    // What the demo browser asks of the main window: the queue shows the
    // entries appended since it held `countBefore`; queued entries took new
    // names, or left the queue; the optional parameters' text; the folder setup.
    void QueueAppended(std::size_t countBefore) { ShowAppendedDemos(countBefore); }
    void QueueEntriesRenamed() { ::InvalidateRect(lvwDemoQue, nullptr, FALSE); }
    void QueueEntriesRemoved();
    std::string OptionalParameters() const;
    void LocateGameFolder() { mnuLocateFile_Click(); }

    // Shows the queue's rows in lvwDemoQue.
    void RefreshDemoList();
    // Hands the entries appended since the last call to the details reader,
    // those in view first.
    void ReadNewDetails();

    // Controls.
    HWND fmeReelwright = nullptr;
    HWND lblQueDemos = nullptr;
    HWND lvwDemoQue = nullptr;
    HWND cmdAdd = nullptr;
    HWND cmdRemove = nullptr;
    HWND cmdClear = nullptr;
    HWND lblOptionalParams = nullptr;
    HWND txtOptionalParams = nullptr;
    HWND cmdLaunch = nullptr;

    // Layout in twips, relative to the client area (the frame) and to the
    // frame. The window opens at kClient the first time and is never smaller;
    // larger, the frame, the queue and the parameters box grow with it, the
    // queue's buttons keep to its right edge, the parameters and Launch to its
    // bottom, and Launch keeps to its centre.
    static constexpr TwipsRect kClient{0, 0, 6465, 6420};
    static constexpr TwipsRect kFrame{240, 240, 5895, 6015};
    static constexpr TwipsRect kQueDemosLabel{120, 360, 2055, 255};
    static constexpr TwipsRect kDemoList{120, 720, 4695, 3615};
    static constexpr TwipsRect kAddButton{4920, 720, 855, 375};
    static constexpr TwipsRect kRemoveButton{4920, 1200, 855, 375};
    static constexpr TwipsRect kClearButton{4920, 1680, 855, 375};
    static constexpr TwipsRect kOptionalParamsLabel{120, 4560, 1695, 255};
    static constexpr TwipsRect kOptionalParamsBox{120, 4920, 5655, 375};
    static constexpr TwipsRect kLaunchButton{2280, 5520, 1095, 375};
    static constexpr int kColumnWidthTwips = 1440;
    static constexpr int kMapColumnWidthTwips = 1440;
    static constexpr int kLengthColumnWidthTwips = 1080;

    static constexpr DWORD kStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    static constexpr int kColumnCount = 5;

private:
    friend class win::BaseWindow<frmMain>;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The list's columns get `columnTwips`, one width per column.
    void CreateControls(const std::vector<int>& columnTwips);
    void OnDpiApplied() override;

    // What the window keeps of itself from one run to the next (frmMain.cpp):
    // its size, whether it was maximised and the queue's column widths. The
    // read gives the window the size it opens with and returns the widths
    // of the columns; a store that cannot be read or written is passed over.
    std::vector<int> ReadWindowSettings();
    void SaveWindowSettings();

    // The window, its menus and About (frmMain.cpp).
    void mnuAbout_Click();

    // Launch and the dialogs that prepare it (frmMainLaunch.cpp).
    void cmdLaunch_Click();
    void mnuLocateFile_Click();
    void mnuProperties_Click();
    // Asks for the game folder until a valid one is chosen or the user cancels.
    void SetupSOF2Folder();

    // The queue's list (frmMainQueue.cpp): files dropped onto the window, its
    // keys (Delete, Ctrl+A, Alt+Up, Alt+Down), its context menu, its rows on
    // demand and the details read for them.
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void PrepareDemoList();
    void Form_DropFiles(HDROP drop);
    // `where`: the screen point of a right click, or -1 from the keyboard.
    void lvwDemoQue_ContextMenu(LPARAM where);
    // Handles a key the list received; false when the list should handle it.
    bool lvwDemoQue_KeyDown(UINT message, WPARAM key, LPARAM flags);
    LRESULT lvwDemoQue_Notify(NMHDR& header);
    void mnuMoveUp_Click();
    void mnuMoveDown_Click();
    void mnuSortByName_Click();
    void SelectAllDemos();
    // A click on a column's header: sorts by it, or the other way round when
    // it is the column sorted last.
    void lvwDemoQue_ColumnClick(int column);
    // Takes the details that the reader has read and shows them.
    void ShowReadDetails();
    void ReportUnreadableSettings();
    // After Add or a drop: shows the rows appended since the queue held
    // `countBefore` entries, clears the sort arrow when any came, and has
    // their details read.
    void ShowAppendedDemos(std::size_t countBefore);
    void ApplyQueueOrder(const std::vector<std::size_t>& order, const std::vector<bool>& selectedBefore);
    // The entries left the queue: their details are dropped and those still
    // waiting are not read.
    void ForgetRemovedDetails();
    // The queue's order changed other than by a header click.
    void ClearSortArrow();

    AppServices services_;
    SessionPlatform& sessions_;
    DemoQueue queue_;
    bool quitOnDestroy_ = false;
    // The window opens maximised (it was when it last closed).
    bool maximised_ = false;
    // Shown once: only a window the user has seen keeps its size.
    bool shown_ = false;
    // The DPI that the list's column widths were last set for.
    int columnsDpi_ = 96;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<frmProperties> properties_;
    std::unique_ptr<frmDemos> demos_;
    DemoDetailsTable details_;
    // Entries from this id on have not been handed to the reader yet.
    DemoQueue::EntryId firstUnread_ = 1;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
    // The list's keys; taken off the list before the window goes.
    win::WindowSubclass listKeys_;
    // Last: it stops (waiting only for the file it is reading) before the
    // rest of the window goes.
    std::unique_ptr<DemoDetailsReader> detailsReader_;
};

}  // namespace reelwright
