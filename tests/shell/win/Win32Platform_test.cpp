// The real file system seam: the system's error code of each failed step and
// its text, and the operations the elevated helper relies on.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/win/Win32Platform.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

TEST(Win32FileSystem, FailedStepsGiveTheSystemsErrorCode) {
    GameFolder game;
    win::Win32FileSystem files;
    const std::string folder = game.pathUtf8();
    const std::string source = basAPI::Narrow(game.AddFile(L"source.cfg", "script"));
    // A folder where the script should go: the copy is refused as for a file
    // the user may not write.
    ASSERT_TRUE(::CreateDirectoryW((game.path() + L"\\mymod\\Reelwright.cfg").c_str(), nullptr));

    EXPECT_EQ(files.CopyFileOver(source, folder + "\\mymod\\Reelwright.cfg").error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(files.WriteAnsiTextFile(folder + "\\mymod\\Reelwright.cfg", "x").error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(files.CopyFileOver(folder + "\\missing.cfg", folder + "\\base\\mp\\Reelwright.cfg").error,
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(files.CopyFileOver(source, folder + "\\nofolder\\Reelwright.cfg").error, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(files.SetReadOnly(folder + "\\base\\mp\\SOF2MP.cfg").error, ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(files.CopyFileOver(source, folder + "\\base\\mp\\Reelwright.cfg"), FileResult{});
    EXPECT_EQ(files.SetReadOnly(folder + "\\base\\mp\\Reelwright.cfg"), FileResult{});
    // Wine keeps reporting the archive bit; the read-only bit is what counts.
    EXPECT_TRUE(::GetFileAttributesW((game.path() + L"\\base\\mp\\Reelwright.cfg").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(Win32FileSystem, ErrorTextIsTheSystemsOwnLine) {
    win::Win32FileSystem files;
    for (DWORD error : {ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND, ERROR_SHARING_VIOLATION}) {
        const std::string text = files.ErrorText(error);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_NE(text.back(), '.') << text;
        EXPECT_NE(text, "error " + std::to_string(error));
    }
    EXPECT_NE(files.ErrorText(ERROR_ACCESS_DENIED), files.ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(files.ErrorText(0x2FFFFFFF), "error 805306367");
}

TEST(Win32FileSystem, TemporaryFileIsNewEmptyReadableAndRemovable) {
    win::Win32FileSystem files;
    const std::string first = files.MakeTemporaryFile();
    const std::string second = files.MakeTemporaryFile();
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(files.FileExists(first));
    wchar_t temp[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_EQ(first.rfind(basAPI::Narrow(temp), 0), 0u) << first;

    std::string bytes = "left over";
    EXPECT_EQ(files.ReadFileStart(first, 10, bytes), FileResult{});
    EXPECT_EQ(bytes, "");
    ASSERT_EQ(files.WriteAnsiTextFile(first, "\\\\ header\r\nrest"), FileResult{});
    EXPECT_EQ(files.ReadFileStart(first, 11, bytes), FileResult{});
    EXPECT_EQ(bytes, "\\\\ header\r\n");
    EXPECT_EQ(files.ReadFileStart(first, 100, bytes), FileResult{});
    EXPECT_EQ(bytes, "\\\\ header\r\nrest");

    EXPECT_EQ(files.RemoveFile(first), FileResult{});
    EXPECT_FALSE(files.FileExists(first));
    EXPECT_EQ(files.RemoveFile(first).error, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(files.ReadFileStart(first, 10, bytes).error, ERROR_FILE_NOT_FOUND);
    files.RemoveFile(second);
}

}  // namespace
}  // namespace reelwright

// The real shell seam: the game started with ShellExecuteExW, the error code
// and the system's text when it cannot be, and the ANSI code page test.

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
