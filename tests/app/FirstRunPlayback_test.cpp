// A demo opened from the shell before any game folder is stored.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/FirstRunSetup.h"
#include "app/MainWindowLoad.h"
#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

class FirstRunPlaybackTest : public ::testing::Test, protected FakeServices {
protected:
    FirstRunPlaybackTest() { files.files["C:\\Games\\SOF2\\SOF2MP.exe"] = ""; }

    LoadOutcome Load(std::string_view tail) {
        return RunMainWindowLoad(services, tail,
                                 [this](const std::string& folder) { return RunFirstRunSetup(services, folder); });
    }
};

TEST_F(FirstRunPlaybackTest, PlaysTheDemoOnceTheSetupStoredAFolder) {
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    EXPECT_EQ(Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\""), LoadOutcome::ShowWindow);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "C:\\Games\\SOF2\\SoF2MP.exe");
    EXPECT_EQ(shell.calls[0].parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo \"duel.dm_2004\"");
    EXPECT_EQ(shell.calls[0].directory, "C:\\Games\\SOF2");
    EXPECT_EQ(shell.calls[0].showMode, 3);
    // The game starts only after both prompts were answered.
    const auto& e = journal.entries;
    const auto question = std::find(e.begin(), e.end(), "message Reelwright - File Association");
    ASSERT_NE(question, e.end());
    EXPECT_EQ(e.back().rfind("shellopen ", 0), 0u);
}

TEST_F(FirstRunPlaybackTest, NothingStartsWhenTheSetupEndsWithoutAFolder) {
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    EXPECT_EQ(Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\""), LoadOutcome::ShowWindow);
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(FirstRunPlaybackTest, NothingStartsWhenTheFirstRunPromptIsCancelled) {
    prompts.messageAnswers = {MessageAnswer::Cancel};
    EXPECT_EQ(Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\""), LoadOutcome::EndProgram);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(FirstRunPlaybackTest, DemoOutsideTheChosenFolderShowsThePlaybackError) {
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    Load("\"D:\\x\\a.dm_2004\"");
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(prompts.messages.back().title, "Reelwright - Error playing demo.");
}

TEST_F(FirstRunPlaybackTest, StoredFolderPlaysBeforeAndOnlyOnce) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\"");
    EXPECT_EQ(shell.calls.size(), 1u);
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace reelwright
