#include "queue/DemoAdd.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/AppInfo.h"
#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

class DemoAddTest : public ::testing::Test, protected FakeServices {
protected:
    DemoAddTest() { store.Put(kSectionSettings, kKeyGamePath, "  C:\\Games\\SOF2 "); }

    void Choose(std::string selection, std::string fileTitle = "") {
        prompts.openFileAnswers.push_back(OpenFileResult{std::move(selection), std::move(fileTitle)});
    }

    DemoQueue queue;
};

TEST_F(DemoAddTest, AsksWithTheDemoFilterInTheTrimmedGameFolder) {
    AddDemos(services, queue);
    EXPECT_EQ(journal.entries, (Strings{"get Settings/SOF2 Path", "openfile Add SOF2 Demo Files for viewing..."}));
    ASSERT_EQ(prompts.openFileRequests.size(), 1u);
    const OpenFileRequest& request = prompts.openFileRequests[0];
    EXPECT_EQ(request.filterDescription, "SOF2 Demo Files (*.dm_2004)");
    EXPECT_EQ(request.filterPattern, "*.dm_2004");
    EXPECT_EQ(request.initialFolder, "C:\\Games\\SOF2");
    EXPECT_TRUE(request.allowMultiSelect);
    EXPECT_TRUE(request.fileMustExist);
    // Cancelled: nothing added, nothing shown.
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DemoAddTest, OneFileGetsItsTitleGameTypeAndFullPath) {
    Choose("C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004", "ctf1.dm_2004");
    const AddDemosResult result = AddDemos(services, queue);
    EXPECT_EQ(result.added, 1u);
    EXPECT_EQ(queue.Entries(), (std::vector<DemoQueueEntry>{
                                   {"ctf1.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos\\ctf1.dm_2004"}}));
}

TEST_F(DemoAddTest, SeveralFilesKeepTheDialogsOrderAndTheFolderAsPath) {
    queue.Append({"old.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos\\old.dm_2004"});
    Choose("C:\\Games\\SOF2\\mymod\\demos\0b.dm_2004\0a.dm_2004"s);
    AddDemos(services, queue);
    EXPECT_EQ(queue.Entries(), (std::vector<DemoQueueEntry>{
                                   {"old.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos\\old.dm_2004"},
                                   {"b.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos"},
                                   {"a.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos"}}));
}

TEST_F(DemoAddTest, TheSameFileTwiceGivesTwoEqualEntries) {
    Choose("C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004", "duel.dm_2004");
    Choose("C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004", "duel.dm_2004");
    AddDemos(services, queue);
    AddDemos(services, queue);
    ASSERT_EQ(queue.Count(), 2u);
    EXPECT_EQ(queue.At(1), queue.At(2));
    EXPECT_EQ(queue.At(2).GameType, "base\\mp");
}

TEST_F(DemoAddTest, TwoPiecesAddNothing) {
    Choose("C:\\Games\\SOF2\\mymod\\demos\0a.dm_2004"s, "a.dm_2004");
    EXPECT_EQ(AddDemos(services, queue).added, 0u);
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DemoAddTest, WithoutGameFolderEveryFileIsRefusedAndTheBoxSaysToLocateItFirst) {
    store.Put(kSectionSettings, kKeyGamePath, "   ");
    Choose("C:\\Games\\SOF2\\mymod\\demos\\a.dm_2004", "a.dm_2004");
    const AddDemosResult result = AddDemos(services, queue);
    EXPECT_EQ(prompts.openFileRequests.at(0).initialFolder, "");
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(result.refused, (std::vector<RefusedDemoFile>{{"C:\\Games\\SOF2\\mymod\\demos\\a.dm_2004",
                                                              DemoRefusal::NoGameFolder}}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "No demo files were added to the queue, because the location of your SOF2 folder is not set.\r\n\r\n"
              "Locate your SOF2 folder first with File > Locate SOF2.exe File, then add the demos again.");
}

TEST_F(DemoAddTest, DemosInSubFoldersAreNamedRelativeToTheirDemosFolder) {
    Choose("C:\\Games\\SOF2\\mymod\\demos\\sub\\a.dm_2004", "a.dm_2004");
    // Several files chosen two levels below a demos folder.
    Choose("C:\\Games\\SOF2\\base\\mp\\demos\\2026\\june\0b.dm_2004\0c.dm_2004"s);
    AddDemos(services, queue);
    AddDemos(services, queue);
    EXPECT_EQ(queue.Entries(),
              (std::vector<DemoQueueEntry>{
                  {"sub\\a.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos\\sub\\a.dm_2004"},
                  {"2026\\june\\b.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos\\2026\\june"},
                  {"2026\\june\\c.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos\\2026\\june"}}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DemoAddTest, LetterCaseOfTheGameFolderAndItsTrailingSeparatorDoNotMatter) {
    store.Put(kSectionSettings, kKeyGamePath, "C:\\Games\\SOF2\\");
    Choose("c:\\GAMES\\sof2\\MyMod\\demos\\a.dm_2004", "a.dm_2004");
    AddDemos(services, queue);
    ASSERT_EQ(queue.Count(), 1u);
    // The game type keeps the letters of the path: it names the folder.
    EXPECT_EQ(queue.At(1).GameType, "MyMod");
    EXPECT_EQ(queue.At(1).Name, "a.dm_2004");
    // The dialog opens in the folder as stored.
    EXPECT_EQ(prompts.openFileRequests.at(0).initialFolder, "C:\\Games\\SOF2\\");
}

// The chosen paths count where their "." and ".." steps lead.
TEST_F(DemoAddTest, DotStepsInChosenPathsAreResolvedBeforeTheInsideTest) {
    Choose("C:\\Games\\SOF2\\..\\..\\Users\\me\\demos\\a.dm_2004", "a.dm_2004");
    Choose("C:\\Games\\SOF2\\base\\..\\mymod\\.\\demos\0b.dm_2004\0c.dm_2004"s);
    AddDemos(services, queue);
    const AddDemosResult result = AddDemos(services, queue);
    EXPECT_EQ(queue.Entries(), (std::vector<DemoQueueEntry>{
                                   {"b.dm_2004", "mymod", "C:\\Games\\SOF2\\base\\..\\mymod\\.\\demos"},
                                   {"c.dm_2004", "mymod", "C:\\Games\\SOF2\\base\\..\\mymod\\.\\demos"}}));
    EXPECT_EQ(result.added, 2u);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].text.find("does not lie inside your SOF2 folder"), std::string::npos);
}

TEST_F(DemoAddTest, AGameFolderAtADriveRootHoldsItsDemos) {
    store.Put(kSectionSettings, kKeyGamePath, "D:\\");
    Choose("D:\\base\\mp\\demos\\duel.dm_2004", "duel.dm_2004");
    Choose("D:\\\0a.dm_2004\0b.dm_2004"s);  // several files right in the root: no demos folder
    AddDemos(services, queue);
    const AddDemosResult result = AddDemos(services, queue);
    EXPECT_EQ(queue.Entries(), (std::vector<DemoQueueEntry>{{"duel.dm_2004", "base\\mp", "D:\\base\\mp\\demos\\duel.dm_2004"}}));
    EXPECT_EQ(result.refused, (std::vector<RefusedDemoFile>{{"D:\\a.dm_2004", DemoRefusal::NoDemosFolder},
                                                              {"D:\\b.dm_2004", DemoRefusal::NoDemosFolder}}));
}

TEST_F(DemoAddTest, DemoInTheGameFoldersOwnDemosFolderHasTheEmptyGameType) {
    Choose("C:\\Games\\SOF2\\demos\\a.dm_2004", "a.dm_2004");
    AddDemos(services, queue);
    ASSERT_EQ(queue.Count(), 1u);
    EXPECT_EQ(queue.At(1).GameType, "");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DemoAddTest, RefusedFilesAreNamedWithTheirReasonInOneMessageAndOthersStay) {
    queue.Append({"kept.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"});
    // Long enough that the old rule took a game type from its length alone.
    Choose("D:\\Some\\Long\\Folder\\Name\\demos\\a.dm_2004", "a.dm_2004");
    AddDemos(services, queue);
    Choose("C:\\Games\\SOF2\\mymod\\Demos\0b.dm_2004\0c.dm_2004"s);
    const AddDemosResult result = AddDemos(services, queue);

    EXPECT_EQ(queue.Count(), 1u);
    EXPECT_EQ(result.refused,
              (std::vector<RefusedDemoFile>{{"C:\\Games\\SOF2\\mymod\\Demos\\b.dm_2004", DemoRefusal::NoDemosFolder},
                                            {"C:\\Games\\SOF2\\mymod\\Demos\\c.dm_2004", DemoRefusal::NoDemosFolder}}));
    ASSERT_EQ(prompts.messages.size(), 2u);  // one per Add
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error adding demos");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(prompts.messages[0].text,
              "This demo file was not added to the queue, because it does not lie inside your SOF2 folder, "
              "C:\\Games\\SOF2:\r\n\r\nD:\\Some\\Long\\Folder\\Name\\demos\\a.dm_2004\r\n\r\n"
              "You must have the demos in a demos folder inside your SOF2 folder.\r\n"
              "By default this will be your base/mp/demos folder.");
    EXPECT_EQ(prompts.messages[1].text,
              "These demo files were not added to the queue, because they do not lie in a folder named demos "
              "inside your SOF2 folder:\r\n\r\nC:\\Games\\SOF2\\mymod\\Demos\\b.dm_2004\r\n"
              "C:\\Games\\SOF2\\mymod\\Demos\\c.dm_2004\r\n\r\n"
              "You must have the demos in a demos folder inside your SOF2 folder.\r\n"
              "By default this will be your base/mp/demos folder.");
}

TEST_F(DemoAddTest, LongListsOfRefusedFilesAreCutShort) {
    AddDemosResult result;
    for (int i = 0; i < 25; ++i)
        result.refused.push_back({"D:\\x\\" + std::to_string(i) + ".dm_2004", DemoRefusal::OutsideGameFolder});
    const std::string text = NotAddedMessage(result, "C:\\Games\\SOF2");
    EXPECT_NE(text.find("D:\\x\\19.dm_2004"), std::string::npos);
    EXPECT_EQ(text.find("D:\\x\\20.dm_2004"), std::string::npos);
    EXPECT_NE(text.find("... and 5 more."), std::string::npos);
    EXPECT_EQ(NotAddedMessage(AddDemosResult{}, "C:\\Games\\SOF2"), "");
}

TEST_F(DemoAddTest, AFullQueueRefusesTheRestWithAMessageAndKeepsWhatItHolds) {
    for (std::size_t i = 0; i < DemoQueue::kMaxEntries - 1; ++i)
        ASSERT_TRUE(queue.Append({"q.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"}));
    Choose("C:\\Games\\SOF2\\mymod\\demos\0a.dm_2004\0b.dm_2004\0c.dm_2004"s);
    const AddDemosResult result = AddDemos(services, queue);

    EXPECT_EQ(result.added, 1u);
    EXPECT_EQ(result.beyondLimit, 2u);
    ASSERT_EQ(queue.Count(), DemoQueue::kMaxEntries);
    EXPECT_EQ(queue.At(1).Name, "q.dm_2004");
    EXPECT_EQ(queue.At(DemoQueue::kMaxEntries).Name, "a.dm_2004");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error adding demos");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(prompts.messages[0].text.find("at most 32767 demos, so 2 chosen demo files were not added."),
              std::string::npos);
}

TEST_F(DemoAddTest, EveryReasonSharesOneMessage) {
    AddDemosResult result;
    result.refused = {{"D:\\x\\a.dm_2004", DemoRefusal::OutsideGameFolder},
                      {"C:\\Games\\SOF2\\\\demos\\e.dm_2004", DemoRefusal::EmptyFolderName},
                      {"C:\\Games\\SOF2\\mymod\\n.dm_2004", DemoRefusal::NoDemosFolder}};
    result.beyondLimit = 1;
    const std::string text = NotAddedMessage(result, "C:\\Games\\SOF2");
    const auto outside = text.find("inside your SOF2 folder, C:\\Games\\SOF2:\r\n\r\nD:\\x\\a.dm_2004");
    const auto noDemos = text.find("folder named demos inside your SOF2 folder:\r\n\r\nC:\\Games\\SOF2\\mymod\\n.dm_2004");
    const auto empty = text.find("its path holds an empty folder name (\\\\):\r\n\r\nC:\\Games\\SOF2\\\\demos\\e.dm_2004");
    EXPECT_NE(outside, std::string::npos);
    EXPECT_NE(noDemos, std::string::npos);
    EXPECT_NE(empty, std::string::npos);
    EXPECT_LT(outside, noDemos);
    EXPECT_LT(noDemos, empty);
    EXPECT_NE(text.find("1 chosen demo file was not added."), std::string::npos);
}

TEST_F(DemoAddTest, AFailingStoreStopsAddBeforeTheDialog) {
    store.failingKeys.insert("Settings/SOF2 Path");
    EXPECT_THROW(AddDemos(services, queue), std::runtime_error);
    EXPECT_TRUE(prompts.openFileRequests.empty());
}

}  // namespace
}  // namespace reelwright
