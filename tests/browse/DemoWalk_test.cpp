#include "browse/DemoWalk.h"

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

constexpr const char* kGame = "C:\\Games\\SOF2";

class DemoWalkTest : public ::testing::Test {
protected:
    // The fake lists the sub-folders it was told of: each file's folders are.
    void File(const std::string& below, std::uint64_t written = 0) {
        const std::string path = std::string(kGame) + "\\" + below;
        files.files[path] = "0123";
        files.writeTimes[path] = written;
        for (std::size_t slash = path.rfind('\\'); slash > std::string(kGame).size(); slash = path.rfind('\\', slash - 1))
            files.folders.insert(path.substr(0, slash));
    }
    void Folder(const std::string& below) { File(below + "\\x.txt"); }

    // Every demo the walk of each demos folder finds, as "<game type>|<name>".
    Strings WalkAll() {
        Strings found;
        for (const std::string& demos : FindDemosFolders(files, kGame))
            WalkDemoTree(files, kGame, demos, [&](ListedFolder&& listed) {
                for (const FoundDemo& demo : listed.demos) found.push_back(demo.gameType + "|" + demo.name);
            });
        return found;
    }

    FakeFileSystem files;
};

TEST_F(DemoWalkTest, FindsTheDemosFoldersOfTheGameAndEveryModButNotDeeperOrDifferentlyCased) {
    Folder("base\\mp\\demos");
    Folder("mymod\\demos");
    Folder("demos");
    Folder("other\\Demos");           // the queue's rule: exactly "demos"
    Folder("a\\b\\c\\demos");         // too deep to be a game type
    Folder("linked\\demos");
    files.links.insert(std::string(kGame) + "\\linked");
    EXPECT_EQ(FindDemosFolders(files, kGame),
              (Strings{"C:\\Games\\SOF2\\demos", "C:\\Games\\SOF2\\base\\mp\\demos", "C:\\Games\\SOF2\\mymod\\demos"}));
    EXPECT_TRUE(FindDemosFolders(files, "  ").empty());
}

TEST_F(DemoWalkTest, WalksSubFoldersNamesRelativeToDemosAndLeavesOutOtherFilesAndLinks) {
    File("base\\mp\\demos\\duel.dm_2004", 7);
    File("base\\mp\\demos\\NOTES.txt");
    File("base\\mp\\demos\\Loud.DM_2004");
    File("base\\mp\\demos\\cup\\final.dm_2004");
    File("base\\mp\\demos\\cup\\2026\\semi.dm_2004");
    File("base\\mp\\demos\\elsewhere\\hidden.dm_2004");
    files.links.insert(std::string(kGame) + "\\base\\mp\\demos\\elsewhere");
    File("mymod\\demos\\ctf.dm_2004");
    File("base\\mp\\stray.dm_2004");  // in no demos folder

    Strings found = WalkAll();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Strings{"base\\mp|Loud.DM_2004", "base\\mp|cup\\2026\\semi.dm_2004", "base\\mp|cup\\final.dm_2004",
                              "base\\mp|duel.dm_2004", "mymod|ctf.dm_2004"}));

    const auto listed = ListDemoFolder(files, kGame, std::string(kGame) + "\\base\\mp\\demos");
    ASSERT_TRUE(listed);
    const auto duel = std::find_if(listed->demos.begin(), listed->demos.end(),
                                   [](const FoundDemo& demo) { return demo.name == "duel.dm_2004"; });
    ASSERT_NE(duel, listed->demos.end());
    EXPECT_EQ(duel->path, "C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004");
    EXPECT_EQ(duel->stamp, (FileStamp{4, 7}));
}

TEST_F(DemoWalkTest, AStopEndsTheWalkBetweenFolders) {
    File("base\\mp\\demos\\a\\one.dm_2004");
    File("base\\mp\\demos\\b\\two.dm_2004");
    std::stop_source stop;
    int listings = 0;
    EXPECT_FALSE(WalkDemoTree(
        files, kGame, std::string(kGame) + "\\base\\mp\\demos",
        [&](ListedFolder&&) {
            ++listings;
            stop.request_stop();
        },
        stop.get_token()));
    EXPECT_EQ(listings, 1);
}

}  // namespace
}  // namespace reelwright
