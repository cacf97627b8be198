#include "queue/GameType.h"

#include <gtest/gtest.h>

#include "launch/GameCommandLine.h"

namespace reelwright {
namespace {

const std::string kGame = "C:\\Games\\SOF2";

TEST(GetGameTypeFromPath, TakesTheFolderBetweenGameFolderAndDemos) {
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004", kGame), "base\\mp");
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004", kGame), "mymod");
    // The folder of a multiple selection.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos", kGame), "mymod");
    // Only the first "\demos" counts.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos\\old\\demos\\a.dm_2004", kGame), "mymod");
    // "\demos" also matches the start of a longer folder name.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos2\\a.dm_2004", kGame), "mymod");
}

TEST(GetGameTypeFromPath, UsesOnlyTheGameFoldersLength) {
    // Same length as the game folder, other letters: the rule still applies.
    EXPECT_EQ(GetGameTypeFromPath("D:\\Other\\Game\\mymod\\demos\\a.dm_2004", kGame), "mymod");
    EXPECT_EQ(GetGameTypeFromPath("c:\\games\\sof2\\base\\mp\\demos\\a.dm_2004", kGame), "base\\mp");
    // No game folder stored: everything from the second character on.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos\\a.dm_2004", ""), ":\\Games\\SOF2\\mymod");
}

TEST(GetGameTypeFromPath, EmptyForTheGameFoldersOwnDemosFolder) {
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\demos\\a.dm_2004", kGame), "");
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\demos", kGame), "");
    // "\demos" one character after the separator's place: a count of zero.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2X\\demos\\a.dm_2004", kGame), "");
    // The direct playback reads the same game type from the same path.
    const auto located = LocateDemoInGameFolder(kGame, "C:\\Games\\SOF2\\demos\\a.dm_2004");
    ASSERT_TRUE(located);
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\demos\\a.dm_2004", kGame), located->gameType);
}

TEST(GetGameTypeFromPath, NothingWhenNoGameTypeCanBeTaken) {
    // No "\demos" at all; the comparison is case-sensitive.
    EXPECT_FALSE(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\a.dm_2004", kGame));
    EXPECT_FALSE(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\Demos\\a.dm_2004", kGame));
    EXPECT_FALSE(GetGameTypeFromPath("", kGame));
    // "\demos" begins inside the first (game folder + 1) characters.
    EXPECT_FALSE(GetGameTypeFromPath("D:\\demos\\a.dm_2004", kGame));
    EXPECT_FALSE(GetGameTypeFromPath("C:\\Games\\demos\\SOF2\\a.dm_2004", kGame));
    // Right after a different folder of the game folder's length: no game folder's own demos.
    EXPECT_FALSE(GetGameTypeFromPath("D:\\Other\\Game\\demos\\a.dm_2004", kGame));
}

}  // namespace
}  // namespace reelwright
