// The real file system seam: the system's error code of each failed step and
// its text, and the operations the elevated helper relies on.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/win/Win32FileSystem.h"
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

TEST(Win32FileSystem, ReplacesAFileThroughANewOneInAFolderItMakes) {
    const std::wstring folder = std::filesystem::temp_directory_path().wstring() + L"Reelwright journal \u00e9t\u00e9";
    std::filesystem::remove_all(folder);
    win::Win32FileSystem files;
    const std::string path = basAPI::Narrow(folder) + "\\sub\\sessions.journal";

    ASSERT_TRUE(files.ReplaceFile(path, "one\n"));
    ASSERT_TRUE(files.ReplaceFile(path, std::string("two\r\n\0\xff", 7)));
    std::string bytes;
    ASSERT_TRUE(files.ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("two\r\n\0\xff", 7));
    // Only the file itself is left: the new file was renamed over it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder + L"\\sub"), {}), 1);

    ASSERT_TRUE(files.SetAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(files.Attributes(path), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(files.SetAttributes(path, 0));
    EXPECT_EQ(files.Attributes(path).value_or(FILE_ATTRIBUTE_READONLY) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_FALSE(files.Attributes(basAPI::Narrow(folder) + "\\sub"));  // a folder is no file
    EXPECT_EQ(files.ReadWholeFile(path + ".none", bytes).error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    std::filesystem::remove_all(folder);
}

// The helper refuses a script target that is hard-linked elsewhere: the held
// file's facts count its links.
TEST(Win32FileSystem, AHeldFileTellsItsHardLinks) {
    GameFolder game;
    const std::wstring first = game.AddFile(L"elsewhere.txt", "not a script");
    const std::wstring second = game.path() + L"\\Reelwright.cfg";
    if (!::CreateHardLinkW(second.c_str(), first.c_str(), nullptr))
        GTEST_SKIP() << "this system cannot make hard links here (error " << ::GetLastError() << ")";
    win::Win32FileSystem files;
    FileResult error;
    const auto linked = files.Hold(basAPI::Narrow(second), HoldMode::Inspect, error);
    ASSERT_TRUE(linked) << error.error;
    EXPECT_EQ(linked->Facts().links, 2u);
    EXPECT_FALSE(linked->Facts().directory);
    const auto alone = files.Hold(basAPI::Narrow(game.AddFile(L"alone.txt", "x")), HoldMode::Inspect, error);
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->Facts().links, 1u);
}

}  // namespace
}  // namespace reelwright
