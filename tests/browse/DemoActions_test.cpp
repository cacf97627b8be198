#include "browse/DemoActions.h"

#include <gtest/gtest.h>

#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

constexpr const char* kGame = "C:\\Games\\SOF2";
constexpr const char* kDemos = "C:\\Games\\SOF2\\base\\mp\\demos";

std::string Demo(const std::string& name) { return std::string(kDemos) + "\\" + name; }

class DemoActionsTest : public ::testing::Test, protected FakeServices {
protected:
    DemoActionsTest() {
        store.Put(kSectionSettings, kKeyGamePath, kGame);
        files.Put(Demo("duel.dm_2004"), "x");
        files.Put(Demo("taken.dm_2004"), "x");
        files.folders.insert(Demo("folder.dm_2004"));
    }
    RenameCheck Check(const std::string& newName) {
        return CheckDemoRename(files, [this](std::string_view text) { return shell.FitsAnsiCodePage(std::string(text)); },
                               Demo("duel.dm_2004"), newName);
    }
};

struct RenameCase {
    const char* newName;
    RenameProblem problem;
};

class DemoRenameRule : public DemoActionsTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(DemoRenameRule, ANewNameEndsInTheDemoTypeReplacesNothingAndIsOneTheConsoleTakes) {
    const RenameCheck check = Check(GetParam().newName);
    EXPECT_EQ(check.problem, GetParam().problem) << GetParam().newName;
    if (check.problem != RenameProblem::None && check.problem != RenameProblem::Unchanged) {
        EXPECT_FALSE(RenameProblemText(check, GetParam().newName).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DemoRenameRule,
    ::testing::Values(RenameCase{"final_2026.dm_2004", RenameProblem::None},
                      RenameCase{"Final.DM_2004", RenameProblem::None},
                      RenameCase{"DUEL.dm_2004", RenameProblem::None},  // letter case alone
                      RenameCase{"duel.dm_2004", RenameProblem::Unchanged},
                      RenameCase{"final.txt", RenameProblem::NotDemoName},
                      RenameCase{"final", RenameProblem::NotDemoName}, RenameCase{".dm_2004", RenameProblem::NotDemoName},
                      RenameCase{"", RenameProblem::NotDemoName},
                      RenameCase{"cup\\final.dm_2004", RenameProblem::FileNameCharacter},
                      RenameCase{"a:b.dm_2004", RenameProblem::FileNameCharacter},
                      RenameCase{"what?.dm_2004", RenameProblem::FileNameCharacter},
                      RenameCase{"final.dm_2004.", RenameProblem::FileNameCharacter},
                      RenameCase{"taken.dm_2004", RenameProblem::NameExists},
                      RenameCase{"folder.dm_2004", RenameProblem::NameExists},
                      RenameCase{"my final.dm_2004", RenameProblem::ConsoleName},
                      RenameCase{"a;b.dm_2004", RenameProblem::ConsoleName},
                      RenameCase{"a+b.dm_2004", RenameProblem::ConsoleName},
                      RenameCase{"café.dm_2004", RenameProblem::ConsoleName},
                      RenameCase{"決勝.dm_2004", RenameProblem::ConsoleName}));

TEST_F(DemoActionsTest, AQueuedDemoFollowsItsNewNameAndKeepsItsPlaceAndId) {
    DemoQueue queue;
    queue.Append({"taken.dm_2004", "base\\mp", Demo("taken.dm_2004")});
    queue.Append({"duel.dm_2004", "base\\mp", Demo("duel.dm_2004")});  // added alone: its path
    queue.Append({"duel.dm_2004", "base\\mp", kDemos});                // added with others: its folder
    queue.Append({"duel.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos"});  // another file of that name
    const auto id = queue.IdAt(1);

    EXPECT_EQ(FollowRenamedDemo(queue, kGame, "C:\\Games\\sof2\\base\\mp\\demos\\DUEL.dm_2004", Demo("final.dm_2004")),
              2u);
    EXPECT_EQ(queue.Entries()[0].Name, "taken.dm_2004");
    EXPECT_EQ(queue.Entries()[1], (DemoQueueEntry{"final.dm_2004", "base\\mp", Demo("final.dm_2004")}));
    EXPECT_EQ(queue.Entries()[2], (DemoQueueEntry{"final.dm_2004", "base\\mp", kDemos}));
    EXPECT_EQ(queue.Entries()[3].Name, "duel.dm_2004");
    EXPECT_EQ(queue.IdAt(1), id);
}

TEST_F(DemoActionsTest, DeletedDemosLeaveTheQueueAndTheOthersKeepTheirOrder) {
    DemoQueue queue;
    queue.Append({"a.dm_2004", "base\\mp", Demo("a.dm_2004")});
    queue.Append({"b.dm_2004", "base\\mp", kDemos});
    queue.Append({"c.dm_2004", "base\\mp", Demo("c.dm_2004")});
    queue.Append({"b.dm_2004", "base\\mp", Demo("b.dm_2004")});
    EXPECT_EQ(RemoveDeletedDemos(queue, kGame, {Demo("B.DM_2004"), Demo("x.dm_2004")}), 2u);
    ASSERT_EQ(queue.Count(), 2u);
    EXPECT_EQ(queue.Entries()[0].Name, "a.dm_2004");
    EXPECT_EQ(queue.Entries()[1].Name, "c.dm_2004");
    EXPECT_EQ(DeleteQuestionText({"a.dm_2004"}), "Move the demo \"a.dm_2004\" to the Recycle Bin?");
    EXPECT_EQ(DeleteQuestionText({"a.dm_2004", "b.dm_2004"}), "Move these 2 demos to the Recycle Bin?");
}

TEST_F(DemoActionsTest, AddsInTheGivenOrderByAddsRulesUpToTheQueuesLimit) {
    DemoQueue queue;
    for (std::size_t index = 0; index + 2 < DemoQueue::kMaxEntries; ++index) queue.Append({"q.dm_2004", "base\\mp", "q"});
    const AddDemosResult result = AddBrowsedDemos(
        services, queue, {Demo("b.dm_2004"), "C:\\Elsewhere\\x.dm_2004", Demo("cup\\a.dm_2004"), Demo("c.dm_2004")});
    EXPECT_EQ(result.added, 2u);
    EXPECT_EQ(result.beyondLimit, 1u);
    ASSERT_EQ(result.refused.size(), 1u);
    EXPECT_EQ(queue.Entries()[queue.Count() - 2], (DemoQueueEntry{"b.dm_2004", "base\\mp", Demo("b.dm_2004")}));
    EXPECT_EQ(queue.Entries().back(), (DemoQueueEntry{"cup\\a.dm_2004", "base\\mp", Demo("cup\\a.dm_2004")}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, kAddErrorTitle);
    EXPECT_NE(prompts.messages[0].text.find("The queue holds at most 32767 demos"), std::string::npos);

    prompts.messages.clear();
    DemoQueue empty;
    EXPECT_EQ(AddBrowsedDemos(services, empty, {Demo("b.dm_2004")}).added, 1u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DemoActionsTest, ShowInFolderAsksTheShellAndTellsWhyItFailed) {
    ShowDemoInFolder(services, Demo("duel.dm_2004"));
    EXPECT_EQ(shell.shownInFolder, std::vector<std::string>{Demo("duel.dm_2004")});
    EXPECT_TRUE(prompts.messages.empty());

    shell.error = 2;
    ShowDemoInFolder(services, Demo("gone.dm_2004"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, kShowInFolderTitle);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(prompts.messages[0].text, "The folder of \"" + Demo("gone.dm_2004") +
                                            "\" could not be shown: System text of error 2.");
}

}  // namespace
}  // namespace reelwright
