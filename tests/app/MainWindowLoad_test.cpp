#include <gtest/gtest.h>

#include <algorithm>

#include "app/MainWindowLoad.h"
#include "support/DemoEncoder.h"
#include "support/FakeServices.h"
#include "core/Version.h"
#include "app/FirstRunSetup.h"

namespace reelwright {
namespace {

using test::FakePrompts;

// The main window's load with recording fakes.
struct LoadFixture : ::testing::Test, test::FakeServices {
    std::vector<std::string> firstRunCalls;

    LoadOutcome Load(std::string_view tail) {
        return RunMainWindowLoad(services, tail, [this](const std::string& gameFolder) {
            firstRunCalls.push_back(gameFolder);
            journal.Add("firstrun");
            return LoadOutcome::ShowWindow;
        });
    }
};

TEST_F(LoadFixture, NoCommandLineReadsTheGameFolderOnceAndHandsItToTheFirstRunStep) {
    store.Put("Settings", "SOF2 Path", "  C:\\Games\\SOF2  ");
    EXPECT_EQ(Load(""), LoadOutcome::ShowWindow);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"get Settings/SOF2 Path", "firstrun"}));
    EXPECT_EQ(firstRunCalls, std::vector<std::string>{"C:\\Games\\SOF2"});
}

TEST_F(LoadFixture, QuotedDemoInBaseMpStartsTheGameBeforeTheFirstRunStep) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\"");
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "C:\\Games\\SOF2\\SoF2MP.exe");
    EXPECT_EQ(shell.calls[0].parameters,
              "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo \"duel.dm_2004\"");
    EXPECT_EQ(shell.calls[0].directory, "C:\\Games\\SOF2");
    EXPECT_EQ(shell.calls[0].showMode, 3);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(journal.entries.back(), "firstrun");
}

TEST_F(LoadFixture, DirectPlaybackParametersForEachPlaceOfTheDemo) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    const std::pair<const char*, const char*> cases[] = {
        // A mod with a sub-folder below its demos folder.
        {"\"C:\\Games\\SOF2\\mymod\\demos\\sub\\a.dm_2004\"",
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo \"sub\\a.dm_2004\""},
        // The game folder's own demos folder: the empty game type.
        {"\"C:\\Games\\SOF2\\demos\\a.dm_2004\"", "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game +demo \"a.dm_2004\""},
        // Unquoted paths are used as they stand, trimmed.
        {"  C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004 ",
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo \"duel.dm_2004\""},
        // Blanks and non-ASCII letters of the code page stay whole in the quoted name.
        {"\"C:\\Games\\SOF2\\mymod\\demos\\\xc3\xa9t\xc3\xa9 1.dm_2004\"",
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo \"\xc3\xa9t\xc3\xa9 1.dm_2004\""},
        // The inside test ignores letter case; the game type keeps the path's letters.
        {"\"c:\\games\\sof2\\MyMod\\demos\\a.dm_2004\"",
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game MyMod+demo \"a.dm_2004\""},
        // "." and ".." steps are resolved: the game gets the folders they lead to.
        {"\"C:\\Games\\SOF2\\mymod\\..\\.\\base\\mp\\demos\\a.dm_2004\"",
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo \"a.dm_2004\""},
        {"\"C:\\..\\Games\\SOF2\\demos\\x\\..\\a.dm_2004\"",
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game +demo \"a.dm_2004\""},
    };
    for (const auto& [tail, parameters] : cases) {
        shell.calls.clear();
        Load(tail);
        ASSERT_EQ(shell.calls.size(), 1u) << tail;
        EXPECT_EQ(shell.calls[0].parameters, parameters) << tail;
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(LoadFixture, DemoOutsideTheGameFolderShowsTheErrorAndStartsNothing) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    const char* outside[] = {
        "\"D:\\x\\a.dm_2004\"",
        "\"D:\\Some\\Long\\Folder\\Name\\demos\\a.dm_2004\"",  // once given a game type by its length
        "\"C:\\Games\\SOF2X\\base\\mp\\demos\\a.dm_2004\"",  // a neighbour of the game folder
        "\"C:\\Games\\SOF2\\base\\mp\\a.dm_2004\"",          // no demos folder after the game folder
        "\"C:\\Games\\SOF2\\base\\mp\\Demos\\a.dm_2004\"",   // "\Demos" is not "\demos"
        "\"C:\\Games\\SOF2\"",
        "\"C:\\Games\\SOF2\\..\\..\\Users\\me\\demos\\a.dm_2004\"",  // where ".." leads counts
    };
    for (const char* tail : outside) {
        prompts.messages.clear();
        EXPECT_EQ(Load(tail), LoadOutcome::ShowWindow) << tail;
        ASSERT_EQ(prompts.messages.size(), 1u) << tail;
        EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error playing demo.");
        EXPECT_EQ(prompts.messages[0].text,
                  "You must have the demo running the appropriate folder.\r\n\r\n"
                  "By default this will be your base/mp/demos folder.");
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::Ok);
    }
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(firstRunCalls.size(), std::size(outside));
}

TEST_F(LoadFixture, AGameFolderAtADriveRootIsPassedWithItsSeparator) {
    for (const char* folder : {"D:\\", "D:"}) {
        store.Put("Settings", "SOF2 Path", folder);
        shell.calls.clear();
        Load("\"D:\\mymod\\demos\\sub\\a.dm_2004\"");
        ASSERT_EQ(shell.calls.size(), 1u) << folder;
        EXPECT_EQ(shell.calls[0].parameters, "+set fs_basepath \"D:\\\" +set fs_game mymod+demo \"sub\\a.dm_2004\"");
        EXPECT_EQ(shell.calls[0].directory, "D:\\");
    }
    // A trailing separator of any other folder is dropped.
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2\\");
    Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004\"");
    EXPECT_EQ(shell.calls.back().parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo \"a.dm_2004\"");
    EXPECT_EQ(shell.calls.back().directory, "C:\\Games\\SOF2");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(LoadFixture, NamesTheConsoleCannotTakeAreRefusedWithTheirReason) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    Load("\"C:\\Games\\SOF2\\my mod\\demos\\a.dm_2004\"");
    Load("\"C:\\Games\\SOF2\\mymod\\demos\\a+b.dm_2004\"");
    Load("\"C:\\Games\\SOF2\\mymod\\demos\\\xe6\x97\xa5.dm_2004\"");
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_EQ(prompts.messages.size(), 3u);
    for (const auto& message : prompts.messages) {
        EXPECT_EQ(message.title, "Reelwright - Error playing demo.");
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    }
    EXPECT_NE(prompts.messages[0].text.find("my mod\\demos\\a.dm_2004: its game type folder holds a blank"),
              std::string::npos);
    EXPECT_NE(prompts.messages[1].text.find("mymod\\demos\\a+b.dm_2004: the game starts on this demo"),
              std::string::npos);
    EXPECT_NE(prompts.messages[2].text.find("cannot represent"), std::string::npos);
    EXPECT_EQ(firstRunCalls.size(), 3u);
}

TEST_F(LoadFixture, AGameFolderThatBreaksTheCommandLineIsRefusedAndTheLoadGoesOn) {
    store.Put("Settings", "SOF2 Path", "D:\\Games\\SOF2+exec x");
    Load("\"D:\\Games\\SOF2+exec x\\base\\mp\\demos\\a.dm_2004\"");
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error playing demo.");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(prompts.messages[0].text.find("Your SOF2 folder holds a \"+\", at which the game splits its command "
                                            "line, so the game was not started:\r\n\r\nD:\\Games\\SOF2+exec x\r\n"),
              0u);
    EXPECT_EQ(journal.entries.back(), "firstrun");

    // A fullwidth plus, which the game's command line would get as "+".
    prompts.messages.clear();
    store.Put("Settings", "SOF2 Path", "D:\\Games\\SOF2\xef\xbc\x8b" "exec x");
    Load("\"D:\\Games\\SOF2\xef\xbc\x8b" "exec x\\base\\mp\\demos\\a.dm_2004\"");
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.find("Your SOF2 folder holds the character \"\xef\xbc\x8b\" (U+FF0B)"), 0u);
}

TEST_F(LoadFixture, AGameThatCannotBeStartedIsReported) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2\\");
    shell.error = 2;
    EXPECT_EQ(Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\""), LoadOutcome::ShowWindow);
    EXPECT_EQ(shell.calls.size(), 1u);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error playing demo.");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(prompts.messages[0].text,
              "The game could not be started:\r\n\r\nC:\\Games\\SOF2\\SoF2MP.exe\r\n\r\n"
              "System text of error 2. (error 2)\r\n\r\n"
              "Check that SOF2MP.exe is in your SOF2 folder, or locate it again with File > Locate SOF2.exe File.");
    EXPECT_EQ(journal.entries.back(), "firstrun");
}

TEST_F(LoadFixture, ADemosFolderInsideTheGameFolderNameDoesNotCount) {
    store.Put("Settings", "SOF2 Path", "C:\\demos\\SOF2");
    Load("\"C:\\demos\\SOF2\\base\\mp\\demos\\a.dm_2004\"");
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].parameters, "+set fs_basepath \"C:\\demos\\SOF2\" +set fs_game base\\mp+demo \"a.dm_2004\"");
}

TEST_F(LoadFixture, ShortOrEmptyTailsStartNothing) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    for (const char* tail : {"\"\"", "\" \"", "   "}) {
        Load(tail);
        EXPECT_TRUE(shell.calls.empty()) << tail;
        EXPECT_TRUE(prompts.messages.empty()) << tail;
    }
    // A lone character is a path outside the game folder.
    Load("x");
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(LoadFixture, WithoutAGameFolderTheDemoIsNotPlayedAndTheLoadGoesOn) {
    EXPECT_EQ(Load("\"C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004\""), LoadOutcome::ShowWindow);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(firstRunCalls, std::vector<std::string>{""});
}

TEST_F(LoadFixture, FailingStoreReadIsSkippedAndTheFirstRunStepDecides) {
    store.failingKeys.insert("Settings/SOF2 Path");
    auto outcome = RunMainWindowLoad(services, "", [](const std::string&) { return LoadOutcome::EndProgram; });
    EXPECT_EQ(outcome, LoadOutcome::EndProgram);
}

// A demo from outside the game's demos folders: the question, then a copy in
// its recorded mod's demos folder plays, or today's refusal.
TEST_F(LoadFixture, DemoFromElsewhereIsCopiedIntoItsModAndPlaysOnYes) {
    store.Put("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    files.folders.insert("C:\\Games\\SOF2\\rpm");
    test::GameStateParts parts;
    parts.systemInfo = "\\sv_serverid\\1\\fs_game\\rpm";
    const std::string demo = test::Demo(parts, {1000});
    struct Case {
        const char* source;
        MessageAnswer answer;
        const char* parameters;  // empty: nothing starts
        const char* lastMessage;  // the last message's title
    } cases[] = {
        {"D:\\Downloads\\a.dm_2004", MessageAnswer::Yes,
         "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game rpm+demo \"a.dm_2004\"", "Reelwright - Copy demo"},
        {"D:\\Downloads\\a.dm_2004", MessageAnswer::No, "", "Reelwright - Error playing demo."},
        // A name the game cannot take is refused before the question.
        {"D:\\Downloads\\a+b.dm_2004", MessageAnswer::Yes, "", "Reelwright - Error playing demo."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        shell.calls.clear();
        prompts.messages.clear();
        files.files.erase("C:\\Games\\SOF2\\rpm\\demos\\a.dm_2004");
        files.files[c.source] = demo;
        prompts.messageAnswers = {c.answer};
        Load(std::string("\"") + c.source + "\"");
        ASSERT_FALSE(prompts.messages.empty());
        EXPECT_EQ(prompts.messages.back().title, c.lastMessage);
        EXPECT_EQ(files.files.count("C:\\Games\\SOF2\\rpm\\demos\\a.dm_2004"), *c.parameters ? 1u : 0u);
        if (*c.parameters) {
            ASSERT_EQ(shell.calls.size(), 1u);
            EXPECT_EQ(shell.calls[0].parameters, c.parameters);
            EXPECT_EQ(files.files.at("C:\\Games\\SOF2\\rpm\\demos\\a.dm_2004"), demo);
            EXPECT_EQ(prompts.messages.size(), 1u);  // the question alone
        } else {
            EXPECT_TRUE(shell.calls.empty());
        }
        EXPECT_TRUE(files.files.count(c.source));
    }
}

}  // namespace
}  // namespace reelwright

// A demo opened from the shell before any game folder is stored.

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
