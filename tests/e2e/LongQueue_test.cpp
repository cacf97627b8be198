// Reelwright.exe with a queue of 300 demos: the question before Launch and
// its three answers, the script's chain of files in every game-type folder,
// and the stand-in game running that chain from its command line as the game
// does, defining the variable of every demo it was given.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/win/frmMain.h"
#include "script/basBuildConfigs.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

struct LongQueue : ::testing::Test {
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        ClearSettings();
        for (int part = 1; part <= 4; ++part)
            ::DeleteFileW((BuildFolder() + L"\\" + basAPI::Widen(basBuildConfigs::ScriptPartFileName(part))).c_str());
    }
};

// The script's files in a game-type folder, in chain order.
std::vector<std::string> ScriptFiles(const std::wstring& folder) {
    std::vector<std::string> parts;
    for (std::size_t part = 1;; ++part) {
        const std::wstring path = folder + L"\\" + basAPI::Widen(basBuildConfigs::ScriptPartFileName(part));
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return parts;
        parts.push_back(ReadBytes(path));
    }
}

TEST_F(LongQueue, ThreeHundredDemosAskFirstAndReachTheGameAsAChainOfFiles) {
    GameFolder game;
    std::vector<std::wstring> baseNames, modNames;
    std::vector<std::string> queued;
    for (int i = 1; i <= 150; ++i) {
        const std::wstring number = std::to_wstring(1000 + i).substr(1);
        baseNames.push_back(L"duel" + number + L".dm_2004");
        modNames.push_back(L"ctf" + number + L".dm_2004");
        game.AddFile(L"base\\mp\\demos\\" + baseNames.back());
        game.AddFile(L"mymod\\demos\\" + modNames.back());
    }
    for (const auto& name : baseNames) queued.push_back(basAPI::Narrow(name));
    for (const auto& name : modNames) queued.push_back(basAPI::Narrow(name));
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");
    SeedSetting("Settings", "Min on Playback", "0");

    StartedProcess program(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(AddDemosWithDialog(main, program.id(), game.path() + L"\\base\\mp\\demos", baseNames));
    ASSERT_TRUE(AddDemosWithDialog(main, program.id(), game.path() + L"\\mymod\\demos", modNames));
    HWND list = ::GetDlgItem(main, frmMain::IDC_lvwDemoQue);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 300; }, 10s));

    HWND launch = ::GetDlgItem(main, frmMain::IDC_cmdLaunch);
    for (const int answer : {IDCANCEL, IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "yes" : answer == IDNO ? "no" : "cancel");
        ::PostMessageW(launch, BM_CLICK, 0, 0);
        HWND question = WaitForDialog(program.id(), L"Play only the first 200?");
        ASSERT_NE(question, nullptr);
        const DialogSnapshot asked = ReadDialog(question);
        EXPECT_EQ(asked.title, L"Reelwright - Long queue");
        EXPECT_EQ(asked.text,
                  L"The queue holds 300 demos. The game keeps a limited number of console variables, and stepping "
                  L"through more than 200 demos in one session may end it with an error. The queue itself stays as "
                  L"it is.\r\n\r\nPlay only the first 200?");
        EXPECT_NE(asked.icon, L"none");
        EXPECT_EQ(asked.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
        ::PostMessageW(question, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question); }, 10s));
        if (answer == IDCANCEL) continue;

        const std::size_t session = answer == IDYES ? 200 : 300;
        const std::size_t started = answer == IDYES ? 1 : 2;  // Cancel started nothing
        ASSERT_TRUE(game.WaitForRecords(started, 30s));
        const auto records = game.Records();
        ASSERT_EQ(records.size(), started);
        const GameFolder::Record& record = records.back();

        // Every file of the chain in both folders, and nothing lost on the way.
        const std::vector<std::string> parts = ScriptFiles(game.path() + L"\\base\\mp");
        EXPECT_EQ(parts.size(), answer == IDYES ? 2u : 3u);
        EXPECT_EQ(ScriptFiles(game.path() + L"\\mymod"), parts);
        std::vector<std::string> expectedConsole;
        for (std::size_t part = 1; part <= parts.size(); ++part) {
            EXPECT_LE(parts[part - 1].size(), kScriptPartLimit);
            expectedConsole.push_back("exec " + basBuildConfigs::ScriptPartFileName(part));
        }
        EXPECT_EQ(record.console, expectedConsole);
        ASSERT_EQ(record.demoVariables.size(), session);
        for (std::size_t i = 0; i < session; ++i)
            EXPECT_TRUE(record.demoVariables[i].starts_with("demo" + std::to_string(i + 1) + " demo " + queued[i] + " "))
                << record.demoVariables[i];
    }
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 300);

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10s), 0u);
}

}  // namespace
}  // namespace reelwright
