// Reelwright.exe when the playback script cannot be placed in a game-type
// folder (its Reelwright.cfg is a folder, so the copy is refused as access
// denied): the offer of administrator rights, the helper it starts (under
// Wine "runas" starts it without a prompt, and it fails the same way), and
// the box that names the folder. Then the helper mode started by hand.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "app/win/frmMain.h"
#include "script/basBuildConfigs.h"
#include "shell/win/Win32Platform.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace testing;
using namespace std::chrono_literals;

// The temporary files that Reelwright makes ("rw*.tmp" in the temp folder).
std::set<std::wstring> TemporaryScripts() {
    wchar_t temp[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, temp);
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((std::wstring(temp) + L"rw*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(found.cFileName);
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

void Press(HWND box, int button) { ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

struct GameFolderRights : ::testing::Test {
    void SetUp() override {
        ClearSettings();
    }
    void TearDown() override {
        ClearSettings();
    }
};

TEST_F(GameFolderRights, AskForRightsThenNameTheFolderAndLetTheUserChoose) {
    GameFolder game;
    const std::wstring first = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring second = game.AddFile(L"mymod\\demos\\ctf1.dm_2004");
    ASSERT_TRUE(::CreateDirectoryW((game.path() + L"\\mymod\\Reelwright.cfg").c_str(), nullptr));
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");
    const auto temporaryBefore = TemporaryScripts();

    StartedProcess program(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), first));
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), second));
    HWND list = ::GetDlgItem(main, frmMain::IDC_lvwDemoQue);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5s));

    const std::wstring folder = game.path() + L"\\mymod";
    const std::wstring denied = basAPI::Widen(win::Win32FileSystem().ErrorText(ERROR_ACCESS_DENIED));
    HWND launch = ::GetDlgItem(main, frmMain::IDC_cmdLaunch);
    for (const int startAnyway : {IDNO, IDYES}) {
        SCOPED_TRACE(startAnyway == IDYES ? "start anyway" : "do not start");
        ::PostMessageW(launch, BM_CLICK, 0, 0);

        // First the question.
        HWND question = WaitForDialog(program.id());
        ASSERT_NE(question, nullptr);
        const DialogSnapshot asked = ReadDialog(question);
        EXPECT_EQ(asked.title, L"Reelwright - Game folder");
        EXPECT_EQ(asked.text, L"This game folder needs administrator rights to receive the playback script:\r\n\r\n" +
                                  folder +
                                  L"\r\n\r\nWould you like Reelwright to place the script there with administrator "
                                  L"rights? Windows will ask you to allow it once.");
        EXPECT_TRUE(asked.hasIcon);
        EXPECT_EQ(asked.buttons, (std::vector<int>{IDYES, IDNO}));
        Press(question, IDYES);

        // The helper fails as the program did; then the folder is named.
        HWND told = WaitForDialog(program.id(), L"Start the game anyway?", question);
        ASSERT_NE(told, nullptr);
        const DialogSnapshot shown = ReadDialog(told);
        EXPECT_EQ(shown.title, L"Reelwright - Game folder");
        EXPECT_EQ(shown.text,
                  L"The playback script could not be placed in this game folder, so the demo keys will not step "
                  L"through the queue:\r\n\r\n" +
                      folder + L"\r\n    Reelwright.cfg could not be written: " + denied +
                      L".\r\n\r\nStart the game anyway? Only the first demo will play.");
        EXPECT_TRUE(shown.hasIcon);
        EXPECT_EQ(shown.buttons, (std::vector<int>{IDYES, IDNO}));
        // The helper has ended and its temporary script is gone.
        EXPECT_EQ(TemporaryScripts(), temporaryBefore);
        Press(told, startAnyway);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(told); }, 10s));

        if (startAnyway == IDNO) {
            // Nothing started, the window stays as it was.
            ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, 5s));
            EXPECT_TRUE(game.Records().empty());
            EXPECT_FALSE(::IsIconic(main));
        } else {
            ASSERT_TRUE(game.WaitForRecords(1));
            const auto records = game.Records();
            ASSERT_EQ(records.size(), 1u);
            EXPECT_EQ(records[0].parameters, "+set fs_basepath \"" + game.pathUtf8() +
                                                 "\" +set fs_game base\\mp+demo duel.dm_2004+exec Reelwright.cfg");
            EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(main) != FALSE; }, 5s));
        }
    }
    // The folder that could be written has its copy.
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), ReadBytes(BuildFolder() + L"\\Reelwright.cfg"));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10s), 0u);
}

struct HelperMode : GameFolderRights {
    // Runs the helper mode by hand; its exit code. It must show no window.
    std::optional<DWORD> RunHelper(const std::wstring& arguments) {
        StartedProcess helper(ProgramPath(), arguments);
        EXPECT_TRUE(helper.Started());
        bool showedWindow = false;
        std::optional<DWORD> exitCode;
        WaitUntil(
            [&] {
                for (const wchar_t* name : {frmMain::kClassName, L"ReelwrightSplash", L"#32770"})
                    if (FindTopWindow(name, L"", helper.id())) showedWindow = true;
                exitCode = helper.WaitForExit(0ms);
                return exitCode.has_value();
            },
            15s);
        EXPECT_FALSE(showedWindow);
        return exitCode;
    }
};

TEST_F(HelperMode, ValidCommandLineCopiesAndProtectsEvenWhileTheProgramRuns) {
    GameFolder game;
    game.AddGameExecutable(L"mymod");
    game.AddFile(L"mymod\\SOF2MP.cfg", "seta name player");
    const std::string script = std::string(basBuildConfigs::ScriptFirstLine()) + "bind F1 \"vstr demonext\"\r\n";
    const std::wstring source = game.AddFile(L"rw1.tmp", script);
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    // A running instance does not stop the helper.
    StartedProcess running(ProgramPath(), L"");
    ASSERT_NE(WaitForWindow(frmMain::kClassName, running.id()), nullptr);

    EXPECT_EQ(RunHelper(L"/copy-script \"" + source + L"\" \"" + game.path() + L"\" \"base\\mp\" \"mymod\""), 0u);
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), script);
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\Reelwright.cfg"), script);
    // Wine keeps reporting the archive bit; the read-only bit is what counts.
    EXPECT_TRUE(::GetFileAttributesW((game.path() + L"\\mymod\\SOF2MP.cfg").c_str()) & FILE_ATTRIBUTE_READONLY);
    // The helper leaves its source alone: the program that started it deletes it.
    EXPECT_EQ(ReadBytes(source), script);

    ::PostMessageW(FindTopWindow(frmMain::kClassName, L"", running.id()), WM_CLOSE, 0, 0);
    EXPECT_EQ(running.WaitForExit(10s), 0u);
}

TEST_F(HelperMode, InvalidCommandLinesTouchNothing) {
    GameFolder game;
    const std::wstring source =
        game.AddFile(L"rw1.tmp", std::string(basBuildConfigs::ScriptFirstLine()) + "bind F1 \"vstr demonext\"\r\n");
    const std::wstring foreign = game.AddFile(L"other.cfg", "bind F1 \"quit\"\r\n");
    const std::wstring outside = game.path() + L"\\..\\Reelwright.cfg";

    // A target outside the game folder.
    EXPECT_EQ(RunHelper(L"/copy-script \"" + source + L"\" \"" + game.path() + L"\" \"base\\mp\" \"..\""), 1u);
    // A source that is not one of the program's scripts.
    EXPECT_EQ(RunHelper(L"/copy-script \"" + foreign + L"\" \"" + game.path() + L"\" \"base\\mp\""), 1u);
    // A game folder without the game.
    EXPECT_EQ(RunHelper(L"/copy-script \"" + source + L"\" \"" + game.path() + L"\\base\" \"mp\""), 1u);
    // Arguments missing.
    EXPECT_EQ(RunHelper(L"/copy-script \"" + source + L"\" \"" + game.path() + L"\""), 1u);

    EXPECT_EQ(::GetFileAttributesW(outside.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW((game.path() + L"\\base\\mp\\Reelwright.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace reelwright
