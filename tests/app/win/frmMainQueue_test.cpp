// The queue buttons of the real main window: Add through the real open-file
// dialog, answered from another thread as a user would, and Remove and Clear
// on the real list view.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>
#include <iostream>
#include <memory>

#include "app/win/frmMain.h"
#include "queue/win/DemoListView.h"
#include "support/win/WinTestSupport.h"
#include "queue/DemoDetailsText.h"
#include "support/DemoEncoder.h"
#include "support/ZipWriter.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;

constexpr const wchar_t* kDialogTitle = L"Add SOF2 Demo Files for viewing...";
constexpr const wchar_t* kAddErrorTitleW = L"Reelwright - Error adding demos";

// The list of files inside the dialog's shell view.
HWND ShellFileList(HWND dialog) {
    HWND view = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
    return view ? ::FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
}

// Answers Add's open-file dialog with `answer`. A dialog shown again would
// wait for an answer forever: it is cancelled and counted, so that the test
// fails instead of hanging. Add's own messages are confirmed with OK.
class AddDialog {
public:
    explicit AddDialog(DialogAnswerer::Answer answer)
        : answerer_({{kDialogTitle, std::move(answer)},
                     {kDialogTitle, DialogAnswerer::Click(IDCANCEL), true},
                     {kAddErrorTitleW, DialogAnswerer::Click(IDOK), true},
                     // Files from outside the demos folders stay where they are.
                     {L"Reelwright - Copy demo", DialogAnswerer::Click(IDNO), true}},
                    15s) {}
    // The open-file dialog as it first came; false when it did not.
    bool Shown() { return !answerer_.Seen(kDialogTitle).empty(); }
    HWND Owner() { return Shown() ? answerer_.Seen(kDialogTitle)[0].owner : nullptr; }
    int ShownAgain() { return Shown() ? static_cast<int>(answerer_.Seen(kDialogTitle).size()) - 1 : 0; }
    std::vector<DialogSnapshot> Messages() { return answerer_.Seen(kAddErrorTitleW); }

    // Opens `folder` in the dialog, then types `names` and presses Open.
    static DialogAnswerer::Answer OpenFolderThenType(std::wstring folder, std::wstring names) {
        return [folder, names](HWND dialog) {
            ::SendMessageW(FileNameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            DialogAnswerer::TypeFileName(names)(dialog);
        };
    }

private:
    DialogAnswerer answerer_;
};

class QueueButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        ASSERT_EQ(window.Load(""), LoadOutcome::ShowWindow);
        real.realPrompts.SetOwner(window.hwnd());
        window.Show();
    }
    void TearDown() override { ClearSettings(); }

    struct Row {
        std::string name, gameType, path;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> Rows() {
        std::vector<Row> rows;
        const int count = static_cast<int>(::SendMessageW(window.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row)
            rows.push_back({win::DemoCellText(window.lvwDemoQue, row, 0), win::DemoCellText(window.lvwDemoQue, row, 1),
                            win::DemoCellText(window.lvwDemoQue, row, 2)});
        return rows;
    }
    void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
    void Select(int row, UINT state = LVIS_SELECTED | LVIS_FOCUSED) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = state;
        ::SendMessageW(window.lvwDemoQue, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    void Queue(std::initializer_list<const char*> names) {
        for (const char* name : names) window.queue().Append({name, "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"});
        window.RefreshDemoList();
    }
    std::vector<std::string> QueueNames() {
        std::vector<std::string> names;
        for (const auto& entry : window.queue().Entries()) names.push_back(entry.Name);
        return names;
    }
    std::vector<std::string> RowNames() {
        std::vector<std::string> names;
        for (const auto& row : Rows()) names.push_back(row.name);
        return names;
    }

    GameFolder game;
    RealServices real;
    frmMain window{real.Services(true), real.sessions};
};

TEST_F(QueueButtonsTest, AddOneFileThroughTheRealDialog) {
    game.AddFile(L"mymod\\demos\\ctf1.dm_2004");
    game.AddFile(L"mymod\\demos\\other.dm_2004");
    std::wstring folder, filter;
    AddDialog add([&](HWND dialog) {
        wchar_t shown[MAX_PATH * 2]{};
        ::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(shown));
        folder = shown;
        filter = WindowText(::GetDlgItem(dialog, cmb1));
        DialogAnswerer::TypeFileName(game.path() + L"\\mymod\\demos\\ctf1.dm_2004")(dialog);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_EQ(add.Owner(), window.hwnd());
    EXPECT_EQ(folder, game.path());
    EXPECT_EQ(filter, L"SOF2 Demo Files (*.dm_2004)");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"ctf1.dm_2004", "mymod", game.pathUtf8() + "\\mymod\\demos\\ctf1.dm_2004"}}));
    EXPECT_EQ(window.queue().Count(), 1u);
}

TEST_F(QueueButtonsTest, AddSeveralFilesKeepsTheirFolderAsPath) {
    Queue({"first.dm_2004"});
    game.AddFile(L"base\\mp\\demos\\b.dm_2004");
    game.AddFile(L"base\\mp\\demos\\a.dm_2004");
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\base\\mp\\demos", L"\"b.dm_2004\" \"a.dm_2004\""));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    const std::string folder = game.pathUtf8() + "\\base\\mp\\demos";
    EXPECT_EQ(Rows(), (std::vector<Row>{{"first.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"},
                                        {"b.dm_2004", "base\\mp", folder},
                                        {"a.dm_2004", "base\\mp", folder}}));
}

// Names long enough that a few hundred of them need several times the
// dialog's first 10000 characters.
std::vector<std::wstring> LongNames(int count) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        const std::wstring number = std::to_wstring(1000 + i).substr(1);
        names.push_back(L"clan match final round " + number + L" " + std::wstring(80, L'x') + L".dm_2004");
    }
    return names;
}

TEST_F(QueueButtonsTest, AddATypedSelectionFarLongerThanTheFirstBuffer) {
    const std::vector<std::wstring> names = LongNames(300);
    std::wstring typed;
    for (const auto& name : names) {
        game.AddFile(L"mymod\\demos\\" + name);
        typed += L"\"" + name + L"\" ";
    }
    ASSERT_GT(typed.size(), 30000u);
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\mymod\\demos", typed));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_EQ(add.ShownAgain(), 0);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rows[i].name, basAPI::Narrow(names[i]));
        EXPECT_EQ(rows[i].gameType, "mymod");
        EXPECT_EQ(rows[i].path, game.pathUtf8() + "\\mymod\\demos");
    }
}

TEST_F(QueueButtonsTest, AddAllFilesPickedInTheDialogsList) {
    const std::vector<std::wstring> names = LongNames(200);
    for (const auto& name : names) game.AddFile(L"base\\mp\\demos\\" + name);
    AddDialog add([&](HWND dialog) {
        const std::wstring folder = game.path() + L"\\base\\mp\\demos";
        ::SendMessageW(FileNameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        // Every file of the folder picked in the list, as with Ctrl+A.
        HWND list = nullptr;
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < end) {
            list = ShellFileList(dialog);
            if (list && ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) >= static_cast<LRESULT>(names.size())) break;
            std::this_thread::sleep_for(10ms);
        }
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_EQ(add.ShownAgain(), 0);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), names.size());
    std::set<std::string> added;
    for (const auto& row : rows) {
        added.insert(row.name);
        EXPECT_EQ(row.gameType, "base\\mp");
    }
    for (const auto& name : names) EXPECT_TRUE(added.count(basAPI::Narrow(name))) << basAPI::Narrow(name);
}

TEST_F(QueueButtonsTest, AFileOutsideAnyDemosFolderIsNamedInAMessage) {
    const std::wstring stray = game.AddFile(L"mymod\\stray.dm_2004");
    AddDialog add(DialogAnswerer::TypeFileName(stray));
    Click(window.cmdAdd);
    const std::vector<DialogSnapshot> messages = add.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              L"This demo file was not added to the queue, because it does not lie in a folder named demos inside "
              L"your SOF2 folder:\r\n\r\n" +
                  stray +
                  L"\r\n\r\nYou must have the demos in a demos folder inside your SOF2 folder.\r\n"
                  L"By default this will be your base/mp/demos folder.");
    EXPECT_EQ(messages[0].icon, L"exclamation");
    EXPECT_EQ(messages[0].buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(Rows().empty());
}

TEST_F(QueueButtonsTest, SeveralFilesFromASubFolderShowTheirNamesBelowTheDemosFolder) {
    game.AddFile(L"mymod\\demos\\2026\\june\\b.dm_2004");
    game.AddFile(L"mymod\\demos\\2026\\june\\a.dm_2004");
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\mymod\\demos\\2026\\june", L"\"b.dm_2004\" \"a.dm_2004\""));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_TRUE(add.Messages().empty());
    const std::string folder = game.pathUtf8() + "\\mymod\\demos\\2026\\june";
    EXPECT_EQ(Rows(), (std::vector<Row>{{"2026\\june\\b.dm_2004", "mymod", folder},
                                        {"2026\\june\\a.dm_2004", "mymod", folder}}));
}

TEST_F(QueueButtonsTest, CancelAddsNothing) {
    AddDialog add(DialogAnswerer::Click(IDCANCEL));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(window.queue().Empty());
}

TEST_F(QueueButtonsTest, RemoveTakesTheSelectedRowAndKeepsListAndQueueInStep) {
    Queue({"a", "b", "c", "d"});
    Click(window.cmdRemove);  // nothing selected
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "b", "c", "d"}));

    Select(1);
    Click(window.cmdRemove);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(QueueNames(), RowNames());
    Click(window.cmdRemove);  // the focus moved on, but not the selection mark
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "c", "d"}));

    // Selected upwards: the focus sits on the last selected row.
    Select(0, LVIS_SELECTED);
    Select(2, LVIS_SELECTED);
    Select(1, LVIS_FOCUSED);
    Select(1, 0);
    Select(2);
    Click(window.cmdRemove);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"c"}));
    EXPECT_EQ(QueueNames(), RowNames());
}

// A full queue in a plain list view: filled, one more refused, then emptied
// but for one row.
TEST_F(QueueButtonsTest, AFullQueueFitsTheListAndRefusesMore) {
    for (std::size_t i = 0; i < DemoQueue::kMaxEntries - 1; ++i) {
        std::string name = "q";
        name += std::to_string(i) + ".dm_2004";
        window.queue().Append({name, "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"});
    }
    window.RefreshDemoList();
    ASSERT_EQ(::SendMessageW(window.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0),
              static_cast<LRESULT>(DemoQueue::kMaxEntries - 1));

    game.AddFile(L"mymod\\demos\\a.dm_2004");
    game.AddFile(L"mymod\\demos\\b.dm_2004");
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\mymod\\demos", L"\"a.dm_2004\" \"b.dm_2004\""));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    ASSERT_EQ(add.Messages().size(), 1u);
    EXPECT_EQ(add.Messages()[0].text,
              L"The queue holds at most 32767 demos, so 1 chosen demo file was not added.");
    EXPECT_EQ(add.Messages()[0].icon, L"exclamation");
    ASSERT_EQ(::SendMessageW(window.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(DemoQueue::kMaxEntries));
    EXPECT_EQ(win::DemoCellText(window.lvwDemoQue, DemoQueue::kMaxEntries - 1, 0), "a.dm_2004");
    EXPECT_EQ(win::DemoCellText(window.lvwDemoQue, 0, 0), "q0.dm_2004");

    // Everything but one row selected, then removed.
    Select(-1, LVIS_SELECTED);
    Select(5, 0);
    Click(window.cmdRemove);
    EXPECT_EQ(RowNames(), std::vector<std::string>{"q5.dm_2004"});
    EXPECT_EQ(QueueNames(), RowNames());
}

TEST_F(QueueButtonsTest, ClearEmptiesListAndQueue) {
    Queue({"a", "b"});
    Click(window.cmdClear);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(window.queue().Empty());
    Click(window.cmdClear);
    EXPECT_TRUE(Rows().empty());
}

}  // namespace
}  // namespace reelwright

// Working with the queue on the real main window: files and folders dropped
// onto it, Alt+Up/Alt+Down and the list's context menu reordering it (and
// Launch playing the new order), Delete and Ctrl+A, the Map and Length
// columns with the row's tip and the sort by a header, and a full queue of
// 32767 demos dropped as one folder.

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;
using Names = std::vector<std::string>;

LPARAM AltHeld() { return (LPARAM{1} << 29) | 1; }

// The items of the popup menu the answerer answered; none when no menu came.
std::vector<DialogSnapshot::MenuItem> MenuItems(DialogAnswerer& menu) {
    return menu.Seen().empty() ? std::vector<DialogSnapshot::MenuItem>{} : menu.Seen()[0].menuItems;
}

class QueueWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        ::DeleteFileW(ProgramScript().c_str());
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        SeedSetting("Settings", "Min on Playback", "0");
        Open(false);
    }
    void TearDown() override {
        window.reset();
        ClearSettings();
        ::DeleteFileW(ProgramScript().c_str());
    }

    // The main window with scripted answers in place of message boxes, or with
    // the real ones.
    void Open(bool realPrompts) {
        window.reset();
        window = std::make_unique<frmMain>(real.Services(realPrompts), real.sessions);
        ASSERT_EQ(window->Load(""), LoadOutcome::ShowWindow);
        real.realPrompts.SetOwner(window->hwnd());
        real.shell.SetOwner(window->hwnd());
        window->Show();
        list = window->lvwDemoQue;
        ::SetFocus(list);
    }

    static std::wstring ProgramScript() { return BuildFolder() + L"\\Reelwright.cfg"; }

    void Drop(const std::vector<std::wstring>& paths) {
        ::SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropFiles(paths)), 0);
    }
    int RowCount() { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
    Names RowNames() {
        Names names;
        for (int row = 0; row < RowCount(); ++row) names.push_back(win::DemoCellText(list, row, 0));
        return names;
    }
    Names QueueNames() {
        Names names;
        for (const auto& entry : window->queue().Entries()) names.push_back(entry.Name);
        return names;
    }
    std::vector<int> SelectedRows() {
        std::vector<int> rows;
        for (int row = -1; (row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                                  LVNI_SELECTED))) >= 0;)
            rows.push_back(row);
        return rows;
    }
    void Select(std::initializer_list<int> rows) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED;
        for (int row : rows) ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    void Key(UINT message, WPARAM key, LPARAM flags = 1) { ::SendMessageW(list, message, key, flags); }
    // Demo files in base\mp\demos, in the order given.
    std::vector<std::wstring> Demos(std::initializer_list<const wchar_t*> names) {
        std::vector<std::wstring> paths;
        for (const wchar_t* name : names) paths.push_back(game.AddFile(std::wstring(L"base\\mp\\demos\\") + name));
        return paths;
    }
    // Presses Launch and checks that the game starts on `names`' first demo
    // and that, with the script placed in base\mp, the next-demo key plays the
    // others in this order and comes back to the first.
    void ExpectLaunchPlays(const Names& names) {
        ::SendMessageW(window->cmdLaunch, BM_CLICK, 0, 0);
        ASSERT_TRUE(game.WaitForRecords(1));
        const auto records = game.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].parameters, "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game base\\mp+demo " +
                                             names.front() + "+exec Reelwright.cfg");
        Names played;
        for (const std::string& name : names) played.push_back("demo " + name);
        played.push_back(played.front());
        EXPECT_EQ(PlaySession(records[0].parameters, FilesIn(game.path() + L"\\base\\mp"),
                              std::vector<std::string>(names.size(), "F1")),
                  played);
    }

    GameFolder game;
    RealServices real;
    std::unique_ptr<frmMain> window;
    HWND list = nullptr;
};

// Two demos dropped from a folder outside the game folder: one question, then
// both copied into the demos folder of their mod (or base\mp) and queued.
TEST_F(QueueWorkTest, TwoDemosDroppedFromElsewhereAreCopiedAfterOneQuestionAndQueued) {
    GameFolder elsewhere;
    test::GameStateParts parts;
    parts.systemInfo = "\\sv_serverid\\1\\fs_game\\mymod";
    const std::string modDemo = test::Demo(parts, {1000});
    const std::wstring a = elsewhere.AddFile(L"Downloads\\a.dm_2004", modDemo);
    const std::wstring b = elsewhere.AddFile(L"Downloads\\b.dm_2004", "not a demo the reader knows");
    real.fakePrompts.messageAnswers = {MessageAnswer::Yes};

    Drop({a, b});
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 2; }));
    ASSERT_EQ(real.fakePrompts.messages.size(), 1u);
    EXPECT_EQ(real.fakePrompts.messages[0].title, "Reelwright - Copy demo");
    const std::wstring aCopy = game.path() + L"\\mymod\\demos\\a.dm_2004";
    const std::wstring bCopy = game.path() + L"\\base\\mp\\demos\\b.dm_2004";
    EXPECT_EQ((std::vector<std::string>{win::DemoCellText(list, 0, 1), win::DemoCellText(list, 0, 2),
                                        win::DemoCellText(list, 1, 1), win::DemoCellText(list, 1, 2)}),
              (std::vector<std::string>{"mymod", basAPI::Narrow(aCopy), "base\\mp", basAPI::Narrow(bCopy)}));
    EXPECT_EQ(ReadBytes(aCopy), modDemo);
    EXPECT_EQ(ReadBytes(bCopy), "not a demo the reader knows");
    EXPECT_EQ(ReadBytes(a), modDemo);
}

TEST_F(QueueWorkTest, ADropOfTwoFilesAndAFolderGivesTheirRowsInOrder) {
    const std::wstring duel = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring ctf = game.AddFile(L"mymod\\demos\\ctf1.DM_2004");
    const std::wstring folder = game.path() + L"\\base\\mp\\demos\\cup";
    for (const wchar_t* name : {L"demo10.dm_2004", L"demo2.dm_2004", L"Demo1.dm_2004", L"notes.txt",
                                L"final\\b.dm_2004", L"final\\a.dm_2004", L"semi\\c.dm_2004"})
        game.AddFile(std::wstring(L"base\\mp\\demos\\cup\\") + name);
    window->queue().Append({"old.dm_2004", "base\\mp", "C:\\x"});
    window->RefreshDemoList();

    // Posted, as the shell does it; the window reads the block with DragQueryFileW.
    ::PostMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropFiles({duel, folder, ctf})), 0);
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 9; }));

    const std::string cup = basAPI::Narrow(folder);
    const std::vector<std::vector<std::string>> expected{
        {"old.dm_2004", "base\\mp", "C:\\x"},
        {"duel.dm_2004", "base\\mp", basAPI::Narrow(duel)},
        {"cup\\Demo1.dm_2004", "base\\mp", cup + "\\Demo1.dm_2004"},
        {"cup\\demo2.dm_2004", "base\\mp", cup + "\\demo2.dm_2004"},
        {"cup\\demo10.dm_2004", "base\\mp", cup + "\\demo10.dm_2004"},
        {"cup\\final\\a.dm_2004", "base\\mp", cup + "\\final\\a.dm_2004"},
        {"cup\\final\\b.dm_2004", "base\\mp", cup + "\\final\\b.dm_2004"},
        {"cup\\semi\\c.dm_2004", "base\\mp", cup + "\\semi\\c.dm_2004"},
        {"ctf1.DM_2004", "mymod", basAPI::Narrow(ctf)}};
    for (int row = 0; row < 9; ++row)
        EXPECT_EQ((std::vector<std::string>{win::DemoCellText(list, row, 0), win::DemoCellText(list, row, 1),
                                            win::DemoCellText(list, row, 2)}),
                  expected[static_cast<std::size_t>(row)])
            << "row " << row;
    EXPECT_EQ(QueueNames(), RowNames());
    // A file inside a dropped folder that is not a demo is simply left out.
    EXPECT_TRUE(real.fakePrompts.messages.empty());
}

// A file system that notes each folder listed and whether the wait cursor
// showed at the time.
class WatchedFileSystem : public win::Win32FileSystem {
public:
    std::optional<FolderContents> ListFolder(const std::string& folder) override {
        listed.push_back(folder);
        if (::GetCursor() != ::LoadCursorW(nullptr, IDC_WAIT)) ++listedWithoutWaitCursor;
        return win::Win32FileSystem::ListFolder(folder);
    }
    Names listed;
    int listedWithoutWaitCursor = 0;
};

// A tree outside the game folder is listed at its top only; inside the game
// folder the walk goes down. The wait cursor shows while it walks.
TEST_F(QueueWorkTest, ADropWalksUnderTheWaitCursorAndOnlyWhereDemosCanBe) {
    GameFolder outside;
    outside.AddFile(L"top.dm_2004");
    for (int i = 0; i < 20; ++i) outside.AddFile(L"deep" + std::to_wstring(i) + L"\\inner\\y.dm_2004");
    game.AddFile(L"base\\mp\\demos\\cup\\a.dm_2004");
    const std::wstring demos = game.path() + L"\\base\\mp\\demos";

    WatchedFileSystem files;
    AppServices services{real.store, real.fakePrompts, files, real.shell, real.classes, real.elevation, real.location};
    window = std::make_unique<frmMain>(services, real.sessions);
    ASSERT_EQ(window->Load(""), LoadOutcome::ShowWindow);
    window->Show();
    list = window->lvwDemoQue;

    real.fakePrompts.messageAnswers = {MessageAnswer::No};  // no copy of the top's demo
    Drop({outside.path(), demos});
    EXPECT_EQ(files.listed, (Names{outside.pathUtf8(), basAPI::Narrow(demos), basAPI::Narrow(demos) + "\\cup"}));
    EXPECT_EQ(files.listedWithoutWaitCursor, 0);
    EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(RowNames(), Names{"cup\\a.dm_2004"});
    // The top's demo lies outside the game folder: the copy question, then the refusal.
    ASSERT_EQ(real.fakePrompts.messages.size(), 2u);
    EXPECT_EQ(real.fakePrompts.messages[0].title, "Reelwright - Copy demo");
    EXPECT_NE(real.fakePrompts.messages[1].text.find(outside.pathUtf8() + "\\top.dm_2004"), std::string::npos);
    window.reset();
}

TEST_F(QueueWorkTest, DroppedFilesThatAreNotDemosOrLieOutsideTheGameFolderAreTold) {
    const std::wstring shot = game.AddFile(L"base\\mp\\demos\\shot.jpg");
    const std::wstring stray = game.AddFile(L"mymod\\stray.dm_2004");
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\a.dm_2004");
    real.fakePrompts.messageAnswers = {MessageAnswer::No};  // no copy of the stray demo
    Drop({shot, stray, demo});
    EXPECT_EQ(RowNames(), Names{"a.dm_2004"});
    ASSERT_EQ(real.fakePrompts.messages.size(), 2u);
    EXPECT_EQ(real.fakePrompts.messages[0].title, "Reelwright - Copy demo");
    const MessageCall& message = real.fakePrompts.messages[1];
    EXPECT_EQ(message.title, "Reelwright - Error adding demos");
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_NE(message.text.find("\r\n\r\n" + basAPI::Narrow(stray) + "\r\n\r\n"), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("\r\n\r\n1 dropped file was skipped, because it is not a demo file (*.dm_2004)."),
              std::string::npos)
        << message.text;
}

TEST_F(QueueWorkTest, AltUpAndAltDownMoveTheSelectedBlockAndLaunchPlaysTheNewOrder) {
    Drop(Demos({L"a.dm_2004", L"b.dm_2004", L"c.dm_2004", L"d.dm_2004", L"e.dm_2004"}));
    ASSERT_EQ(RowCount(), 5);
    Select({1, 2});
    Key(WM_SYSKEYDOWN, VK_UP, AltHeld());
    EXPECT_EQ(RowNames(), (Names{"b.dm_2004", "c.dm_2004", "a.dm_2004", "d.dm_2004", "e.dm_2004"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1}));
    Key(WM_SYSKEYDOWN, VK_UP, AltHeld());  // at the top: nothing moves
    EXPECT_EQ(RowNames(), (Names{"b.dm_2004", "c.dm_2004", "a.dm_2004", "d.dm_2004", "e.dm_2004"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1}));

    Select({0, 3});  // two separate rows
    Key(WM_SYSKEYDOWN, VK_DOWN, AltHeld());
    EXPECT_EQ(RowNames(), (Names{"c.dm_2004", "b.dm_2004", "a.dm_2004", "e.dm_2004", "d.dm_2004"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 4}));
    Key(WM_SYSKEYDOWN, VK_DOWN, AltHeld());  // the bottom one stays, the other closes up
    EXPECT_EQ(RowNames(), (Names{"c.dm_2004", "a.dm_2004", "b.dm_2004", "e.dm_2004", "d.dm_2004"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 4}));
    // Up and Down without Alt still only move the focus.
    Key(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(QueueNames(), (Names{"c.dm_2004", "a.dm_2004", "b.dm_2004", "e.dm_2004", "d.dm_2004"}));
    EXPECT_EQ(QueueNames(), RowNames());

    ExpectLaunchPlays(QueueNames());
}

TEST_F(QueueWorkTest, TheContextMenuReordersAndLaunchPlaysTheNewOrder) {
    Drop(Demos({L"demo10.dm_2004", L"demo2.dm_2004", L"Demo1.dm_2004", L"x.dm_2004"}));
    ASSERT_EQ(RowCount(), 4);

    // A right click on the third row selects it and opens the menu there.
    RECT row{};
    row.left = LVIR_LABEL;
    ::SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM(row.left + 4, (row.top + row.bottom) / 2);
    {
        DialogAnswerer menu(DialogAnswerer::Menu(L"Move Up"));
        ::PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
        ::PostMessageW(list, WM_RBUTTONUP, 0, at);
        ASSERT_TRUE(WaitUntil([&] { return menu.Done(); }));
        PumpMessages(50ms);
        EXPECT_EQ(MenuItems(menu), (std::vector<DialogSnapshot::MenuItem>{{L"Move &Up\tAlt+Up", true},
                                                                      {L"Move &Down\tAlt+Down", true},
                                                                      {L"", false},
                                                                      {L"&Remove\tDel", true},
                                                                      {L"&Clear List", true},
                                                                      {L"", false},
                                                                      {L"&Sort by Name", true}}));
    }
    EXPECT_EQ(RowNames(), (Names{"demo10.dm_2004", "Demo1.dm_2004", "demo2.dm_2004", "x.dm_2004"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});

    {
        // Shift+F10 opens it from the keyboard.
        DialogAnswerer menu(DialogAnswerer::Menu(L"Move Down"));
        HeldKeys shift({VK_SHIFT});
        Key(WM_SYSKEYDOWN, VK_F10);
    }
    EXPECT_EQ(RowNames(), (Names{"demo10.dm_2004", "demo2.dm_2004", "Demo1.dm_2004", "x.dm_2004"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});

    {
        // So does the context-menu key, when it is let go.
        DialogAnswerer menu(DialogAnswerer::Menu(L"Sort by Name"));
        Key(WM_KEYDOWN, VK_APPS);
        Key(WM_KEYUP, VK_APPS);
    }
    EXPECT_EQ(RowNames(), (Names{"Demo1.dm_2004", "demo2.dm_2004", "demo10.dm_2004", "x.dm_2004"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});  // the selection followed its demo
    EXPECT_EQ(QueueNames(), RowNames());

    ExpectLaunchPlays(QueueNames());
}

TEST_F(QueueWorkTest, TheContextMenuRemovesClearsAndOffersOnlyWhatApplies) {
    Drop(Demos({L"a.dm_2004", L"b.dm_2004", L"c.dm_2004"}));
    Select({});
    {
        DialogAnswerer menu(DialogAnswerer::Menu(L""));
        Key(WM_KEYUP, VK_APPS);
        const auto items = MenuItems(menu);
        ASSERT_EQ(items.size(), 7u);
        EXPECT_FALSE(items[0].enabled);  // nothing selected: no Move Up,
        EXPECT_FALSE(items[1].enabled);  // Move Down
        EXPECT_FALSE(items[3].enabled);  // or Remove
        EXPECT_TRUE(items[4].enabled);
        EXPECT_TRUE(items[6].enabled);
    }
    Select({1});
    {
        DialogAnswerer menu(DialogAnswerer::Menu(L"Remove"));
        Key(WM_KEYUP, VK_APPS);
    }
    EXPECT_EQ(RowNames(), (Names{"a.dm_2004", "c.dm_2004"}));
    {
        DialogAnswerer menu(DialogAnswerer::Menu(L"Clear List"));
        Key(WM_KEYUP, VK_APPS);
    }
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(window->queue().Empty());
    {
        DialogAnswerer menu(DialogAnswerer::Menu(L""));
        Key(WM_KEYUP, VK_APPS);
        const auto items = MenuItems(menu);
        ASSERT_EQ(items.size(), 7u);
        EXPECT_FALSE(items[4].enabled);  // an empty list has nothing to clear
        EXPECT_FALSE(items[6].enabled);  // or sort
    }
}

TEST_F(QueueWorkTest, DeleteRemovesTheSelectionCtrlASelectsAllAndEnterStillLaunches) {
    for (const char* name : {"a", "b", "c", "d", "e"}) window->queue().Append({name, "base\\mp", "C:\\d"});
    window->RefreshDemoList();
    Select({1, 3});
    Key(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(RowNames(), (Names{"a", "c", "e"}));
    EXPECT_EQ(QueueNames(), RowNames());
    EXPECT_TRUE(SelectedRows().empty());
    Key(WM_KEYDOWN, VK_DELETE);  // nothing selected now: nothing goes
    EXPECT_EQ(RowCount(), 3);

    // The parameters box keeps its own keys.
    ::SendMessageW(window->txtOptionalParams, WM_KEYDOWN, VK_DELETE, 1);
    {
        HeldKeys control({VK_CONTROL});
        ::SendMessageW(window->txtOptionalParams, WM_KEYDOWN, 'A', 1);
    }
    EXPECT_EQ(RowCount(), 3);
    EXPECT_TRUE(SelectedRows().empty());

    {
        HeldKeys control({VK_CONTROL});
        Key(WM_KEYDOWN, 'A');
    }
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2}));
    Key(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(window->queue().Empty());

    // Enter in the list goes through the dialog manager, as in the program's
    // message loop, and presses Launch: on an empty queue it only minimises.
    SeedSetting("Settings", "Min on Playback", "1");
    ::PostMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
    PumpThroughDialog(window->hwnd());
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(window->hwnd()) != FALSE; }, 5s));
}

// A demo of the test encoder: `map` on "Red Dragons", `seconds` long, with
// the given players.
std::string EncodedDemo(const std::string& map, int seconds, const std::vector<std::string>& players) {
    test::GameStateParts parts;
    parts.serverInfo = "\\sv_hostname\\Red Dragons\\mapname\\" + map + "\\g_gametype\\ctf\\protocol\\2004";
    for (const auto& name : players) parts.players.push_back("n\\" + name + "\\t\\red");
    std::vector<std::int32_t> times;
    for (std::int32_t t = 1000; t <= 1000 + seconds * 1000; t += 500) times.push_back(t);
    return test::Demo(parts, times);
}

// The header's sort arrows: "^" up, "v" down, "." none, one per column.
std::string SortArrows(HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    std::string arrows;
    for (int column = 0; column < 5; ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        arrows += (item.fmt & HDF_SORTUP) ? '^' : (item.fmt & HDF_SORTDOWN) ? 'v' : '.';
    }
    return arrows;
}

// A click on a column's header: the header's own notification to the list,
// which tells the window (Wine's header does not take a click sent to it
// without a mouse).
void ClickHeader(HWND list, int column) {
    NMHEADERW click{};
    click.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    click.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(click.hdr.hwndFrom));
    click.hdr.code = HDN_ITEMCLICKW;
    click.iItem = column;
    ::SendMessageW(list, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

// The tip the list asks the window for, over a row.
std::string InfoTip(frmMain& window, int row) {
    wchar_t text[INFOTIPSIZE] = L"item text";
    NMLVGETINFOTIPW tip{};
    tip.hdr.hwndFrom = window.lvwDemoQue;
    tip.hdr.idFrom = frmMain::IDC_lvwDemoQue;
    tip.hdr.code = LVN_GETINFOTIPW;
    tip.pszText = text;
    tip.cchTextMax = INFOTIPSIZE;
    tip.iItem = row;
    ::SendMessageW(window.hwnd(), WM_NOTIFY, frmMain::IDC_lvwDemoQue, reinterpret_cast<LPARAM>(&tip));
    return basAPI::Narrow(text);
}

TEST_F(QueueWorkTest, MapAndLengthColumnsTheTipAndTheSortByAHeaderThenLaunchPlaysThatOrder) {
    const std::string shop = EncodedDemo("mp_shop", 20, {"Alice"});
    const std::wstring shopFile = game.AddFile(L"base\\mp\\demos\\shop.dm_2004", shop);
    const std::wstring broken = game.AddFile(L"base\\mp\\demos\\broken.dm_2004", "not a demo at all");
    game.AddFile(L"base\\mp\\demos\\cup\\b.dm_2004", EncodedDemo("mp_jor1", 90, {"Bob", "Carol"}));
    game.AddFile(L"base\\mp\\demos\\cup\\a.dm_2004", EncodedDemo("mp_Alley", 3600, {}));
    // The same file twice, and two files added as a folder, whose rows show
    // only the folder as their Path: the file read is the one the game plays.
    Drop({shopFile, broken, game.path() + L"\\base\\mp\\demos\\cup", shopFile});

    // The window's thread reads none of them; they arrive as they are read.
    ASSERT_TRUE(WaitUntil([&] { return window->details().size() == 5; }));
    auto rows = [&] {
        Names shown;
        for (int row = 0; row < RowCount(); ++row)
            shown.push_back(win::DemoCellText(list, row, 0) + " | " + win::DemoCellText(list, row, 3) + " | " +
                            win::DemoCellText(list, row, 4));
        return shown;
    };
    EXPECT_EQ(rows(), (Names{"shop.dm_2004 | mp_shop | 0:20", "broken.dm_2004 | ? | ", "cup\\a.dm_2004 | mp_Alley | 1:00:00",
                             "cup\\b.dm_2004 | mp_jor1 | 1:30", "shop.dm_2004 | mp_shop | 0:20"}));

    const std::string shopTip = InfoTip(*window, 0);
    std::cout << "[ tip      ]\n" << shopTip << "\n";
    EXPECT_EQ(shopTip.substr(0, shopTip.find("\r\nSize:")),
              "Map: mp_shop\r\nServer: Red Dragons\r\nMode: Capture the Flag\r\nPlayers (1): Alice\r\nLength: 0:20");
    EXPECT_NE(shopTip.find("\r\nSize: " + std::to_string(shop.size() / 1024) + "."), std::string::npos) << shopTip;
    EXPECT_NE(shopTip.find("\r\nWritten: 20"), std::string::npos) << shopTip;
    EXPECT_EQ(InfoTip(*window, 1).substr(0, 36), "This file cannot be read as a demo: ");

    // Length, shortest first, the refused file last; again, longest first.
    ClickHeader(list, 4);
    EXPECT_EQ(rows(), (Names{"shop.dm_2004 | mp_shop | 0:20", "shop.dm_2004 | mp_shop | 0:20", "cup\\b.dm_2004 | mp_jor1 | 1:30",
                             "cup\\a.dm_2004 | mp_Alley | 1:00:00", "broken.dm_2004 | ? | "}));
    EXPECT_EQ(SortArrows(list), "....^");
    ClickHeader(list, 4);
    EXPECT_EQ(rows(), (Names{"cup\\a.dm_2004 | mp_Alley | 1:00:00", "cup\\b.dm_2004 | mp_jor1 | 1:30",
                             "shop.dm_2004 | mp_shop | 0:20", "shop.dm_2004 | mp_shop | 0:20", "broken.dm_2004 | ? | "}));
    EXPECT_EQ(SortArrows(list), "....v");
    ClickHeader(list, 3);
    EXPECT_EQ(SortArrows(list), "...^.");
    EXPECT_EQ(RowNames(), (Names{"cup\\a.dm_2004", "cup\\b.dm_2004", "shop.dm_2004", "shop.dm_2004", "broken.dm_2004"}));
    EXPECT_EQ(QueueNames(), RowNames());

    // Removing a row takes its details along; the tip stays with its entry.
    Select({4});
    Key(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(window->details().size(), 4u);
    EXPECT_EQ(InfoTip(*window, 2), shopTip);

    // Any other reorder clears the arrow.
    Select({3});
    Key(WM_SYSKEYDOWN, VK_UP, AltHeld());
    EXPECT_EQ(SortArrows(list), ".....");
    ExpectLaunchPlays({"cup\\a.dm_2004", "cup\\b.dm_2004", "shop.dm_2004", "shop.dm_2004"});
}

// Demos a real engine of the game's family recorded (tests/demo/data),
// renamed as this game's demos.
TEST_F(QueueWorkTest, RecordedDemosShowTheirMapLengthAndTip) {
    const std::string data = REELWRIGHT_SOURCE_DIR "/tests/demo/data/";
    for (const char* name : {"ffa-oa_dm1", "ctf-oa_ctf2", "tdm-oa_dm2"})
        game.AddFile(L"base\\mp\\demos\\recorded\\" + basAPI::Widen(name) + L".dm_2004",
                     ReadBytes(basAPI::Widen(data + name + ".dm_71")));
    Drop({game.path() + L"\\base\\mp\\demos\\recorded"});
    ASSERT_TRUE(WaitUntil([&] { return window->details().size() == 3; }));
    const char* maps[] = {"oa_ctf2", "oa_dm1", "oa_dm2"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(win::DemoCellText(list, row, 3), maps[row]);
        const DemoDetails read =
            ReadDemoDetails(game.pathUtf8() + "\\base\\mp\\demos\\" + win::DemoCellText(list, row, 0));
        EXPECT_EQ(win::DemoCellText(list, row, 4), LengthText(read.length.milliseconds));
    }
    const std::string tip = InfoTip(*window, 0);
    std::cout << "[ tip      ] " << win::DemoCellText(list, 0, 0) << "\n" << tip << "\n";
    // Renamed, they are read by this game's tables: the game type stays the
    // recorded number and the player strings are not of this game's form.
    EXPECT_EQ(tip.substr(0, tip.find("\r\nSize:")),
              "Map: oa_ctf2\r\nServer: Reelwright Test Server\r\nMode: 4\r\nPlayers: not known\r\nLength: " +
                  win::DemoCellText(list, 0, 4));
}

TEST_F(QueueWorkTest, ClosingTheWindowWhileAFullQueueIsBeingReadEndsAtOnce) {
    // 32767 entries whose files are read one by one; the window closes after
    // the first few have come back.
    for (std::size_t i = 0; i < DemoQueue::kMaxEntries; ++i) {
        std::string name = "m";
        name += std::to_string(i) + ".dm_2004";
        window->queue().Append({name, "base\\mp", "C:\\x"});
    }
    window->RefreshDemoList();
    window->ReadNewDetails();
    ASSERT_TRUE(WaitUntil([&] { return !window->details().empty(); }));
    ASSERT_GT(window->DetailsWaiting(), 0u);
    ::DestroyWindow(window->hwnd());
    // The reader's thread has ended with the window and read nothing more.
    EXPECT_EQ(window->DetailsWaiting(), 0u);
    EXPECT_LT(window->details().size(), DemoQueue::kMaxEntries);
}

// How long `action` takes, in milliseconds.
template <typename Action>
double Milliseconds(Action action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Demo files match1 ... match<count> below base\mp\demos\<name>, 128 to a
// sub-folder part1, part2, ...: Wine looks through the whole folder each time
// it creates a new file, so one flat folder of 32767 would take minutes to
// make. The program reads them back in the order of their numbers.
std::wstring DemoFolder(GameFolder& game, const std::wstring& name, int count) {
    constexpr int kPerFolder = 128;
    const std::wstring folder = game.path() + L"\\base\\mp\\demos\\" + name;
    for (int i = 1; i <= count; ++i) {
        const std::wstring part = L"part" + std::to_wstring((i - 1) / kPerFolder + 1);
        const std::wstring file = L"match" + std::to_wstring(i) + L".dm_2004";
        if ((i - 1) % kPerFolder == 0) {
            game.AddFile(L"base\\mp\\demos\\" + name + L"\\" + part + L"\\" + file);
            continue;
        }
        const std::wstring path = folder + L"\\" + part + L"\\" + file;
        const basAPI::UniqueFile created(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return folder;
}

// Drop-to-shown: from the drop to the list painted with its new rows.
// Remove-all: Ctrl+A and Delete, to the empty list painted. Both are printed
// for the record and not judged: how the queue's work grows with its rows is
// counted in tests/queue/QueueOrder_test.cpp.
TEST_F(QueueWorkTest, AFullQueueByAFolderDropThenOneMoreRefusedWithTheBox) {
    Open(true);
    const std::wstring few = DemoFolder(game, L"few", 4000);
    const std::wstring full = DemoFolder(game, L"full", static_cast<int>(DemoQueue::kMaxEntries));
    const std::wstring extra = game.AddFile(L"base\\mp\\demos\\extra.dm_2004");

    auto dropShown = [&](const std::wstring& folder) {
        return Milliseconds([&] {
            Drop({folder});
            ::UpdateWindow(list);
        });
    };
    auto removeAll = [&] {
        return Milliseconds([&] {
            {
                HeldKeys control({VK_CONTROL});
                Key(WM_KEYDOWN, 'A');
            }
            Key(WM_KEYDOWN, VK_DELETE);
            ::UpdateWindow(list);
        });
    };

    const double fewShown = dropShown(few);
    ASSERT_EQ(RowCount(), 4000);
    EXPECT_EQ(win::DemoCellText(list, 1, 0), "few\\part1\\match2.dm_2004");
    const double fewRemoved = removeAll();
    EXPECT_EQ(RowCount(), 0);

    const double fullShown = dropShown(full);
    ASSERT_EQ(RowCount(), static_cast<int>(DemoQueue::kMaxEntries));
    EXPECT_EQ(window->queue().Count(), DemoQueue::kMaxEntries);
    EXPECT_EQ(win::DemoCellText(list, 9, 0), "full\\part1\\match10.dm_2004");
    EXPECT_EQ(win::DemoCellText(list, DemoQueue::kMaxEntries - 1, 0), "full\\part256\\match32767.dm_2004");
    EXPECT_EQ(win::DemoCellText(list, DemoQueue::kMaxEntries - 1, 2),
              basAPI::Narrow(full) + "\\part256\\match32767.dm_2004");

    DialogAnswerer answerer(IDOK);
    Drop({extra});
    ASSERT_EQ(answerer.Seen().size(), 1u);
    const DialogSnapshot box = answerer.Seen()[0];
    EXPECT_EQ(box.title, L"Reelwright - Error adding demos");
    EXPECT_EQ(box.text, L"The queue holds at most 32767 demos, so the rest of the dropped demo files were not added.");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(RowCount(), static_cast<int>(DemoQueue::kMaxEntries));

    const double fullRemoved = removeAll();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(window->queue().Empty());

    std::cout << "[ timings  ] drop-to-shown: 4000 demos " << fewShown << " ms, 32767 demos " << fullShown
              << " ms; remove-all: 4000 demos " << fewRemoved << " ms, 32767 demos " << fullRemoved << " ms\n";
    RecordProperty("drop_to_shown_4000_ms", static_cast<int>(fewShown));
    RecordProperty("drop_to_shown_32767_ms", static_cast<int>(fullShown));
    RecordProperty("remove_all_4000_ms", static_cast<int>(fewRemoved));
    RecordProperty("remove_all_32767_ms", static_cast<int>(fullRemoved));
}

}  // namespace
}  // namespace reelwright

namespace reelwright {
namespace {

TEST_F(QueueWorkTest, APackDroppedGoesIntoItsDemosModsAndABrokenOneLeavesNothing) {
    Open(true);
    GameFolder elsewhere;
    game.AddFile(L"othermod\\mod.pk3");
    const std::string base = DemoOfMod(nullptr, 1000), mine = DemoOfMod("mymod", 2000),
                      other = DemoOfMod("othermod", 3000);
    const std::string zip = test::ZipFile({{"cup/final 3.dm_2004", base},
                                           {"cup/semi.dm_2004", mine},
                                           {"../../evil.dm_2004", base},
                                           {"cup/other.dm_2004", other, false}});
    const std::wstring pack = elsewhere.AddFile(L"Downloads\\Cup \u00e9 2.zip", zip);
    const std::set<std::wstring> before = ItemsBelow(game.path());
    const std::set<std::wstring> outsideBefore = ItemsBelow(elsewhere.path());
    {
        DialogAnswerer answers({{L"Reelwright - Copy demo", DialogAnswerer::Click(IDYES)}});
        Drop({pack});
        ASSERT_EQ(answers.Seen().size(), 1u);
        const std::wstring& text = answers.Seen()[0].text;
        EXPECT_EQ(text.substr(0, text.find(L"\r\n")), L"Copy the 3 demos of Cup \u00e9 2.zip into your game and queue them?");
        EXPECT_NE(text.find(L"../../evil.dm_2004: its name leads out of the pack's folder (..)"), std::wstring::npos);
        EXPECT_NE(text.find(game.path() + L"\\othermod\\demos\\Cup___2"), std::wstring::npos);
    }
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(QueueNames(), (Names{"Cup___2\\final_3.dm_2004", "Cup___2\\other.dm_2004", "Cup___2\\semi.dm_2004"}));
    EXPECT_EQ((std::vector<std::string>{win::DemoCellText(list, 0, 1), win::DemoCellText(list, 1, 1),
                                        win::DemoCellText(list, 2, 1)}),
              (std::vector<std::string>{"base\\mp", "othermod", "mymod"}));
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\demos\\Cup___2\\final_3.dm_2004"), base);
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\demos\\Cup___2\\semi.dm_2004"), mine);
    EXPECT_EQ(ReadBytes(game.path() + L"\\othermod\\demos\\Cup___2\\other.dm_2004"), other);
    std::set<std::wstring> added;
    for (const std::wstring& item : ItemsBelow(game.path()))
        if (!before.count(item)) added.insert(item);
    EXPECT_EQ(added, (std::set<std::wstring>{L"base\\mp\\demos\\Cup___2", L"base\\mp\\demos\\Cup___2\\final_3.dm_2004",
                                             L"mymod\\demos\\Cup___2", L"mymod\\demos\\Cup___2\\semi.dm_2004",
                                             L"othermod\\demos", L"othermod\\demos\\Cup___2",
                                             L"othermod\\demos\\Cup___2\\other.dm_2004"}));
    EXPECT_EQ(ItemsBelow(elsewhere.path()), outsideBefore);
    EXPECT_EQ(::GetFileAttributesW((game.path() + L"\\mymod\\demos\\Cup___2").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    // The same pack cut short: the box says why, nothing is queued or left.
    const std::wstring cut = elsewhere.AddFile(L"Downloads\\cut.zip", zip.substr(0, zip.size() - 40));
    const std::set<std::wstring> full = ItemsBelow(game.path());
    {
        DialogAnswerer answers({{L"Reelwright - Copy demo", DialogAnswerer::Click(IDOK)}});
        Drop({cut});
        ASSERT_EQ(answers.Seen().size(), 1u);
        EXPECT_EQ(answers.Seen()[0].text, L"cut.zip could not be unpacked, because it is damaged or incomplete.\r\n\r\n"
                                          L"Nothing of it was copied or queued.");
    }
    EXPECT_EQ(RowCount(), 3);
    EXPECT_EQ(ItemsBelow(game.path()), full);
}

}  // namespace
}  // namespace reelwright
