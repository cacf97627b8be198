// Zip packs of demos given to the built Reelwright.exe: chosen in Add's
// dialog, and named on the command line as a double-click does.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <set>

#include "app/win/frmMain.h"
#include "core/win/basAPI.h"
#include "support/DemoEncoder.h"
#include "support/ZipWriter.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

struct DemoPacks : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "Load Splash", "0");
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        SeedSetting("Settings", "Min on Playback", "0");
        game.AddFile(L"othermod\\mod.pk3");
    }
    void TearDown() override {
        if (program) {
            if (HWND main = FindTopWindow(frmMain::kClassName, L"", program->id())) ::PostMessageW(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(program->WaitForExit(10s), 0u);
        }
        ClearSettings();
    }
    int Rows(HWND main) {
        return static_cast<int>(::SendMessageW(::GetDlgItem(main, frmMain::IDC_lvwDemoQue), LVM_GETITEMCOUNT, 0, 0));
    }
    std::optional<DialogSnapshot> Confirm(const std::wstring& title, int button = IDOK) {
        HWND box = WaitForWindow(L"#32770", program->id(), title);
        if (!box) return std::nullopt;
        const DialogSnapshot shown = ReadDialog(box);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitUntil([&] { return !::IsWindow(box); }, 10s);
        return shown;
    }

    GameFolder game;
    GameFolder downloads;  // a temporary folder of this test
    std::unique_ptr<StartedProcess> program;
};

TEST_F(DemoPacks, APackAddedGoesIntoItsDemosModsAndACutOneLeavesNothing) {
    const std::string zip = ZipFile({{"cup/final.dm_2004", DemoOfMod(nullptr, 1000)},
                                     {"cup/semi.dm_2004", DemoOfMod("mymod", 2000)},
                                     {"../../evil.dm_2004", DemoOfMod(nullptr, 1000)},
                                     {"cup/other.dm_2004", DemoOfMod("othermod", 3000)}});
    const std::wstring pack = downloads.AddFile(L"Downloads\\cup.zip", zip);
    const std::wstring cut = downloads.AddFile(L"Downloads\\cut.zip", zip.substr(0, zip.size() / 2));
    const std::set<std::wstring> before = ItemsBelow(game.path());
    const std::set<std::wstring> outsideBefore = ItemsBelow(downloads.path());

    program = std::make_unique<StartedProcess>(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program->id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(AddDemoWithDialog(main, program->id(), pack));
    const auto question = Confirm(L"Reelwright - Copy demo", IDYES);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text.substr(0, question->text.find(L"\r\n")),
              L"Copy the 3 demos of cup.zip into your game and queue them?");
    EXPECT_NE(question->text.find(L"../../evil.dm_2004: its name leads out of the pack's folder (..)"),
              std::wstring::npos);
    ASSERT_TRUE(WaitUntil([&] { return Rows(main) == 3; }, 15s));
    std::set<std::wstring> added;
    for (const std::wstring& item : ItemsBelow(game.path()))
        if (!before.count(item)) added.insert(item);
    EXPECT_EQ(added, (std::set<std::wstring>{L"base\\mp\\demos\\cup", L"base\\mp\\demos\\cup\\final.dm_2004",
                                             L"mymod\\demos\\cup", L"mymod\\demos\\cup\\semi.dm_2004",
                                             L"othermod\\demos", L"othermod\\demos\\cup",
                                             L"othermod\\demos\\cup\\other.dm_2004"}));
    EXPECT_EQ(ItemsBelow(downloads.path()), outsideBefore);

    const std::set<std::wstring> full = ItemsBelow(game.path());
    ASSERT_TRUE(AddDemoWithDialog(main, program->id(), cut));
    const auto told = Confirm(L"Reelwright - Copy demo");
    ASSERT_TRUE(told);
    EXPECT_EQ(told->text, L"cut.zip could not be unpacked, because it is damaged or incomplete.\r\n\r\nNothing of it "
                          L"was copied or queued.");
    ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 10000, nullptr);
    EXPECT_EQ(Rows(main), 3);
    EXPECT_EQ(ItemsBelow(game.path()), full);
}

TEST_F(DemoPacks, APackOfOneDemoOpenedWithTheProgramPlaysIt) {
    const std::string demo = DemoOfMod("mymod", 1000);
    const std::wstring pack = downloads.AddFile(L"Downloads\\one match.zip", ZipFile({{"match.dm_2004", demo}}));
    program = std::make_unique<StartedProcess>(ProgramPath(), L"\"" + pack + L"\"");
    const auto question = Confirm(L"Reelwright - Copy demo", IDYES);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, L"Copy the demo of one match.zip into your game and play it?\r\n\r\n" + game.path() +
                                  L"\\mymod\\demos\\one_match");
    ASSERT_TRUE(game.WaitForRecords(1));
    EXPECT_EQ(game.Records()[0].parameters,
              "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game mymod+demo \"one_match\\match.dm_2004\"");
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\demos\\one_match\\match.dm_2004"), demo);
}

}  // namespace
}  // namespace reelwright
