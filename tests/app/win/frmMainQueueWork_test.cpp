// Working with the queue on the real main window: files and folders dropped
// onto it, Alt+Up/Alt+Down and the list's context menu reordering it (and
// Launch playing the new order), Delete and Ctrl+A, and a full queue of
// 32767 demos dropped as one folder.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>

#include "app/win/frmMain.h"
#include "queue/win/DemoListView.h"
#include "script/basBuildConfigs.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::testing;
using namespace std::chrono_literals;
using Names = std::vector<std::string>;

LPARAM AltHeld() { return (LPARAM{1} << 29) | 1; }

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
        window = std::make_unique<frmMain>(real.Services(realPrompts));
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
    // The script Launch writes for these demos, all of base\mp, in this order.
    std::string ScriptFor(const Names& names) {
        std::string chain;
        const auto count = static_cast<std::int16_t>(names.size());
        for (std::int16_t i = 1; i <= count; ++i)
            chain += basBuildConfigs::BuildDemoEntry(1, count, i, names[static_cast<std::size_t>(i - 1)], "base\\mp");
        return basBuildConfigs::ComposeDemoConfig(basBuildConfigs::BuildViewerScripts("F6", "F7", "F5", "F8", "F4", "F3"),
                                                  basBuildConfigs::BuildNavigationBinds("F2", "F1", chain, 1, count));
    }
    // Presses Launch and checks that the game starts on `names`' first demo
    // with the script of `names` placed in base\mp.
    void ExpectLaunchPlays(const Names& names) {
        ::SendMessageW(window->cmdLaunch, BM_CLICK, 0, 0);
        ASSERT_TRUE(game.WaitForRecords(1));
        const auto records = game.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].parameters, "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game base\\mp+demo " +
                                             names.front() + "+exec Reelwright.cfg");
        EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), ScriptFor(names));
    }

    GameFolder game;
    RealServices real;
    std::unique_ptr<frmMain> window;
    HWND list = nullptr;
};

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

TEST_F(QueueWorkTest, DroppedFilesThatAreNotDemosOrLieOutsideTheGameFolderAreTold) {
    const std::wstring shot = game.AddFile(L"base\\mp\\demos\\shot.jpg");
    const std::wstring stray = game.AddFile(L"mymod\\stray.dm_2004");
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\a.dm_2004");
    Drop({shot, stray, demo});
    EXPECT_EQ(RowNames(), Names{"a.dm_2004"});
    ASSERT_EQ(real.fakePrompts.messages.size(), 1u);
    const MessageCall& message = real.fakePrompts.messages[0];
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
        PopupMenuAnswerer menu(L"Move Up");
        ::PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
        ::PostMessageW(list, WM_RBUTTONUP, 0, at);
        ASSERT_TRUE(WaitUntil([&] { return menu.Done(); }));
        PumpMessages(50ms);
        EXPECT_EQ(menu.Items(), (std::vector<PopupMenuAnswerer::Item>{{L"Move &Up\tAlt+Up", true},
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
        PopupMenuAnswerer menu(L"Move Down");
        HeldKeys shift({VK_SHIFT});
        Key(WM_SYSKEYDOWN, VK_F10);
    }
    EXPECT_EQ(RowNames(), (Names{"demo10.dm_2004", "demo2.dm_2004", "Demo1.dm_2004", "x.dm_2004"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});

    {
        // So does the context-menu key, when it is let go.
        PopupMenuAnswerer menu(L"Sort by Name");
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
        PopupMenuAnswerer menu(L"");
        Key(WM_KEYUP, VK_APPS);
        const auto items = menu.Items();
        ASSERT_EQ(items.size(), 7u);
        EXPECT_FALSE(items[0].enabled);  // nothing selected: no Move Up,
        EXPECT_FALSE(items[1].enabled);  // Move Down
        EXPECT_FALSE(items[3].enabled);  // or Remove
        EXPECT_TRUE(items[4].enabled);
        EXPECT_TRUE(items[6].enabled);
    }
    Select({1});
    {
        PopupMenuAnswerer menu(L"Remove");
        Key(WM_KEYUP, VK_APPS);
    }
    EXPECT_EQ(RowNames(), (Names{"a.dm_2004", "c.dm_2004"}));
    {
        PopupMenuAnswerer menu(L"Clear List");
        Key(WM_KEYUP, VK_APPS);
    }
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(window->queue().Empty());
    {
        PopupMenuAnswerer menu(L"");
        Key(WM_KEYUP, VK_APPS);
        const auto items = menu.Items();
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
        basAPI::UniqueHandle handle(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle.get() == INVALID_HANDLE_VALUE) handle.release();
    }
    return folder;
}

// Drop-to-shown: from the drop to the list painted with its new rows.
// Remove-all: Ctrl+A and Delete, to the empty list painted. Both are printed
// for the record and not judged: how the queue's work grows with its rows is
// counted in tests/queue/QueueGrowth_test.cpp.
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
    const DialogSnapshot box = answerer.Result();
    EXPECT_EQ(box.title, L"Reelwright - Error adding demos");
    EXPECT_EQ(box.text, L"The queue holds at most 32767 demos, so 1 chosen demo file was not added.");
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
