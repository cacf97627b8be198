// The session journal's Windows platform: a started game followed by its id
// and creation time, and files replaced through a new file and a rename.
#include "launch/win/Win32SessionPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

TEST(Win32SessionPlatform, FollowsTheStartedGameByItsIdAndCreationTime) {
    GameFolder game;
    win::Win32FileSystem files;
    win::Win32SessionPlatform platform(files, basAPI::Narrow(ProgramPath()));
    std::optional<SessionProcess> started;
    ASSERT_EQ(platform.StartGame(game.pathUtf8() + "\\SoF2MP.exe", "+set x 1", game.pathUtf8(), SW_SHOWNORMAL, started),
              0u);
    ASSERT_TRUE(started);
    EXPECT_FALSE(platform.ProcessEnded(*started));
    // The same id with another creation time is another process: the game's has ended.
    EXPECT_TRUE(platform.ProcessEnded({started->id, started->creationTime + 1}));
    EXPECT_FALSE(platform.ProcessEnded(platform.CurrentProcess()));
    game.EndStandInGames();
    EXPECT_TRUE(platform.ProcessEnded(*started));

    std::optional<SessionProcess> none;
    EXPECT_NE(platform.StartGame(game.pathUtf8() + "\\missing\\SoF2MP.exe", "", game.pathUtf8(), SW_SHOWNORMAL, none),
              0u);
    EXPECT_FALSE(none);
}

TEST(Win32SessionPlatform, ReplacesAFileThroughANewOneInAFolderItMakes) {
    const std::wstring folder = std::filesystem::temp_directory_path().wstring() + L"Reelwright journal \u00e9t\u00e9";
    std::filesystem::remove_all(folder);
    win::Win32FileSystem files;
    win::Win32SessionPlatform platform(files, {});
    const std::string path = basAPI::Narrow(folder) + "\\sub\\sessions.journal";

    ASSERT_TRUE(platform.ReplaceFile(path, "one\n"));
    ASSERT_TRUE(platform.ReplaceFile(path, std::string("two\r\n\0\xff", 7)));
    std::string bytes;
    ASSERT_TRUE(platform.ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("two\r\n\0\xff", 7));
    // Only the file itself is left: the new file was renamed over it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder + L"\\sub"), {}), 1);

    ASSERT_TRUE(platform.SetAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(platform.Attributes(path), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(platform.SetAttributes(path, 0));
    EXPECT_EQ(platform.Attributes(path).value_or(FILE_ATTRIBUTE_READONLY) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_FALSE(platform.Attributes(basAPI::Narrow(folder) + "\\sub"));  // a folder is no file
    EXPECT_EQ(platform.ReadWholeFile(path + ".none", bytes).error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace reelwright
