// Launch on the real main window: the script beside the program, its copies in
// the game-type folders, the read-only game config, the command line the
// stand-in game received, and the minimised window.
#include <windows.h>

#include <gtest/gtest.h>


#include "app/win/frmMain.h"
#include "core/win/Controls.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

class LaunchButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        ::DeleteFileW(ProgramScript().c_str());
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        ASSERT_EQ(window.Load(""), LoadOutcome::ShowWindow);
        real.shell.SetOwner(window.hwnd());
        window.Show();
    }
    void TearDown() override {
        ClearSettings();
        ::DeleteFileW(ProgramScript().c_str());
    }

    static std::wstring ProgramScript() { return BuildFolder() + L"\\Reelwright.cfg"; }

    void Queue(const std::string& name, const std::string& gameType) {
        window.queue().Append({name, gameType, game.pathUtf8() + "\\" + gameType + "\\demos\\" + name});
        window.RefreshDemoList();
    }
    void ClickLaunch(const std::string& optionalParameters = "") {
        win::SetText(window.txtOptionalParams, optionalParameters);
        ::SendMessageW(window.cmdLaunch, BM_CLICK, 0, 0);
    }
    GameFolder::Record OnlyRecord() {
        EXPECT_TRUE(game.WaitForRecords(1));
        const auto records = game.Records();
        EXPECT_EQ(records.size(), 1u);
        // Every start asks for the game's window maximised.
        if (!records.empty()) {
            EXPECT_EQ(records.front().show, SW_SHOWMAXIMIZED);
        }
        return records.empty() ? GameFolder::Record{} : records.front();
    }
    std::string Start() const { return "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game "; }

    GameFolder game;
    RealServices real;
    frmMain window{real.Services(), real.sessions};
};

TEST_F(LaunchButtonTest, OneDemoStartsTheGameWithoutScript) {
    SeedSetting("Settings", "Min on Playback", "0");
    Queue("duel.dm_2004", "base\\mp");
    ClickLaunch();

    const auto record = OnlyRecord();
    EXPECT_EQ(record.parameters, Start() + "base\\mp+demo duel.dm_2004");
    EXPECT_EQ(record.directory, game.pathUtf8());
    EXPECT_FALSE(::IsIconic(window.hwnd()));
    EXPECT_EQ(::GetFileAttributesW(ProgramScript().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW((game.path() + L"\\base\\mp\\Reelwright.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LaunchButtonTest, OneDemoPassesTheTrimmedOptionalParameters) {
    SeedSetting("Settings", "Min on Playback", "0");
    Queue("ctf1.dm_2004", "mymod");
    ClickLaunch("   +set r_fullscreen 0  ");

    EXPECT_EQ(OnlyRecord().parameters, Start() + "mymod+demo ctf1.dm_2004 +set r_fullscreen 0");
}

TEST_F(LaunchButtonTest, TwoDemosWriteThePlacedScriptAndMinimise) {
    // mymod holds its own executable: only its config becomes read-only.
    game.AddGameExecutable(L"mymod");
    const std::wstring modConfig = game.AddFile(L"mymod\\SOF2MP.cfg", "seta name x\r\n");
    const std::wstring baseConfig = game.AddFile(L"base\\mp\\SOF2MP.cfg", "seta name y\r\n");
    Queue("duel.dm_2004", "base\\mp");
    Queue("ctf1.dm_2004", "mymod");
    ClickLaunch("+ignored");

    const auto record = OnlyRecord();
    EXPECT_EQ(record.parameters, Start() + "base\\mp+demo duel.dm_2004+exec Reelwright.cfg");
    EXPECT_EQ(record.directory, game.pathUtf8());

    // Both game-type folders hold the script written beside the program; in
    // the game, the next-demo key steps through the queue's order.
    const std::string script = ReadBytes(ProgramScript());
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), script);
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\Reelwright.cfg"), script);
    EXPECT_EQ(PlaySession(record.parameters, FilesIn(game.path() + L"\\base\\mp"), {"F1", "F1"}),
              (std::vector<std::string>{"demo duel.dm_2004", "demo ctf1.dm_2004", "demo duel.dm_2004"}));

    EXPECT_TRUE(IsReadOnly(modConfig));
    EXPECT_FALSE(IsReadOnly(baseConfig));

    // "Min on Playback" missing reads as 1.
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(window.hwnd()) != FALSE; }));
}

TEST_F(LaunchButtonTest, EmptyQueueStartsNothingButStillMinimises) {
    SeedSetting("Settings", "Min on Playback", "1");
    ClickLaunch();
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(window.hwnd()) != FALSE; }));
    EXPECT_TRUE(game.Records().empty());
}

}  // namespace
}  // namespace reelwright
