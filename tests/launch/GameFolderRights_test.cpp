// Launch of two or more demos when the script does not reach every game-type
// folder: the question offering administrator rights, the helper it starts,
// and the exclamation that lets the user start the game anyway.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/GameFolderRights.h"
#include "launch/Launch.h"
#include "elevated/ScriptCopyHelper.h"
#include "support/FakeServices.h"
#include "launch/WithoutJournal.h"

namespace {

using namespace reelwright;
using namespace reelwright::test;
using Strings = std::vector<std::string>;

constexpr const char* kProgramScript = "C:\\Tools\\Reelwright\\Reelwright.cfg";
const std::string kGame = "C:\\Program Files (x86)\\SOF2";
const std::string kBaseTarget = kGame + "\\base\\mp\\Reelwright.cfg";
const std::string kModTarget = kGame + "\\mymod\\Reelwright.cfg";

class LaunchGameFolderTest : public ::testing::Test, protected FakeServices {
protected:
    LaunchGameFolderTest() {
        services.location = {"C:\\Tools\\Reelwright", "Reelwright"};
        store.Put(kSectionSettings, kKeyGamePath, kGame);
        files.files[kGame + "\\SOF2MP.exe"] = "";
        files.folders = {kGame + "\\base", kGame + "\\base\\mp", kGame + "\\mymod"};
        for (const auto& [name, gameType] : {std::pair{"a.dm_2004", "base\\mp"}, std::pair{"b.dm_2004", "mymod"}})
            queue.Append({name, gameType, kGame + "\\" + gameType + "\\demos\\" + name});
    }
    bool Run() {
        journal.entries.clear();
        // Without a journal, the question it brings answered Yes: the
        // session restore has tests of its own.
        return LaunchWithoutJournal(*this, withoutJournal, queue, "");
    }
    // The boxes (by icon), helper runs and game starts of the last run, in order.
    Strings Steps() const {
        Strings steps;
        std::size_t message = prompts.messages.size() - Count("message ");
        for (const auto& entry : journal.entries) {
            if (entry.starts_with("message "))
                steps.push_back(prompts.messages[message++].icon == MessageIcon::Question ? "question" : "exclamation");
            else if (entry.starts_with("elevated "))
                steps.push_back("elevated");
            else if (entry.starts_with("shellopen "))
                steps.push_back("start");
        }
        return steps;
    }
    std::size_t Count(const std::string& prefix) const {
        std::size_t count = 0;
        for (const auto& entry : journal.entries) count += entry.starts_with(prefix);
        return count;
    }
    void Answer(std::initializer_list<MessageAnswer> answers) { prompts.messageAnswers.assign(answers); }

    DemoQueue queue;
    PlayWithoutJournal withoutJournal{prompts};
};

TEST_F(LaunchGameFolderTest, EveryFolderWrittenAsksNothing) {
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), Strings{"start"});
}

TEST_F(LaunchGameFolderTest, AccessDeniedAsksForRightsThenNamesTheFolderWhenRefused) {
    files.failingPaths.insert(kModTarget);
    Answer({MessageAnswer::No, MessageAnswer::Yes});
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "exclamation", "start"}));

    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Game folder");
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(prompts.messages[0].text,
              "This game folder needs administrator rights to receive the playback script:\r\n\r\n"
              "C:\\Program Files (x86)\\SOF2\\mymod\r\n\r\n"
              "Would you like Reelwright to place the script there with administrator rights? Windows will ask you "
              "to allow it once.");
    EXPECT_EQ(prompts.messages[1].title, "Reelwright - Game folder");
    EXPECT_EQ(prompts.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(prompts.messages[1].text,
              "The playback script could not be placed in this game folder, so the demo keys will not step through "
              "the queue:\r\n\r\n"
              "C:\\Program Files (x86)\\SOF2\\mymod\r\n"
              "    Reelwright.cfg could not be written: Access is denied.\r\n\r\n"
              "Start the game anyway? Only the first demo will play.");
    // The folder that could be written still got its copy.
    EXPECT_EQ(files.files[kBaseTarget], files.files[kProgramScript]);
}

TEST_F(LaunchGameFolderTest, NoToStartingAnywayStartsNothingAndDoesNotMinimise) {
    files.failingPaths.insert(kModTarget);
    Answer({MessageAnswer::No, MessageAnswer::No});
    EXPECT_FALSE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "exclamation"}));
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(LaunchGameFolderTest, YesStartsTheHelperWithTheFailedFoldersAndDeletesItsTemporaryScript) {
    files.failingPaths.insert(kModTarget);
    std::string helperSource;
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        const auto request = ParseCopyScriptParameters(parameters);
        EXPECT_TRUE(request);
        if (!request) return 1;
        EXPECT_EQ(request->gameFolder, kGame);
        EXPECT_EQ(request->gameTypes, Strings{"mymod"});
        helperSource = files.files[request->source];
        files.failingPaths.clear();
        files.files[kModTarget] = helperSource;
        return 0;
    };
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "elevated", "start"}));
    EXPECT_EQ(helperSource, files.files[kProgramScript]);
    // Written before, deleted after the helper.
    const Strings temporary{"temp C:\\Temp\\rw1.tmp", "write C:\\Temp\\rw1.tmp", "read C:\\Temp\\rw1.tmp",
                            "elevated /copy-script \"C:\\Temp\\rw1.tmp\" \"C:\\Program Files (x86)\\SOF2\" \"mymod\"",
                            "remove C:\\Temp\\rw1.tmp"};
    Strings seen;
    for (const auto& entry : journal.entries)
        if (entry.find("C:\\Temp\\") != std::string::npos) seen.push_back(entry);
    EXPECT_EQ(seen, temporary);
    EXPECT_EQ(files.files.count("C:\\Temp\\rw1.tmp"), 0u);
}

TEST_F(LaunchGameFolderTest, TheRealHelperWithRightsPlacesTheFreshScript) {
    files.files[kModTarget] = "older script";
    files.failingPaths.insert(kModTarget);
    // With rights the folder can be written: the helper mode runs on the same files.
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        files.failingPaths.clear();
        return RunCopyScriptHelper(files, parameters);
    };
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "elevated", "start"}));
    EXPECT_EQ(files.files[kModTarget], files.files[kProgramScript]);
}

TEST_F(LaunchGameFolderTest, AHelperThatFailsOrDoesNotStartLeadsToTheExclamation) {
    files.failingPaths.insert(kModTarget);
    // What the helper says does not count: the folder is looked at again,
    // and a helper that reports success without the copy changes nothing.
    for (const std::optional<std::uint32_t> exitCode : {std::optional<std::uint32_t>{2u}, std::optional<std::uint32_t>{1u},
                                                        std::optional<std::uint32_t>{}, std::optional<std::uint32_t>{0u}}) {
        elevation.exitCode = exitCode;
        Answer({MessageAnswer::Yes, MessageAnswer::Yes});
        EXPECT_TRUE(Run());
        EXPECT_EQ(Steps(), (Strings{"question", "elevated", "exclamation", "start"}));
        EXPECT_NE(prompts.messages.back().text.find("mymod\r\n    Reelwright.cfg could not be written: Access is denied."),
                  std::string::npos);
    }
    // No temporary file: the helper is not started.
    files.temporaryFileFails = true;
    Answer({MessageAnswer::Yes, MessageAnswer::No});
    EXPECT_FALSE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "exclamation"}));
}

TEST_F(LaunchGameFolderTest, TheBoxAfterTheHelperNamesWhatIsStillMissingAndARefusal) {
    files.failingPaths = {kBaseTarget, kModTarget};
    files.files[kModTarget] = "older script";
    // With rights, only base\mp gets its copy.
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        files.failingPaths.clear();
        files.files[kBaseTarget] = files.files[ParseCopyScriptParameters(parameters)->source];
        return kHelperStepFailed;
    };
    Answer({MessageAnswer::Yes, MessageAnswer::Yes});
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "elevated", "exclamation", "start"}));
    EXPECT_EQ(prompts.messages.back().text,
              "The playback script could not be placed in this game folder, so the demo keys will not step through "
              "the queue:\r\n\r\n"
              "C:\\Program Files (x86)\\SOF2\\mymod\r\n"
              "    Reelwright.cfg could not be written: Access is denied.\r\n"
              "    The Reelwright.cfg already there is out of date: its keys step through the demos of an earlier "
              "launch.\r\n\r\n"
              "Start the game anyway? Only the first demo will play.");

    // The real helper refuses a game-type folder that is a junction; the box
    // says so.
    files.files.erase(kBaseTarget);
    files.failingPaths = {kModTarget};
    files.reparsePoints = {kGame + "\\mymod"};
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        files.failingPaths.clear();
        return RunCopyScriptHelper(files, parameters);
    };
    Answer({MessageAnswer::Yes, MessageAnswer::Yes});
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "elevated", "exclamation", "start"}));
    EXPECT_NE(prompts.messages.back().text.find("mymod\r\n    Reelwright.cfg could not be written: Access is denied."),
              std::string::npos);
    EXPECT_NE(prompts.messages.back().text.find(std::string("\r\n\r\n") + kHelperRefusedNote + "\r\n\r\nStart the game"),
              std::string::npos);
    EXPECT_EQ(files.files[kModTarget], "older script");
}

TEST_F(LaunchGameFolderTest, ADriveRootGameFolderReachesTheHelperWholeAndIsCheckedAgain) {
    store.Put(kSectionSettings, kKeyGamePath, "D:\\");
    files.files["D:\\SOF2MP.exe"] = "";
    files.folders = {"D:\\base", "D:\\base\\mp", "D:\\mymod"};
    queue.Clear();
    queue.Append({"a.dm_2004", "base\\mp", "D:\\base\\mp\\demos\\a.dm_2004"});
    queue.Append({"b.dm_2004", "mymod", "D:\\mymod\\demos\\b.dm_2004"});
    files.failingPaths.insert("D:\\mymod\\Reelwright.cfg");
    std::string handedFolder;
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        handedFolder = ParseCopyScriptParameters(parameters)->gameFolder;
        files.failingPaths.clear();
        return RunCopyScriptHelper(files, parameters);
    };
    EXPECT_TRUE(Run());
    EXPECT_EQ(handedFolder, "D:\\");
    EXPECT_EQ(Steps(), (Strings{"question", "elevated", "start"}));
    EXPECT_EQ(files.files["D:\\mymod\\Reelwright.cfg"], files.files[kProgramScript]);
}

TEST_F(LaunchGameFolderTest, OtherFailuresAreReportedWithoutTheOffer) {
    files.failingPaths = {kBaseTarget, kModTarget};
    files.failureCodes = {{kBaseTarget, 32}, {kModTarget, 3}};
    Answer({MessageAnswer::Yes});
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"exclamation", "start"}));
    EXPECT_EQ(prompts.messages[0].text,
              "The playback script could not be placed in these game folders, so the demo keys will not step "
              "through the queue:\r\n\r\n"
              "C:\\Program Files (x86)\\SOF2\\base\\mp\r\n"
              "    Reelwright.cfg could not be written: error 32.\r\n\r\n"
              "C:\\Program Files (x86)\\SOF2\\mymod\r\n"
              "    Reelwright.cfg could not be written: error 3.\r\n\r\n"
              "Start the game anyway? Only the first demo will play.");
}

TEST_F(LaunchGameFolderTest, OneAccessDeniedAmongOtherFailuresOffersRightsForAllOfThem) {
    files.failingPaths = {kBaseTarget, kModTarget};
    files.failureCodes = {{kBaseTarget, 32}};
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        files.failingPaths.clear();
        return RunCopyScriptHelper(files, parameters);
    };
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "elevated", "start"}));
    EXPECT_EQ(prompts.messages[0].text.find("These game folders need"), 0u);
    ASSERT_EQ(elevation.calls.size(), 1u);
    EXPECT_EQ(ParseCopyScriptParameters(elevation.calls[0])->gameTypes, (Strings{"base\\mp", "mymod"}));
}

TEST_F(LaunchGameFolderTest, TheReadOnlyAttributeCountsLikeTheCopy) {
    files.files[kGame + "\\mymod\\SOF2MP.exe"] = "";
    files.files[kGame + "\\mymod\\SOF2MP.cfg"] = "";
    files.failingPaths.insert(kGame + "\\mymod\\SOF2MP.cfg");
    Answer({MessageAnswer::No, MessageAnswer::Yes});
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), (Strings{"question", "exclamation", "start"}));
    EXPECT_NE(prompts.messages[1].text.find("mymod\r\n    SOF2MP.cfg could not be made read-only: Access is denied.\r\n"),
              std::string::npos);
    EXPECT_EQ(prompts.messages[1].text.find("Reelwright.cfg could not"), std::string::npos);

    // A game folder whose game has not made its SOF2MP.cfg yet has nothing to protect.
    files.failingPaths.clear();
    files.files.erase(kGame + "\\mymod\\SOF2MP.cfg");
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), Strings{"start"});
}

TEST_F(LaunchGameFolderTest, AnOlderScriptLeftInTheFolderIsCalledOutOfDate) {
    files.files[kModTarget] = "older script";
    files.failingPaths.insert(kModTarget);
    Answer({MessageAnswer::No, MessageAnswer::Yes});
    Run();
    EXPECT_NE(prompts.messages[1].text.find(
                  "    Reelwright.cfg could not be written: Access is denied.\r\n"
                  "    The Reelwright.cfg already there is out of date: its keys step through the demos of an earlier "
                  "launch.\r\n"),
              std::string::npos);
    EXPECT_EQ(files.files[kModTarget], "older script");
}

TEST_F(LaunchGameFolderTest, OneDemoWritesNothingAndAsksNothing) {
    queue.Clear();
    queue.Append({"a.dm_2004", "mymod", kGame + "\\mymod\\demos\\a.dm_2004"});
    files.failingPaths.insert(kModTarget);
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps(), Strings{"start"});
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
