// The real shell seam: the game started with ShellExecuteExW, the error code
// and the system's text when it cannot be, and the ANSI code page test.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/win/Win32GameShell.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

TEST(Win32GameShell, StartsTheGameWithItsParametersFolderAndShowMode) {
    GameFolder game;
    win::Win32GameShell shell;
    EXPECT_EQ(shell.ShellOpen(game.pathUtf8() + "\\SoF2MP.exe", "+set fs_game base\\mp+demo \"a b.dm_2004\"", game.pathUtf8(), SW_SHOWMAXIMIZED),
              0u);
    ASSERT_TRUE(game.WaitForRecords(1));
    const auto record = game.Records().at(0);
    EXPECT_EQ(record.parameters, "+set fs_game base\\mp+demo \"a b.dm_2004\"");
    EXPECT_EQ(record.directory, game.pathUtf8());
    EXPECT_EQ(record.show, SW_SHOWMAXIMIZED);
}

TEST(Win32GameShell, AMissingGameGivesTheSystemsErrorCodeAndText) {
    GameFolder game;
    ASSERT_TRUE(::DeleteFileW((game.path() + L"\\SOF2MP.exe").c_str()));
    win::Win32GameShell shell;
    const std::uint32_t error = shell.ShellOpen(game.pathUtf8() + "\\SoF2MP.exe", "", game.pathUtf8(), SW_SHOWMAXIMIZED);
    EXPECT_EQ(error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    const std::string text = shell.ErrorText(error);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    // No box of the shell's own came up.
    EXPECT_EQ(FindTopWindow(L"#32770", L"", ::GetCurrentProcessId()), nullptr);
    EXPECT_TRUE(game.Records().empty());
}

TEST(Win32GameShell, TheAnsiTestFollowsTheSystemsCodePage) {
    win::Win32GameShell shell;
    EXPECT_TRUE(shell.FitsAnsiCodePage("base\\mp\\duel 1.dm_2004"));
    EXPECT_TRUE(shell.FitsAnsiCodePage(""));
    if (::GetACP() == CP_UTF8) GTEST_SKIP() << "UTF-8 code page: every character fits";
    EXPECT_FALSE(shell.FitsAnsiCodePage("\xe6\x97\xa5\xe6\x9c\xac.dm_2004"));  // CJK letters
    if (::GetACP() == 1252) {
        EXPECT_TRUE(shell.FitsAnsiCodePage("\xc3\xa9t\xc3\xa9.dm_2004"));      // e acute
        EXPECT_FALSE(shell.FitsAnsiCodePage("\xc4\x9f.dm_2004"));             // g breve: best fit would give "g"
    }
}

}  // namespace
}  // namespace reelwright
