// Demos as players keep them, played with the built Reelwright.exe: sub-folders
// of a demos folder, names with blanks, files outside the game folder, a game
// folder at a drive root, and a game executable that has gone.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <set>

#include "app/win/frmMain.h"
#include "support/DemoEncoder.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

// The drive letter that the test run maps onto a folder of its own (see
// tests/CMakeLists.txt).
constexpr const wchar_t* kMappedDrive = L"R:";

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ProgramScript() { return BuildFolder() + L"\\Reelwright.cfg"; }

struct RealDemos : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        ::DeleteFileW(ProgramScript().c_str());
        SeedSetting("Settings", "Load Splash", "0");
    }
    void TearDown() override {
        if (program) {
            if (HWND main = FindTopWindow(frmMain::kClassName, L"", program->id())) ::PostMessageW(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(program->WaitForExit(10s), 0u);
        }
        ClearSettings();
        ::DeleteFileW(ProgramScript().c_str());
    }

    HWND Start(const std::wstring& arguments = L"") {
        program = std::make_unique<StartedProcess>(ProgramPath(), arguments);
        return WaitForWindow(frmMain::kClassName, program->id());
    }
    void Add(HWND main, const std::wstring& path) { ASSERT_TRUE(AddDemoWithDialog(main, program->id(), path)); }
    int Rows(HWND main) {
        return static_cast<int>(::SendMessageW(::GetDlgItem(main, frmMain::IDC_lvwDemoQue), LVM_GETITEMCOUNT, 0, 0));
    }
    void Launch(HWND main) { ::PostMessageW(::GetDlgItem(main, frmMain::IDC_cmdLaunch), BM_CLICK, 0, 0); }
    // A message box of the program with this title: read, then answered with `button`.
    std::optional<DialogSnapshot> Confirm(const std::wstring& title, int button = IDOK) {
        HWND box = WaitForWindow(L"#32770", program->id(), title);
        if (!box) return std::nullopt;
        const DialogSnapshot shown = ReadDialog(box);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitUntil([&] { return !::IsWindow(box); }, 10s);
        return shown;
    }
    // Lets the program finish what a click started: a window message that it
    // answers comes after everything queued before it.
    void Settle(HWND main) { ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 10000, nullptr); }

    std::unique_ptr<StartedProcess> program;
};

TEST_F(RealDemos, ASubFolderDemoPlaysAloneAndInAQueue) {
    GameFolder game;
    const std::wstring sub = game.AddFile(L"mymod\\demos\\2026\\june\\final.dm_2004");
    const std::wstring duel = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Min on Playback", "0");
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    Add(main, sub);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 1; }, 5s));
    Launch(main);
    ASSERT_TRUE(game.WaitForRecords(1));
    const std::string start = "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game ";
    EXPECT_EQ(game.Records()[0].parameters, start + "mymod+demo 2026\\june\\final.dm_2004");

    Add(main, duel);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 2; }, 5s));
    Launch(main);
    ASSERT_TRUE(game.WaitForRecords(2));
    EXPECT_EQ(game.Records()[1].parameters, start + "mymod+demo 2026\\june\\final.dm_2004+exec Reelwright.cfg");
    const std::string script = ReadBytes(game.path() + L"\\mymod\\Reelwright.cfg");
    EXPECT_NE(script.find("seta demo1 \"demo 2026\\june\\final.dm_2004 ; set demonext vstr demo2"), std::string::npos);
    EXPECT_NE(script.find("seta demo2 \"demo duel.dm_2004 ; "), std::string::npos);
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), script);
}

TEST_F(RealDemos, ADemoWithABlankPlaysAloneQuoted) {
    GameFolder game;
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\my duel.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    Add(main, demo);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 1; }, 5s));
    Launch(main);
    ASSERT_TRUE(game.WaitForRecords(1));
    EXPECT_EQ(game.Records()[0].parameters,
              "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game base\\mp+demo \"my duel.dm_2004\"");
    // "Min on Playback" missing reads as 1.
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(main) != FALSE; }, 5s));
}

TEST_F(RealDemos, AQueueOfTwoHoldingABlankIsRefusedAndNothingIsWrittenOrStarted) {
    GameFolder game;
    const std::wstring first = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring second = game.AddFile(L"base\\mp\\demos\\my duel.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Min on Playback", "1");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    Add(main, first);
    Add(main, second);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 2; }, 5s));
    Launch(main);

    const auto shown = Confirm(L"Reelwright - Error playing demo.");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text,
              L"The game cannot take the name of this queued demo, so nothing was written and the game was not "
              L"started:\r\n\r\nbase\\mp\\demos\\my duel.dm_2004: its name holds a blank, \";\" or \"/\", which the "
              L"playback script of several demos cannot take. Rename the file, or play it alone.");
    EXPECT_NE(shown->icon, L"none");
    EXPECT_EQ(shown->buttons, std::vector<int>{IDOK});
    Settle(main);
    EXPECT_FALSE(::IsIconic(main));
    EXPECT_TRUE(game.Records().empty());
    EXPECT_FALSE(Exists(ProgramScript()));
    EXPECT_FALSE(Exists(game.path() + L"\\base\\mp\\Reelwright.cfg"));
    EXPECT_EQ(Rows(main), 2);
}

TEST_F(RealDemos, ALongPathOutsideTheGameFolderIsRefusedAtAdd) {
    GameFolder game;
    GameFolder elsewhere;  // another folder of the same shape, longer than the game folder's name
    const std::wstring outside =
        elsewhere.AddFile(L"a folder with a long name for demos of another game\\mymod\\demos\\a.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    Add(main, outside);
    ASSERT_TRUE(Confirm(L"Reelwright - Copy demo", IDNO));
    const auto shown = Confirm(L"Reelwright - Error adding demos");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, L"This demo file was not added to the queue, because it does not lie inside your SOF2 "
                           L"folder, " + game.path() + L":\r\n\r\n" + outside +
                               L"\r\n\r\nYou must have the demos in a demos folder inside your SOF2 folder.\r\n"
                               L"By default this will be your base/mp/demos folder.");
    Settle(main);
    EXPECT_EQ(Rows(main), 0);
}

TEST_F(RealDemos, AGameFolderAtADriveRootServesAddLaunchAndDirectPlayback) {
    ASSERT_NE(::GetFileAttributesW((std::wstring(kMappedDrive) + L"\\").c_str()), INVALID_FILE_ATTRIBUTES)
        << "drive R: is not mapped in the Wine prefix";
    GameFolder game(kMappedDrive);
    const std::wstring duel = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring ctf = game.AddFile(L"mymod\\demos\\ctf.dm_2004");
    // As the folder picker gives a drive root.
    SeedSetting("Settings", "SOF2 Path", "R:\\");
    SeedSetting("Settings", "Min on Playback", "0");

    HWND main = Start(L"\"" + duel + L"\"");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(game.WaitForRecords(1));
    EXPECT_EQ(game.Records()[0].parameters, "+set fs_basepath \"R:\\\" +set fs_game base\\mp+demo \"duel.dm_2004\"");
    EXPECT_EQ(game.Records()[0].directory, "R:\\");

    Add(main, duel);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 1; }, 5s));
    Launch(main);
    ASSERT_TRUE(game.WaitForRecords(2));
    EXPECT_EQ(game.Records()[1].parameters, "+set fs_basepath \"R:\\\" +set fs_game base\\mp+demo duel.dm_2004");
    EXPECT_EQ(game.Records()[1].directory, "R:\\");

    Add(main, ctf);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 2; }, 5s));
    Launch(main);
    ASSERT_TRUE(game.WaitForRecords(3));
    EXPECT_EQ(game.Records()[2].parameters,
              "+set fs_basepath \"R:\\\" +set fs_game base\\mp+demo duel.dm_2004+exec Reelwright.cfg");
    EXPECT_TRUE(Exists(L"R:\\base\\mp\\Reelwright.cfg"));
    EXPECT_TRUE(Exists(L"R:\\mymod\\Reelwright.cfg"));
}

TEST_F(RealDemos, LaunchWithTheGameRemovedShowsTheBoxAndLeavesTheWindow) {
    GameFolder game;
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    ASSERT_TRUE(::DeleteFileW((game.path() + L"\\SOF2MP.exe").c_str()));
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Min on Playback", "1");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    Add(main, demo);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 1; }, 5s));
    Launch(main);

    const auto shown = Confirm(L"Reelwright - Error playing demo.");
    ASSERT_TRUE(shown);
    const std::wstring tried = L"The game could not be started:\r\n\r\n" + game.path() + L"\\SoF2MP.exe\r\n\r\n";
    EXPECT_EQ(shown->text.substr(0, tried.size()), tried) << shown->text;
    EXPECT_NE(shown->text.find(L"(error 2)"), std::wstring::npos) << shown->text;
    EXPECT_NE(shown->icon, L"none");
    Settle(main);
    EXPECT_FALSE(::IsIconic(main));
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(Rows(main), 1);
}

// A demo recorded with a mod, opened from a folder outside the game folder:
// Yes copies it into that mod's demos folder and the game plays the copy in
// the mod; No refuses it as before and copies nothing.
TEST_F(RealDemos, ADemoFromElsewhereIsCopiedIntoItsModOnYesAndRefusedOnNo) {
    GameFolder game;
    GameFolder downloads;  // a temporary folder of this test
    test::GameStateParts parts;
    parts.serverInfo = "\\mapname\\mp_shop\\g_gametype\\dm";
    parts.systemInfo = "\\sv_serverid\\1\\fs_game\\mymod";
    const std::string bytes = test::Demo(parts, {1000, 2000});
    const std::wstring source = downloads.AddFile(L"Downloads\\match.dm_2004", bytes);
    const std::wstring copy = game.path() + L"\\mymod\\demos\\match.dm_2004";
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Min on Playback", "0");

    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        program = std::make_unique<StartedProcess>(ProgramPath(), L"\"" + source + L"\"");
        const auto question = Confirm(L"Reelwright - Copy demo", answer);
        ASSERT_TRUE(question);
        EXPECT_EQ(question->text, source +
                                      L" is not in a demos folder of your game, so the game cannot play it. Copy it "
                                      L"to " + copy + L" and play it?");
        EXPECT_EQ((std::set<int>(question->buttons.begin(), question->buttons.end())), (std::set<int>{IDYES, IDNO}));
        if (answer == IDNO) {
            const auto refusal = Confirm(L"Reelwright - Error playing demo.");
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->text, L"You must have the demo running the appropriate folder.\r\n\r\nBy default "
                                     L"this will be your base/mp/demos folder.");
            EXPECT_FALSE(Exists(copy));
            EXPECT_TRUE(game.Records().empty());
        } else {
            ASSERT_TRUE(game.WaitForRecords(1));
            EXPECT_EQ(game.Records()[0].parameters,
                      "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game mymod+demo \"match.dm_2004\"");
            EXPECT_EQ(ReadBytes(copy), bytes);
        }
        EXPECT_EQ(ReadBytes(source), bytes);  // the source stays as it was
        HWND main = WaitForWindow(frmMain::kClassName, program->id());
        ASSERT_NE(main, nullptr);
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program->WaitForExit(10s), 0u);
        program.reset();
    }
}

}  // namespace
}  // namespace reelwright
