// The demo browser on a game folder of real and synthetic demos: the rows
// and their details, the search as the user types, Enter, Play, F2 and Del,
// a demo recorded into a watched folder, and the place and size it keeps.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/win/frmDemos.h"
#include "app/win/frmMain.h"
#include "browse/DemoActions.h"
#include "core/win/Controls.h"
#include "queue/win/DemoListView.h"
#include "support/DemoEncoder.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

std::string SyntheticDemo(const std::string& map, const std::string& server, const Strings& players) {
    GameStateParts parts;
    parts.serverInfo = "\\sv_hostname\\" + server + "\\mapname\\" + map + "\\g_gametype\\ctf\\protocol\\2004";
    for (const auto& name : players) parts.players.push_back("n\\" + name + "\\t\\1");
    return test::Demo(parts, {1000, 61000});
}

std::string RealDemoBytes() {
    std::ifstream file(std::string(REELWRIGHT_SOURCE_DIR) + "/tests/demo/data/ffa-oa_dm1.dm_71", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Removes a folder and everything below it.
void RemoveFolderTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const basAPI::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolderTree(path);
            else ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find.get(), &found));
    }
    ::RemoveDirectoryW(folder.c_str());
}

class DemosWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        SeedSetting("Settings", "Min on Playback", "0");
        game.AddFile(L"base\\mp\\demos\\duel.dm_2004", SyntheticDemo("mp_shop", "Red Dragons", {"Alice", "Bob"}));
        game.AddFile(L"base\\mp\\demos\\cup\\final.dm_2004", SyntheticDemo("mp_jor1", "Blue Cup", {"Zo\xEB"}));  // the game's bytes: Windows-1252
        game.AddFile(L"base\\mp\\demos\\notes.txt", "not a demo");
        game.AddFile(L"mymod\\demos\\ctf.dm_2004", SyntheticDemo("mp_kam2", "Mod Server", {"Carol"}));
        game.AddFile(L"base\\mp\\demos\\real oa_dm1.dm_2004", RealDemoBytes());
        ASSERT_EQ(main.Load(""), LoadOutcome::ShowWindow);
        main.Show();
    }
    void TearDown() override { ClearSettings(); }

    frmDemos& OpenBrowser() {
        main.mnuBrowseDemos_Click();
        EXPECT_TRUE(main.Demos());
        frmDemos& demos = *main.Demos();
        EXPECT_TRUE(WaitUntil([&] { return demos.Idle(); }, 20s));
        return demos;
    }
    static std::string Status(frmDemos& demos) { return win::GetText(demos.lblStatus); }
    static Strings Names(frmDemos& demos) {
        Strings names;
        const int rows = static_cast<int>(::SendMessageW(demos.lvwDemos, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) names.push_back(win::DemoCellText(demos.lvwDemos, row, 0));
        return names;
    }
    static int RowOf(frmDemos& demos, const std::string& name) {
        const Strings names = Names(demos);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    static void Select(frmDemos& demos, const Strings& names) {
        LVITEMW none{};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(demos.lvwDemos, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        for (const std::string& name : names) {
            LVITEMW item{};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            ASSERT_GE(RowOf(demos, name), 0) << name;
            ::SendMessageW(demos.lvwDemos, LVM_SETITEMSTATE, static_cast<WPARAM>(RowOf(demos, name)),
                           reinterpret_cast<LPARAM>(&item));
        }
    }
    static void Key(HWND control, WPARAM key) {
        ::SendMessageW(control, WM_KEYDOWN, key, 0);
        ::SendMessageW(control, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    }
    std::string Demo(const std::string& relative) const { return game.pathUtf8() + "\\" + relative; }

    GameFolder game;
    RealServices real;
    frmMain main{real.Services(), real.sessions};
};

TEST_F(DemosWindowTest, ListsEveryDemoWithItsDetailsAndNarrowsAsTheUserTypes) {
    frmDemos& demos = OpenBrowser();
    EXPECT_EQ(WindowText(demos.hwnd()), L"Reelwright - Demos");
    EXPECT_EQ(::GetWindow(demos.hwnd(), GW_OWNER), main.hwnd());
    EXPECT_EQ(Status(demos), "4 demos");
    EXPECT_EQ(Names(demos), (Strings{"cup\\final.dm_2004", "duel.dm_2004", "real oa_dm1.dm_2004", "ctf.dm_2004"}));
    const int duel = RowOf(demos, "duel.dm_2004");
    EXPECT_EQ(win::DemoCellText(demos.lvwDemos, duel, 1), "base\\mp");
    EXPECT_EQ(win::DemoCellText(demos.lvwDemos, duel, 3), "mp_shop");
    EXPECT_EQ(win::DemoCellText(demos.lvwDemos, duel, 4), "1:00");
    EXPECT_EQ(win::DemoCellText(demos.lvwDemos, duel, 5), "2");
    EXPECT_EQ(win::DemoCellText(demos.lvwDemos, duel, 6), "Red Dragons");
    EXPECT_FALSE(win::DemoCellText(demos.lvwDemos, duel, 7).empty());
    EXPECT_EQ(win::DemoCellText(demos.lvwDemos, RowOf(demos, "real oa_dm1.dm_2004"), 1), "base\\mp");
    EXPECT_FALSE(win::DemoCellText(demos.lvwDemos, RowOf(demos, "real oa_dm1.dm_2004"), 3).empty());

    win::SetText(demos.txtSearch, "ZOË");
    EXPECT_EQ(Names(demos), Strings{"cup\\final.dm_2004"});
    EXPECT_EQ(Status(demos), "1 of 4 demos");
    win::SetText(demos.txtSearch, "mp_ dragons");
    EXPECT_EQ(Names(demos), Strings{"duel.dm_2004"});
    Key(demos.txtSearch, VK_ESCAPE);
    EXPECT_EQ(win::GetText(demos.txtSearch), "");
    EXPECT_EQ(Status(demos), "4 demos");

    // Down moves into the list, on its first row.
    ::SetFocus(demos.txtSearch);
    Key(demos.txtSearch, VK_DOWN);
    EXPECT_EQ(::GetFocus(), demos.lvwDemos);
    EXPECT_EQ(demos.SelectedPaths(), Strings{Demo("base\\mp\\demos\\cup\\final.dm_2004")});
    // Ctrl+F goes back to the search.
    {
        HeldKeys control({VK_CONTROL});
        Key(demos.lvwDemos, 'F');
    }
    EXPECT_EQ(::GetFocus(), demos.txtSearch);

    // One window: Ctrl+B in the main window brings it to the front.
    {
        HeldKeys control({VK_CONTROL});
        const MSG key{main.lvwDemoQue, WM_KEYDOWN, 'B', 0, 0, {}};
        EXPECT_TRUE(main.TranslateShortcut(key));
        const MSG plain{main.lvwDemoQue, WM_KEYDOWN, 'C', 0, 0, {}};
        EXPECT_FALSE(main.TranslateShortcut(plain));
    }
    EXPECT_EQ(main.Demos(), &demos);
    ::DestroyWindow(demos.hwnd());
    EXPECT_FALSE(main.Demos());
}

TEST_F(DemosWindowTest, EnterQueuesTheSelectedDemosAndPlayStartsTheGameLeavingTheQueue) {
    frmDemos& demos = OpenBrowser();
    Select(demos, {"duel.dm_2004", "ctf.dm_2004"});
    Key(demos.lvwDemos, VK_RETURN);
    ASSERT_EQ(main.queue().Count(), 2u);
    EXPECT_EQ(main.queue().Entries()[0], (DemoQueueEntry{"duel.dm_2004", "base\\mp", Demo("base\\mp\\demos\\duel.dm_2004")}));
    EXPECT_EQ(main.queue().Entries()[1], (DemoQueueEntry{"ctf.dm_2004", "mymod", Demo("mymod\\demos\\ctf.dm_2004")}));
    EXPECT_EQ(::SendMessageW(main.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0), 2);

    Select(demos, {"cup\\final.dm_2004"});
    win::SetText(main.txtOptionalParams, "+set cg_drawFPS 1");
    ::SendMessageW(demos.cmdPlay, BM_CLICK, 0, 0);
    ASSERT_TRUE(game.WaitForRecords(1));
    EXPECT_EQ(game.Records().front().parameters, "+set fs_basepath \"" + game.pathUtf8() +
                                                     "\" +set fs_game base\\mp+demo cup\\final.dm_2004 +set cg_drawFPS 1");
    EXPECT_EQ(main.queue().Count(), 2u);
}

TEST_F(DemosWindowTest, F2RenamesTheFileInPlaceAndTheQueuedDemoFollows) {
    frmDemos& demos = OpenBrowser();
    Select(demos, {"duel.dm_2004"});
    Key(demos.lvwDemos, VK_RETURN);
    ASSERT_EQ(main.queue().Count(), 1u);

    auto renameTo = [&](const std::wstring& name) {
        Key(demos.lvwDemos, VK_F2);
        HWND edit = reinterpret_cast<HWND>(::SendMessageW(demos.lvwDemos, LVM_GETEDITCONTROL, 0, 0));
        ASSERT_TRUE(edit);
        EXPECT_EQ(WindowText(edit).substr(WindowText(edit).size() - 8), L".dm_2004");
        ::SetWindowTextW(edit, name.c_str());
        ::SetFocus(demos.txtSearch);  // the edit ends when it loses the focus
        PumpMessages();
    };
    renameTo(L"my duel.dm_2004");  // the script of several demos cannot take a blank
    ASSERT_EQ(real.fakePrompts.messages.size(), 1u);
    EXPECT_EQ(real.fakePrompts.messages[0].title, kRenameDemoTitle);
    EXPECT_NE(::GetFileAttributesW((game.path() + L"\\base\\mp\\demos\\duel.dm_2004").c_str()), INVALID_FILE_ATTRIBUTES);

    Select(demos, {"duel.dm_2004"});
    renameTo(L"final_2026.dm_2004");
    EXPECT_EQ(::GetFileAttributesW((game.path() + L"\\base\\mp\\demos\\duel.dm_2004").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW((game.path() + L"\\base\\mp\\demos\\final_2026.dm_2004").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_GE(RowOf(demos, "final_2026.dm_2004"), 0);
    EXPECT_EQ(RowOf(demos, "duel.dm_2004"), -1);
    EXPECT_EQ(main.queue().Entries()[0].Name, "final_2026.dm_2004");
    EXPECT_EQ(main.queue().Entries()[0].Path, Demo("base\\mp\\demos\\final_2026.dm_2004"));
}

TEST_F(DemosWindowTest, ADemoWrittenIntoAWatchedFolderAppearsAndOneDeletedGoes) {
    frmDemos& demos = OpenBrowser();
    ASSERT_TRUE(WaitUntil([&] { return true; }, 0ms));
    game.AddFile(L"base\\mp\\demos\\cup\\recorded now.dm_2004", SyntheticDemo("mp_shop", "Live", {"Dave"}));
    EXPECT_TRUE(WaitUntil([&] { return RowOf(demos, "cup\\recorded now.dm_2004") >= 0; }, 15s));
    EXPECT_TRUE(WaitUntil([&] { return Status(demos) == "5 demos"; }, 15s)) << Status(demos);

    ::DeleteFileW((game.path() + L"\\mymod\\demos\\ctf.dm_2004").c_str());
    EXPECT_TRUE(WaitUntil([&] { return RowOf(demos, "ctf.dm_2004") < 0; }, 15s));
}

TEST_F(DemosWindowTest, DelMovesTheDemosToTheRecycleBinAfterTheConfirmationAndTheyLeaveTheQueue) {
    // Wine's Recycle Bin lies in the home folder ($HOME/.local/share/Trash),
    // which scripts/wine-ctest sets to a folder of its own; the game folder
    // lies there too, as the Recycle Bin takes files of its own drive.
    // Wine gives the home folder as WINEHOMEDIR, "\\??\\Z:\\<path>".
    wchar_t given[MAX_PATH]{};
    ASSERT_GT(::GetEnvironmentVariableW(L"WINEHOMEDIR", given, MAX_PATH), 4u);
    const std::wstring home = std::wstring(given).substr(4);
    ASSERT_NE(home.find(L"test-home"), std::wstring::npos) << "HOME must be the test's own folder, not the user's";
    const std::wstring trash = home + L"\\.local\\share\\Trash\\";
    auto emptyTrash = [&] {
        for (const wchar_t* name : {L"duel.dm_2004", L"ctf.dm_2004"}) {
            ::DeleteFileW((trash + L"files\\" + name).c_str());
            ::DeleteFileW((trash + L"info\\" + name + L".trashinfo").c_str());
        }
    };
    emptyTrash();
    RemoveFolderTree(home + L"\\game");
    ::CreateDirectoryW((home + L"\\game").c_str(), nullptr);
    GameFolder homeGame(home + L"\\game");
    homeGame.AddFile(L"base\\mp\\demos\\duel.dm_2004", SyntheticDemo("mp_shop", "Red Dragons", {"Alice"}));
    homeGame.AddFile(L"base\\mp\\demos\\keep.dm_2004", SyntheticDemo("mp_shop", "Red Dragons", {"Alice"}));
    homeGame.AddFile(L"mymod\\demos\\ctf.dm_2004", SyntheticDemo("mp_kam2", "Mod Server", {"Carol"}));
    SeedSetting("Settings", "SOF2 Path", homeGame.pathUtf8());

    frmDemos& demos = OpenBrowser();
    Select(demos, {"duel.dm_2004"});
    Key(demos.lvwDemos, VK_RETURN);
    Select(demos, {"duel.dm_2004", "ctf.dm_2004"});

    real.fakePrompts.messageAnswers = {MessageAnswer::No};
    Key(demos.lvwDemos, VK_DELETE);
    ASSERT_EQ(real.fakePrompts.messages.size(), 1u);
    EXPECT_EQ(real.fakePrompts.messages[0].text, "Move these 2 demos to the Recycle Bin?");
    EXPECT_EQ(real.fakePrompts.messages[0].title, kDeleteDemosTitle);
    EXPECT_EQ(Status(demos), "3 demos");

    real.fakePrompts.messageAnswers = {MessageAnswer::Yes};
    Key(demos.lvwDemos, VK_DELETE);
    EXPECT_EQ(::GetFileAttributesW((homeGame.path() + L"\\base\\mp\\demos\\duel.dm_2004").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW((homeGame.path() + L"\\mymod\\demos\\ctf.dm_2004").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW((trash + L"files\\duel.dm_2004").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW((trash + L"files\\ctf.dm_2004").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Status(demos), "1 demo");
    EXPECT_EQ(main.queue().Count(), 0u);
    ::DestroyWindow(demos.hwnd());
    emptyTrash();
}

TEST_F(DemosWindowTest, KeepsItsPlaceSizeAndColumnsAndOpensAtTheDefaultOffEveryScreen) {
    {
        frmDemos& demos = OpenBrowser();
        ::SetWindowPos(demos.hwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SizeClientTo(demos.hwnd(), 900, 500);
        ::SendMessageW(demos.lvwDemos, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(300, 0));
        ::DestroyWindow(demos.hwnd());
    }
    EXPECT_EQ(ReadSetting("Demos Window", "Left"), "40");
    EXPECT_EQ(ReadSetting("Demos Window", "Top"), "30");
    EXPECT_EQ(ReadSetting("Demos Window", "Width"), std::to_string(900 * 15));
    EXPECT_EQ(ReadSetting("Demos Window", "Height"), std::to_string(500 * 15));
    ASSERT_TRUE(ReadSetting("Demos Window", "Column Widths"));
    EXPECT_EQ(ReadSetting("Demos Window", "Column Widths")->substr(0, 5), "4500,");
    {
        frmDemos& demos = OpenBrowser();
        RECT place{};
        ::GetWindowRect(demos.hwnd(), &place);
        EXPECT_EQ(place.left, 40);
        EXPECT_EQ(place.top, 30);
        EXPECT_EQ(ClientOf(demos.hwnd()).width, 900);
        EXPECT_EQ(::SendMessageW(demos.lvwDemos, LVM_GETCOLUMNWIDTH, 0, 0), 300);
        ::DestroyWindow(demos.hwnd());
    }
    SeedSetting("Demos Window", "Left", "-30000");
    {
        frmDemos& demos = OpenBrowser();
        RECT place{};
        ::GetWindowRect(demos.hwnd(), &place);
        EXPECT_NE(::MonitorFromRect(&place, MONITOR_DEFAULTTONULL), nullptr);
    }
}

// The boxes of the browser's own actions are the browser's: it is disabled
// while one is up, so that the action cannot start again meanwhile, and the
// main window keeps the boxes of everything else.
TEST_F(DemosWindowTest, TheBoxesOfItsActionsAreItsOwn) {
    frmMain withBoxes{real.Services(true), real.sessions};
    ASSERT_EQ(withBoxes.Load(""), LoadOutcome::ShowWindow);
    withBoxes.Show();
    real.realPrompts.SetOwner(withBoxes.hwnd());  // as the program's start does
    withBoxes.mnuBrowseDemos_Click();
    ASSERT_TRUE(withBoxes.Demos());
    frmDemos& demos = *withBoxes.Demos();
    ASSERT_TRUE(WaitUntil([&] { return demos.Idle(); }, 20s));
    Select(demos, {"duel.dm_2004"});
    bool disabledMeanwhile = false;
    DialogAnswerer answerer({{basAPI::Widen(kDeleteDemosTitle), [&](HWND box) {
                                  disabledMeanwhile = !::IsWindowEnabled(demos.hwnd());
                                  DialogAnswerer::Click(IDNO)(box);
                              }}});
    Key(demos.lvwDemos, VK_DELETE);
    const auto seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, demos.hwnd());
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(demos.hwnd()));
    EXPECT_EQ(real.realPrompts.owner(), withBoxes.hwnd());
    EXPECT_NE(::GetFileAttributesW((game.path() + L"\\base\\mp\\demos\\duel.dm_2004").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(DemosWindowTest, WithoutAGameFolderItSaysSoAndOffersTheSetup) {
    ClearSettings();
    main.mnuBrowseDemos_Click();
    ASSERT_TRUE(main.Demos());
    frmDemos& demos = *main.Demos();
    EXPECT_EQ(Status(demos), kNoGameFolderStatus);
    EXPECT_TRUE(::IsWindowVisible(demos.cmdLocate));
    EXPECT_EQ(::SendMessageW(demos.lvwDemos, LVM_GETITEMCOUNT, 0, 0), 0);

    // The setup's folder picker is answered with the game folder.
    real.fakePrompts.folderAnswers = {game.pathUtf8()};
    ::SendMessageW(demos.cmdLocate, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return demos.Idle() && Status(demos) == "4 demos"; }, 20s)) << Status(demos);
    EXPECT_FALSE(::IsWindowVisible(demos.cmdLocate));
}

}  // namespace
}  // namespace reelwright
