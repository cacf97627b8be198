#include "queue/DemoAdd.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/AppInfo.h"
#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::testing;
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
    EXPECT_EQ(store.applicationsUsed, std::set<std::string>{AppKey()});
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

TEST_F(DemoAddTest, WithoutGameFolderTheDialogChoosesAndTheWholeLengthCountsAsEmpty) {
    store.Put(kSectionSettings, kKeyGamePath, "   ");
    Choose("C:\\Games\\SOF2\\mymod\\demos\\a.dm_2004", "a.dm_2004");
    AddDemos(services, queue);
    EXPECT_EQ(prompts.openFileRequests.at(0).initialFolder, "");
    ASSERT_EQ(queue.Count(), 1u);
    EXPECT_EQ(queue.At(1).GameType, ":\\Games\\SOF2\\mymod");
}

TEST_F(DemoAddTest, DemoInTheGameFoldersOwnDemosFolderHasTheEmptyGameType) {
    Choose("C:\\Games\\SOF2\\demos\\a.dm_2004", "a.dm_2004");
    AddDemos(services, queue);
    ASSERT_EQ(queue.Count(), 1u);
    EXPECT_EQ(queue.At(1).GameType, "");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DemoAddTest, FilesWithoutGameTypeAreNamedInOneMessageAndOthersStay) {
    queue.Append({"kept.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"});
    Choose("D:\\x\\a.dm_2004", "a.dm_2004");
    AddDemos(services, queue);
    Choose("C:\\Games\\SOF2\\mymod\\Demos\0b.dm_2004\0c.dm_2004"s);
    const AddDemosResult result = AddDemos(services, queue);

    EXPECT_EQ(queue.Count(), 1u);
    EXPECT_EQ(result.withoutGameType,
              (Strings{"C:\\Games\\SOF2\\mymod\\Demos\\b.dm_2004", "C:\\Games\\SOF2\\mymod\\Demos\\c.dm_2004"}));
    ASSERT_EQ(prompts.messages.size(), 2u);  // one per Add
    const MessageCall& message = prompts.messages[1];
    EXPECT_EQ(message.title, "Reelwright - Error adding demos");
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_NE(message.text.find("These demo files were not added"), std::string::npos);
    EXPECT_NE(message.text.find("\r\nC:\\Games\\SOF2\\mymod\\Demos\\b.dm_2004"
                                "\r\nC:\\Games\\SOF2\\mymod\\Demos\\c.dm_2004\r\n"),
              std::string::npos);
    EXPECT_NE(prompts.messages[0].text.find("This demo file was not added"), std::string::npos);
    EXPECT_NE(prompts.messages[0].text.find("\r\nD:\\x\\a.dm_2004\r\n"), std::string::npos);
}

TEST_F(DemoAddTest, LongListsOfRefusedFilesAreCutShort) {
    AddDemosResult result;
    for (int i = 0; i < 25; ++i) result.withoutGameType.push_back("D:\\x\\" + std::to_string(i) + ".dm_2004");
    const std::string text = NotAddedMessage(result);
    EXPECT_NE(text.find("D:\\x\\19.dm_2004"), std::string::npos);
    EXPECT_EQ(text.find("D:\\x\\20.dm_2004"), std::string::npos);
    EXPECT_NE(text.find("... and 5 more."), std::string::npos);
    EXPECT_EQ(NotAddedMessage(AddDemosResult{}), "");
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

TEST_F(DemoAddTest, BothReasonsShareOneMessage) {
    AddDemosResult result;
    result.withoutGameType = {"D:\\x\\a.dm_2004"};
    result.beyondLimit = 1;
    const std::string text = NotAddedMessage(result);
    EXPECT_NE(text.find("D:\\x\\a.dm_2004"), std::string::npos);
    EXPECT_NE(text.find("1 chosen demo file was not added."), std::string::npos);
}

TEST_F(DemoAddTest, AFailingStoreStopsAddBeforeTheDialog) {
    store.failingKeys.insert("Settings/SOF2 Path");
    EXPECT_THROW(AddDemos(services, queue), std::runtime_error);
    EXPECT_TRUE(prompts.openFileRequests.empty());
}

}  // namespace
}  // namespace reelwright
