#include "app/FirstRunSetup.h"

#include <gtest/gtest.h>

#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

class FirstRunSetupTest : public ::testing::Test, protected FakeServices {
protected:
    FirstRunSetupTest() {
        files.files["C:\\Games\\SOF2\\SOF2MP.exe"] = "";
        services.location = ProgramLocation{"C:\\My Tools", "Reelwright"};
    }
};

TEST_F(FirstRunSetupTest, StoredFolderShowsNeitherPrompt) {
    EXPECT_EQ(RunFirstRunSetup(services, "C:\\Games\\SOF2"), LoadOutcome::ShowWindow);
    EXPECT_TRUE(journal.entries.empty());
}

TEST_F(FirstRunSetupTest, CancelEndsTheProgramAndStoresNothing) {
    prompts.messageAnswers = {MessageAnswer::Cancel};
    EXPECT_EQ(RunFirstRunSetup(services, ""), LoadOutcome::EndProgram);
    ASSERT_EQ(prompts.messages.size(), 1u);
    const MessageCall& prompt = prompts.messages[0];
    EXPECT_EQ(prompt.title, "Reelwright - SOF2 Folder Setup");
    EXPECT_EQ(prompt.text,
              "It would appear this is the first time you are running Reelwright.\r\n\r\n"
              "Could you please specify your SOF2 Path");
    EXPECT_EQ(prompt.icon, MessageIcon::Information);
    EXPECT_EQ(prompt.buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(prompts.browseTitles.empty());
    EXPECT_TRUE(classes.calls.empty());
    EXPECT_EQ(journal.entries, Strings{"message Reelwright - SOF2 Folder Setup"});
}

TEST_F(FirstRunSetupTest, PickerCancelledStillAsksAboutTheAssociation) {
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    EXPECT_EQ(RunFirstRunSetup(services, ""), LoadOutcome::ShowWindow);
    EXPECT_EQ(journal.entries, (Strings{"message Reelwright - SOF2 Folder Setup", "browse Locate your SOF2 Directory",
                                        "message Reelwright - File Association"}));
    const MessageCall& question = prompts.messages.back();
    EXPECT_EQ(question.text, "Would you like to associate .dm_2004 with Reelwright?");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_FALSE(store.Stored("Settings", "SOF2 Path"));
}

TEST_F(FirstRunSetupTest, AnswerNoStoresOnlyTheFolder) {
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    RunFirstRunSetup(services, "");
    EXPECT_EQ(store.Stored("Settings", "SOF2 Path"), "C:\\Games\\SOF2");
    EXPECT_FALSE(store.Stored("Settings", "Associate"));
    EXPECT_TRUE(classes.calls.empty());
}

TEST_F(FirstRunSetupTest, AnswerYesRegistersTheProgramThenStoresAssociate) {
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Yes};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    EXPECT_EQ(RunFirstRunSetup(services, ""), LoadOutcome::ShowWindow);
    EXPECT_EQ(classes.DefaultValue("SOF2_Demo_File\\shell\\open\\command"),
              "\"C:\\My Tools\\Reelwright.exe\" \"%1\"");
    EXPECT_EQ(classes.DefaultValue("SOF2_Demo_File\\DefaultIcon"), "C:\\My Tools\\Graphics\\sof2.ico");
    EXPECT_EQ(classes.Dump().size(), 6u);
    EXPECT_EQ(classes.notifications, 1);
    EXPECT_EQ(journal.entries.back(), "save Settings/Associate=1");
}

// A standard user may not write the machine's classes: the association goes
// into the user's own, and "Associate" records whether it is ours in the end.
TEST_F(FirstRunSetupTest, AnswerYesAsAStandardUserRegistersForThatUser) {
    classes.deniedRoots = {ClassesRoot::Machine};
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Yes};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    RunFirstRunSetup(services, "");
    EXPECT_EQ(prompts.messages.size(), 2u);  // the two prompts, no error box
    EXPECT_TRUE(classes.Dump().empty());
    EXPECT_EQ(classes.Dump(ClassesRoot::User).size(), 6u);
    EXPECT_EQ(store.Stored("Settings", "Associate"), "1");
}

TEST_F(FirstRunSetupTest, AnswerYesWithNoClassesWritableStoresZero) {
    classes.deniedRoots = {ClassesRoot::Machine, ClassesRoot::User};
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Yes};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    RunFirstRunSetup(services, "");
    Strings texts;
    for (const auto& m : prompts.messages) texts.push_back(m.text);
    EXPECT_EQ(Strings(texts.begin() + 2, texts.end()), (Strings{"Error: Creating Key!", "Error Setting String Value!"}));
    EXPECT_EQ(store.Stored("Settings", "Associate"), "0");
}

TEST_F(FirstRunSetupTest, FailingStepsAreSkippedSilently) {
    // The folder cannot be stored and the association cannot be written: the
    // setup still asks, still stores "Associate" (as "0": nothing is ours) and
    // lets the window open.
    store.failingKeys.insert("Settings/SOF2 Path");
    classes.failingCreates[{ClassesRoot::Machine, ".dm_2004"}] = 1009;  // ERROR_BADDB
    prompts.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Yes};
    prompts.folderAnswers = {"C:\\Games\\SOF2"};
    EXPECT_EQ(RunFirstRunSetup(services, ""), LoadOutcome::ShowWindow);
    // Only the association's own two messages follow the two prompts.
    Strings titles;
    for (const auto& m : prompts.messages) titles.push_back(m.title);
    EXPECT_EQ(titles, (Strings{"Reelwright - SOF2 Folder Setup", "Reelwright - File Association", "Reelwright",
                               "Reelwright"}));
    EXPECT_EQ(store.Stored("Settings", "Associate"), "0");
}

}  // namespace
}  // namespace reelwright
