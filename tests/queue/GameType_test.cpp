#include "queue/GameType.h"

#include <gtest/gtest.h>

#include "core/GameFolder.h"
#include "queue/DemoAdd.h"

namespace reelwright {
namespace {

const std::string kGame = "C:\\Games\\SOF2";

TEST(GetGameTypeFromPath, TakesTheFoldersBetweenGameFolderAndTheFirstDemosFolder) {
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004", kGame), "base\\mp");
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004", kGame), "mymod");
    // The folder of a multiple selection.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos", kGame), "mymod");
    // Only the first "demos" counts.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demos\\old\\demos\\a.dm_2004", kGame), "mymod");
    // A folder whose name merely begins with "demos" is not one.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\demoscenes\\x\\demos\\a.dm_2004", kGame), "demoscenes\\x");
    EXPECT_FALSE(GetGameTypeFromPath("C:\\Games\\SOF2\\mymod\\demoscenes\\a.dm_2004", kGame));
    // The game folder's own demos folder.
    EXPECT_EQ(GetGameTypeFromPath("C:\\Games\\SOF2\\demos\\a.dm_2004", kGame), "");
    // A "demos" inside the game folder's own path does not count.
    EXPECT_EQ(GetGameTypeFromPath("C:\\demos\\SOF2\\base\\mp\\demos\\a.dm_2004", "C:\\demos\\SOF2"), "base\\mp");
}

TEST(CheckDemoFileForQueue, NamesTheDemoRelativeToItsDemosFolder) {
    const DemoPlace deep = CheckDemoFileForQueue(kGame, "C:\\Games\\SOF2\\mymod\\demos\\sub\\two\\a.dm_2004");
    ASSERT_TRUE(deep.Accepted());
    EXPECT_EQ(deep.gameType, "mymod");
    EXPECT_EQ(deep.name, "sub\\two\\a.dm_2004");
}

TEST(CheckDemoFileForQueue, TheInsideTestIgnoresLetterCaseButNeedsASeparator) {
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "c:\\games\\sof2\\base\\mp\\demos\\a.dm_2004").gameType, "base\\mp");
    EXPECT_TRUE(CheckDemoFileForQueue(kGame, "C:\\GAMES\\SOF2\\demos\\a.dm_2004").Accepted());
    // A neighbour of the game folder.
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "C:\\Games\\SOF2X\\demos\\a.dm_2004").refusal,
              DemoRefusal::OutsideGameFolder);
    // Same length as the game folder, other letters: no longer taken by length.
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "D:\\Other\\Game\\mymod\\demos\\a.dm_2004").refusal,
              DemoRefusal::OutsideGameFolder);
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "").refusal, DemoRefusal::OutsideGameFolder);
    EXPECT_EQ(CheckDemoFileForQueue(kGame, kGame).refusal, DemoRefusal::OutsideGameFolder);
}

TEST(CheckDemoFileForQueue, TrailingSeparatorsAndDriveRoots) {
    for (const char* folder : {"C:\\Games\\SOF2\\", "C:\\Games\\SOF2\\\\", "C:\\Games\\SOF2/"})
        EXPECT_EQ(CheckDemoFileForQueue(folder, "C:\\Games\\SOF2\\mymod\\demos\\a.dm_2004").gameType, "mymod")
            << folder;
    const DemoPlace root = CheckDemoFileForQueue("D:\\", "D:\\base\\mp\\demos\\duel.dm_2004");
    ASSERT_TRUE(root.Accepted());
    EXPECT_EQ(root.gameType, "base\\mp");
    EXPECT_EQ(root.name, "duel.dm_2004");
    EXPECT_EQ(CheckDemoFileForQueue("D:", "d:\\demos\\a.dm_2004").gameType, "");
    EXPECT_EQ(CheckDemoFileForQueue("D:\\", "E:\\base\\mp\\demos\\a.dm_2004").refusal, DemoRefusal::OutsideGameFolder);
}

TEST(CheckDemoFileForQueue, RefusalsNameTheirReason) {
    for (const char* folder : {"", "\\", "//"})
        EXPECT_EQ(CheckDemoFileForQueue(folder, "C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004").refusal,
                  DemoRefusal::NoGameFolder);
    // No demos folder at all; the name is case-sensitive.
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "C:\\Games\\SOF2\\mymod\\a.dm_2004").refusal, DemoRefusal::NoDemosFolder);
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "C:\\Games\\SOF2\\mymod\\Demos\\a.dm_2004").refusal,
              DemoRefusal::NoDemosFolder);
    // The demos folder itself is no demo file.
    EXPECT_EQ(CheckDemoFileForQueue(kGame, "C:\\Games\\SOF2\\mymod\\demos").refusal, DemoRefusal::NoDemosFolder);
    // Empty components below the game folder.
    for (const char* path : {"C:\\Games\\SOF2\\\\base\\mp\\demos\\a.dm_2004", "C:\\Games\\SOF2\\base\\\\demos\\a.dm_2004",
                             "C:\\Games\\SOF2\\base\\mp\\demos\\\\a.dm_2004", "C:\\Games\\SOF2\\base\\mp\\demos\\"})
        EXPECT_EQ(CheckDemoFileForQueue(kGame, path).refusal, DemoRefusal::EmptyFolderName) << path;
    // A game folder on a network share begins with "\\" and is fine.
    EXPECT_EQ(CheckDemoFileForQueue("\\\\server\\games\\SOF2", "\\\\server\\games\\SOF2\\mymod\\demos\\a.dm_2004").gameType,
              "mymod");
}

// "." and ".." steps are resolved before the inside test, as the system
// resolves them when it opens the file: the text alone no longer decides.
TEST(CheckDemoFileForQueue, DotStepsCountWhereTheyLead) {
    const struct {
        const char* path;
        const char* folder;
        DemoRefusal refusal;
        const char* gameType;
        const char* name;
    } cases[] = {
        {"C:\\Games\\SOF2\\..\\..\\Users\\me\\demos\\a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::OutsideGameFolder, "", ""},
        {"C:\\Games\\SOF2\\base\\..\\..\\SOF2X\\demos\\a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::OutsideGameFolder, "", ""},
        {"C:\\Games\\SOF2\\x/../..\\Users/me/demos/a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::OutsideGameFolder, "", ""},
        {"C:\\Games\\SOF2\\mymod\\demos\\..", "C:\\Games\\SOF2", DemoRefusal::NoDemosFolder, "", ""},
        {"C:\\Games\\SOF2\\.\\base\\mp\\.\\demos\\a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::None, "base\\mp", "a.dm_2004"},
        {"C:\\Games\\SOF2\\mymod\\demos\\..\\..\\base\\mp\\demos\\x\\..\\a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::None,
         "base\\mp", "a.dm_2004"},
        // Outside by its text, inside where it leads.
        {"C:\\Games\\Other\\..\\SOF2\\mymod\\demos\\a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::None, "mymod", "a.dm_2004"},
        {"C:\\Games\\SOF2\\mymod\\demos\\a.dm_2004", "C:\\Games\\Tools\\..\\SOF2\\.", DemoRefusal::None, "mymod",
         "a.dm_2004"},
        // At a drive root ".." goes no higher.
        {"C:\\..\\..\\Games\\SOF2\\mymod\\demos\\a.dm_2004", "C:\\Games\\SOF2", DemoRefusal::None, "mymod", "a.dm_2004"},
        {"D:\\base\\..\\..\\..\\demos\\a.dm_2004", "D:\\", DemoRefusal::None, "", "a.dm_2004"},
        {"\\\\server\\games\\SOF2\\..\\..\\SOF2\\mymod\\demos\\a.dm_2004", "\\\\server\\games\\SOF2", DemoRefusal::None,
         "mymod", "a.dm_2004"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const DemoPlace place = CheckDemoFileForQueue(c.folder, c.path);
        EXPECT_EQ(place.refusal, c.refusal);
        if (c.refusal != DemoRefusal::None) continue;
        EXPECT_EQ(place.gameType, c.gameType);
        EXPECT_EQ(place.name, c.name);
    }
}

TEST(GameFolder, WithoutDotStepsKeepsRootsAndLeavesWhatItCannotResolve) {
    EXPECT_EQ(WithoutDotSteps("C:\\a\\.\\b\\..\\c"), "C:\\a\\c");
    EXPECT_EQ(WithoutDotSteps("C:\\a\\..\\..\\"), "C:\\");
    EXPECT_EQ(WithoutDotSteps("C:\\a\\b\\..\\"), "C:\\a\\");
    EXPECT_EQ(WithoutDotSteps("\\\\server\\share\\..\\x"), "\\\\server\\share\\x");
    EXPECT_EQ(WithoutDotSteps("\\a\\..\\..\\b"), "\\b");
    // Relative paths keep what climbs above them.
    EXPECT_EQ(WithoutDotSteps("a\\..\\..\\b"), "..\\b");
    EXPECT_EQ(WithoutDotSteps("C:a\\..\\..\\b"), "C:..\\b");
    // Left as they are, but for "/".
    EXPECT_EQ(WithoutDotSteps("C:\\a\\\\..\\b"), "C:\\a\\\\..\\b");
    EXPECT_EQ(WithoutDotSteps("\\\\?\\C:\\a\\..\\b"), "\\\\?\\C:\\a\\..\\b");
    EXPECT_EQ(WithoutDotSteps("//server"), "\\\\server");
    EXPECT_EQ(WithoutDotSteps(""), "");
}

TEST(GameFolder, JoiningAndGameFormsOfTheStoredFolder) {
    EXPECT_EQ(GameFolderForJoining("D:\\"), "D:");
    EXPECT_EQ(GameFolderForJoining("C:\\Games\\SOF2\\"), "C:\\Games\\SOF2");
    EXPECT_EQ(GameFolderForJoining("C:\\Games\\SOF2"), "C:\\Games\\SOF2");
    EXPECT_EQ(GameFolderForGame("D:\\"), "D:\\");
    EXPECT_EQ(GameFolderForGame("D:"), "D:\\");
    EXPECT_EQ(GameFolderForGame("C:\\Games\\SOF2\\"), "C:\\Games\\SOF2");
    EXPECT_EQ(GameFolderForGame("\\"), "");
}

TEST(GameFolder, JoinsANameWithOneSeparator) {
    EXPECT_EQ(JoinFolder("D:\\", "SOF2MP.exe"), "D:\\SOF2MP.exe");
    EXPECT_EQ(JoinFolder("C:\\Games\\SOF2", "base\\mp"), "C:\\Games\\SOF2\\base\\mp");
    EXPECT_EQ(JoinFolder("\\\\server\\share\\", "a.dm_2004"), "\\\\server\\share\\a.dm_2004");
}

}  // namespace
}  // namespace reelwright
