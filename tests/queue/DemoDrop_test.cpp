#include "queue/DemoDrop.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/AppInfo.h"
#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

struct DroppedDemoFiles {
    Strings demos;  // in the order they are found
    std::size_t notDemos = 0;
};

// Every demo file the walk finds.
DroppedDemoFiles ExpandDroppedPaths(FileSystem& files, std::string_view gameFolder, const Strings& dropped) {
    DroppedDemoFiles result;
    result.notDemos = WalkDroppedPaths(files, gameFolder, dropped, [&](const std::string& path) {
                          result.demos.push_back(path);
                          return true;
                      }).notDemos;
    return result;
}

constexpr const char* kGame = "C:\\Games\\SOF2";
constexpr const char* kDemos = "C:\\Games\\SOF2\\base\\mp\\demos";

class DemoDropTest : public ::testing::Test, protected FakeServices {
protected:
    DemoDropTest() { store.Put(kSectionSettings, kKeyGamePath, kGame); }

    void Folder(const std::string& path) { files.folders.insert(path); }
    void File(const std::string& path) { files.files[path] = ""; }
    Strings Listed() const {
        Strings listed;
        for (const auto& entry : journal.entries)
            if (entry.rfind("list ", 0) == 0) listed.push_back(entry.substr(5));
        return listed;
    }
    Strings Names() const {
        Strings names;
        for (const auto& entry : queue.Entries()) names.push_back(entry.Name);
        return names;
    }

    DemoQueue queue;
};

TEST_F(DemoDropTest, AFolderGivesItsFilesInNaturalOrderThenItsSubFoldersDepthFirst) {
    const std::string top = kDemos;
    Folder(top);
    for (const char* name : {"demo10.dm_2004", "demo2.dm_2004", "Demo1.DM_2004", "notes.txt", "demo3.dm_2004.bak"})
        File(top + "\\" + name);
    Folder(top + "\\round10");
    Folder(top + "\\round2");
    Folder(top + "\\round2\\inner");
    Folder(top + "\\empty");
    File(top + "\\round10\\z.dm_2004");
    File(top + "\\round2\\b.dm_2004");
    File(top + "\\round2\\inner\\c.dm_2004");
    File(top + "\\round2\\a.Dm_2004");
    Folder(top + "\\folder.dm_2004");  // a folder, whatever its name
    File(top + "\\folder.dm_2004\\f.dm_2004");

    const DroppedDemoFiles found = ExpandDroppedPaths(files, kGame, {top});
    EXPECT_EQ(found.demos, (Strings{top + "\\Demo1.DM_2004", top + "\\demo2.dm_2004", top + "\\demo10.dm_2004",
                                    top + "\\folder.dm_2004\\f.dm_2004", top + "\\round2\\a.Dm_2004",
                                    top + "\\round2\\b.dm_2004", top + "\\round2\\inner\\c.dm_2004",
                                    top + "\\round10\\z.dm_2004"}));
    // Files inside dropped folders that are not demos are not counted.
    EXPECT_EQ(found.notDemos, 0u);
}

TEST_F(DemoDropTest, DroppedItemsKeepTheirOrderAndDroppedNonDemosAreCounted) {
    const std::string top = kDemos;
    Folder(top + "\\b");
    File(top + "\\b\\x.dm_2004");
    File(top + "\\z.dm_2004");
    File(top + "\\readme.txt");
    File(top + "\\a.dm_2004");
    const DroppedDemoFiles found = ExpandDroppedPaths(
        files, kGame,
        {top + "\\z.dm_2004", top + "\\readme.txt", top + "\\b", top + "\\a.dm_2004", top + "\\shot.jpg"});
    EXPECT_EQ(found.demos, (Strings{top + "\\z.dm_2004", top + "\\b\\x.dm_2004", top + "\\a.dm_2004"}));
    EXPECT_EQ(found.notDemos, 2u);
}

TEST_F(DemoDropTest, AFolderThatCannotBeReadAddsNothingAndADriveRootHasNoDoubleSeparator) {
    Folder("D:\\");
    File("D:\\a.dm_2004");
    Folder("D:\\locked");
    File("D:\\locked\\b.dm_2004");
    files.failingPaths.insert("D:\\locked");
    EXPECT_EQ(ExpandDroppedPaths(files, "D:\\", {"D:\\"}).demos, (Strings{"D:\\a.dm_2004"}));
}

TEST_F(DemoDropTest, DropAddsByAddsRulesWithTheFullPathAndNamesRefusedFiles) {
    const std::string top = kDemos;
    Folder(top);
    File(top + "\\duel.dm_2004");
    File(top + "\\ctf.dm_2004");
    queue.Append({"old.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos"});

    const DropDemosResult result =
        DropDemos(services, queue, {top, "C:\\Elsewhere\\x.dm_2004", "C:\\Games\\SOF2\\mymod\\demos\\m.dm_2004",
                                    "C:\\Games\\SOF2\\base\\mp\\demos\\shot.jpg"});
    EXPECT_EQ(result.add.added, 3u);
    EXPECT_EQ(queue.Entries(), (std::vector<DemoQueueEntry>{
                                   {"old.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos"},
                                   {"ctf.dm_2004", "base\\mp", top + "\\ctf.dm_2004"},
                                   {"duel.dm_2004", "base\\mp", top + "\\duel.dm_2004"},
                                   {"m.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos\\m.dm_2004"}}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error adding demos");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(prompts.messages[0].text,
              "This demo file was not added to the queue, because it does not lie inside your SOF2 folder, "
              "C:\\Games\\SOF2:\r\n"
              "\r\nC:\\Elsewhere\\x.dm_2004"
              "\r\n\r\nYou must have the demos in a demos folder inside your SOF2 folder."
              "\r\nBy default this will be your base/mp/demos folder."
              "\r\n\r\n1 dropped file was skipped, because it is not a demo file (*.dm_2004).");
    // The settings were read before anything else.
    EXPECT_EQ(journal.entries.front(), "get Settings/SOF2 Path");
}

TEST_F(DemoDropTest, OnlyNonDemosDroppedSaysSoInOneLine) {
    DropDemos(services, queue, {"C:\\a.txt", "C:\\b.jpg"});
    EXPECT_TRUE(queue.Empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "2 dropped files were skipped, because they are not demo files (*.dm_2004).");
}

TEST_F(DemoDropTest, EverythingAddedShowsNothing) {
    const DropDemosResult result = DropDemos(services, queue, {std::string(kDemos) + "\\a.dm_2004"});
    EXPECT_TRUE(result.AllAdded());
    EXPECT_EQ(queue.Count(), 1u);
    EXPECT_TRUE(prompts.messages.empty());
}

// The walk stops at the first demo the queue has no room for: the folders
// after it are not listed.
TEST_F(DemoDropTest, AFullQueueStopsTheWalk) {
    const std::string top = kDemos;
    for (const char* sub : {"\\a", "\\b", "\\c"}) {
        Folder(top + sub);
        for (int i = 0; i < 3; ++i) File(top + sub + "\\d" + std::to_string(i) + ".dm_2004");
    }
    Folder(top);
    File("C:\\Games\\SOF2\\mymod\\demos\\late.dm_2004");
    for (std::size_t i = 0; i < DemoQueue::kMaxEntries - 4; ++i) queue.Append({"q", "base\\mp", top});

    const DropDemosResult result =
        DropDemos(services, queue, {top, "C:\\Games\\SOF2\\mymod\\demos\\late.dm_2004"});
    EXPECT_EQ(result.add.added, 4u);
    EXPECT_TRUE(result.queueFull);
    EXPECT_EQ(queue.Count(), DemoQueue::kMaxEntries);
    EXPECT_EQ(queue.At(DemoQueue::kMaxEntries).Name, "b\\d0.dm_2004");
    EXPECT_EQ(Listed(), (Strings{top, top + "\\a", top + "\\b"}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "The queue holds at most 32767 demos, so the rest of the dropped demo files were not added.");
}

// Dropping a drive enters only the folders on the way to the game folder and
// those inside it; a tree outside the game folder is listed at its top only.
TEST_F(DemoDropTest, ADropWalksOnlyInsideTheGameFolderOrOnTheWayToIt) {
    Folder("C:\\");
    File("C:\\top.dm_2004");
    Folder("C:\\Windows");
    Folder("C:\\Windows\\demos");
    File("C:\\Windows\\demos\\w.dm_2004");
    Folder("C:\\Games");
    Folder("C:\\Games\\Other");
    File("C:\\Games\\Other\\o.dm_2004");
    Folder("C:\\Games\\SOF2X");
    Folder(kGame);
    for (const char* folder : {"\\base", "\\base\\mp", "\\base\\mp\\demos", "\\mymod", "\\mymod\\demos"})
        Folder(std::string(kGame) + folder);
    File(std::string(kDemos) + "\\d.dm_2004");
    File(std::string(kGame) + "\\mymod\\demos\\e.dm_2004");
    Folder("E:\\stuff");
    File("E:\\stuff\\x.dm_2004");
    for (int i = 0; i < 50; ++i) {
        Folder("E:\\stuff\\deep" + std::to_string(i));
        File("E:\\stuff\\deep" + std::to_string(i) + "\\y.dm_2004");
    }

    prompts.messageAnswers.push_back(MessageAnswer::No);  // no copies: refused as before
    const DropDemosResult result = DropDemos(services, queue, {"C:\\", "E:\\stuff"});
    EXPECT_EQ(Listed(), (Strings{"C:\\", "C:\\Games", kGame, std::string(kGame) + "\\base",
                                 std::string(kGame) + "\\base\\mp", kDemos, std::string(kGame) + "\\mymod",
                                 std::string(kGame) + "\\mymod\\demos", "E:\\stuff"}));
    EXPECT_EQ(Names(), (Strings{"d.dm_2004", "e.dm_2004"}));
    EXPECT_EQ(result.add.refused, (std::vector<RefusedDemoFile>{{"C:\\top.dm_2004", DemoRefusal::OutsideGameFolder},
                                                              {"E:\\stuff\\x.dm_2004", DemoRefusal::OutsideGameFolder}}));
}

// A link (junction, symbolic link) is never entered, whether dropped or met
// on the way; a dropped one is told.
TEST_F(DemoDropTest, ALinkIsNotEntered) {
    const std::string top = kDemos;
    Folder(top);
    File(top + "\\a.dm_2004");
    Folder(top + "\\loop");
    File(top + "\\loop\\b.dm_2004");
    files.links.insert(top + "\\loop");
    Folder("C:\\Games\\SOF2\\mymod\\demos");
    File("C:\\Games\\SOF2\\mymod\\demos\\c.dm_2004");
    files.links.insert("C:\\Games\\SOF2\\mymod\\demos");

    const DropDemosResult result = DropDemos(services, queue, {"C:\\Games\\SOF2\\mymod\\demos", top});
    EXPECT_EQ(Names(), Strings{"a.dm_2004"});
    EXPECT_EQ(result.links, 1u);
    EXPECT_EQ(Listed(), (Strings{"C:\\Games\\SOF2\\mymod\\demos", top}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "1 dropped folder was skipped, because it is a link to another folder.");
}

// Dropped paths count where their "." and ".." steps lead, and rows show
// where that is.
TEST_F(DemoDropTest, DotStepsInDroppedPathsAreResolved) {
    Folder(kDemos);
    File(std::string(kDemos) + "\\a.dm_2004");
    Folder("C:\\Games\\SOF2\\mymod\\demos");
    File("C:\\Games\\SOF2\\mymod\\demos\\m.dm_2004");
    const DropDemosResult result = DropDemos(
        services, queue,
        {"C:\\Games\\SOF2\\..\\SOF2\\base\\mp\\demos\\.\\a.dm_2004", "C:\\Games\\SOF2\\..\\..\\Users\\me\\demos\\b.dm_2004",
         "C:\\Games\\SOF2\\base\\..\\mymod\\demos"});
    EXPECT_EQ(queue.Entries(), (std::vector<DemoQueueEntry>{
                                   {"a.dm_2004", "base\\mp", std::string(kDemos) + "\\a.dm_2004"},
                                   {"m.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos\\m.dm_2004"}}));
    EXPECT_EQ(result.add.refused,
              (std::vector<RefusedDemoFile>{{"C:\\Users\\me\\demos\\b.dm_2004", DemoRefusal::OutsideGameFolder}}));
}

TEST_F(DemoDropTest, WithoutAGameFolderNothingIsWalked) {
    store.Put(kSectionSettings, kKeyGamePath, "");
    Folder(kDemos);
    File(std::string(kDemos) + "\\a.dm_2004");
    const DropDemosResult result = DropDemos(services, queue, {kDemos});
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(result.add.refused, (std::vector<RefusedDemoFile>{{kDemos, DemoRefusal::NoGameFolder}}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.rfind("No demo files were added to the queue", 0), 0u);
}

TEST_F(DemoDropTest, AFailingSettingsStoreAddsNothing) {
    store.failingKeys.insert("Settings/SOF2 Path");
    EXPECT_THROW(DropDemos(services, queue, {std::string(kDemos) + "\\a.dm_2004"}), std::runtime_error);
    EXPECT_TRUE(queue.Empty());
}

TEST_F(DemoDropTest, TwoDemosFromElsewhereAreCopiedAfterOneQuestionAndQueued) {
    Folder(kDemos);
    Folder("D:\\Downloads");
    files.files["D:\\Downloads\\a.dm_2004"] = "not read as a demo: base\\mp";
    files.files["D:\\Downloads\\b.dm_2004"] = "another";
    files.files[std::string(kDemos) + "\\b.dm_2004"] = "other bytes";
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        prompts.messages.clear();
        prompts.messageAnswers = {answer};
        const DropDemosResult result = DropDemos(services, queue, {"D:\\Downloads"});
        ASSERT_FALSE(prompts.messages.empty());
        EXPECT_EQ(prompts.messages[0].title, "Reelwright - Copy demo");
        EXPECT_NE(prompts.messages[0].text.find("Copy them to these folders and queue them?"), std::string::npos);
        if (answer == MessageAnswer::No) {
            EXPECT_EQ(result.add.refused.size(), 2u);
            EXPECT_TRUE(queue.Empty());
            EXPECT_FALSE(files.files.count(std::string(kDemos) + "\\a.dm_2004"));
        } else {
            EXPECT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(Names(), (Strings{"a.dm_2004", "b_2.dm_2004"}));
            EXPECT_EQ(queue.At(2).Path, std::string(kDemos) + "\\b_2.dm_2004");
            EXPECT_EQ(files.files.at(std::string(kDemos) + "\\b_2.dm_2004"), "another");
            EXPECT_EQ(files.files.at(std::string(kDemos) + "\\b.dm_2004"), "other bytes");
        }
    }
}

}  // namespace
}  // namespace reelwright
