// Launch of a queue whose script is longer than the game's console takes at
// once, and of one longer than a session should step through: the chain of
// files in the program folder and in every game-type folder, the question and
// its three answers, and the chain through the helper with rights.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "launch/Launch.h"
#include "launch/ScriptCopyHelper.h"
#include "script/basBuildConfigs.h"
#include "support/ConsoleInterpreter.h"
#include "support/FakeServices.h"

namespace {

using namespace reelwright;
using namespace reelwright::test;
using Strings = std::vector<std::string>;

const std::string kProgram = "C:\\Tools\\Reelwright";
const std::string kGame = "C:\\Games\\SOF2";
const std::string kMod = kGame + "\\mymod";

class LaunchLongQueueTest : public ::testing::Test, protected FakeServices {
protected:
    LaunchLongQueueTest() {
        services.location = {kProgram, "Reelwright"};
        store.Put(kSectionSettings, kKeyGamePath, kGame);
        files.files[kGame + "\\SOF2MP.exe"] = "";
        // The helper with rights opens every folder on its way.
        files.folders = {kGame + "\\base", kGame + "\\base\\mp", kMod};
    }
    void QueueDemos(int count) {
        for (int i = 1; i <= count; ++i) {
            const std::string gameType = i % 2 ? "base\\mp" : "mymod";
            const std::string name = "match" + std::to_string(i) + ".dm_2004";
            queue.Append({name, gameType, kGame + "\\" + gameType + "\\demos\\" + name});
        }
    }
    bool Run() {
        journal.entries.clear();
        return Launch(services, queue, "", &elevation);
    }
    // The script's files in a folder, in chain order, as far as they exist.
    std::map<std::string, std::string> ScriptFiles(const std::string& folder) {
        std::map<std::string, std::string> found;
        for (std::size_t part = 1; files.files.count(folder + "\\" + basBuildConfigs::ScriptPartFileName(part)); ++part)
            found[basBuildConfigs::ScriptPartFileName(part)] = files.files[folder + "\\" + basBuildConfigs::ScriptPartFileName(part)];
        return found;
    }
    // The number of demo variables the game defines from the folder's files.
    int DemosDefinedFrom(const std::map<std::string, std::string>& folder) {
        ConsoleInterpreter console;
        console.SetFileSource([&](const std::string& name) -> std::optional<std::string> {
            const auto found = folder.find(name);
            if (found == folder.end()) return std::nullopt;
            return found->second;
        });
        EXPECT_FALSE(shell.calls.empty());
        if (shell.calls.empty()) return 0;
        console.ExecuteCommandLine(shell.calls.back().parameters);
        int count = 0;
        while (console.Variable("demo" + std::to_string(count + 1))) ++count;
        EXPECT_FALSE(console.Variable("demo" + std::to_string(count + 2)));
        return count;
    }
    std::size_t Writes() const {
        std::size_t count = 0;
        for (const auto& entry : journal.entries) count += entry.starts_with("write ") || entry.starts_with("copy ");
        return count;
    }

    FakeElevatedRunner elevation{&journal};
    DemoQueue queue;
};

TEST_F(LaunchLongQueueTest, AQueueAboveTheSessionLimitAsksAndEachAnswerDoesWhatItSays) {
    QueueDemos(300);

    prompts.messageAnswers = {MessageAnswer::Cancel};
    EXPECT_FALSE(Run());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Long queue");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(prompts.messages[0].text,
              "The queue holds 300 demos. The game keeps a limited number of console variables, and stepping "
              "through more than 200 demos in one session may end it with an error. The queue itself stays as it "
              "is.\r\n\r\nPlay only the first 200?");
    EXPECT_EQ(Writes(), 0u);
    EXPECT_TRUE(shell.calls.empty());

    // Yes: the first 200, in two files, copied beside each other wherever the
    // game may look for them.
    prompts.messageAnswers = {MessageAnswer::Yes};
    EXPECT_TRUE(Run());
    EXPECT_EQ(queue.Count(), 300);
    const auto first200 = ScriptFiles(kProgram);
    EXPECT_EQ(first200.size(), 2u);
    EXPECT_EQ(ScriptFiles(kGame + "\\base\\mp"), first200);
    EXPECT_EQ(ScriptFiles(kMod), first200);
    EXPECT_EQ(DemosDefinedFrom(first200), 200);
    EXPECT_EQ(shell.calls.back().parameters,
              "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo match1.dm_2004+exec Reelwright.cfg");

    // No: all of them, in three files.
    prompts.messageAnswers = {MessageAnswer::No};
    EXPECT_TRUE(Run());
    const auto all = ScriptFiles(kProgram);
    EXPECT_EQ(all.size(), 3u);
    EXPECT_EQ(ScriptFiles(kMod), all);
    EXPECT_EQ(DemosDefinedFrom(ScriptFiles(kGame + "\\base\\mp")), 300);
    EXPECT_EQ(prompts.messages.size(), 3u);
}

TEST_F(LaunchLongQueueTest, TwoHundredDemosAreAskedNothing) {
    QueueDemos(200);
    EXPECT_TRUE(Run());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(DemosDefinedFrom(ScriptFiles(kMod)), 200);
}

TEST_F(LaunchLongQueueTest, TheHelperWithRightsPlacesEveryPart) {
    QueueDemos(150);
    for (std::size_t part = 1; part <= 2; ++part)
        files.failingPaths.insert(kMod + "\\" + basBuildConfigs::ScriptPartFileName(part));
    elevation.helper = [&](const std::string& parameters) -> std::optional<std::uint32_t> {
        files.failingPaths.clear();
        return RunCopyScriptHelper(files, parameters);
    };
    EXPECT_TRUE(Run());
    ASSERT_EQ(elevation.calls.size(), 1u);
    const auto request = ParseCopyScriptParameters(elevation.calls[0]);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->gameTypes, Strings{"mymod"});
    EXPECT_EQ(request->laterParts.size(), 1u);
    EXPECT_EQ(ScriptFiles(kMod), ScriptFiles(kProgram));
    EXPECT_EQ(DemosDefinedFrom(ScriptFiles(kMod)), 150);
    // The temporary files are gone.
    for (const auto& [path, text] : files.files) EXPECT_FALSE(path.starts_with("C:\\Temp\\")) << path;
}

TEST_F(LaunchLongQueueTest, AfterTheHelperEveryPartIsCheckedAgain) {
    // A helper that reports success but left the older second part behind:
    // the box names that part, not the folder's first file.
    QueueDemos(150);
    files.files[kMod + "\\Reelwright2.cfg"] = "older part";
    for (std::size_t part = 1; part <= 2; ++part)
        files.failingPaths.insert(kMod + "\\" + basBuildConfigs::ScriptPartFileName(part));
    elevation.helper = [&](const std::string&) -> std::optional<std::uint32_t> {
        files.failingPaths.clear();
        files.files[kMod + "\\Reelwright.cfg"] = files.files[kProgram + "\\Reelwright.cfg"];
        return kHelperSucceeded;
    };
    prompts.messageAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_FALSE(Run());
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_NE(prompts.messages[1].text.find(
                  "C:\\Games\\SOF2\\mymod\r\n"
                  "    Reelwright2.cfg could not be written: error 13.\r\n"
                  "    The Reelwright2.cfg already there is out of date: it holds demos of an earlier launch.\r\n"),
              std::string::npos)
        << prompts.messages[1].text;
    EXPECT_EQ(prompts.messages[1].text.find("Reelwright.cfg could not"), std::string::npos);
}

TEST_F(LaunchLongQueueTest, ALaterPartThatCannotBeWrittenIsNamedAndEndsThatFolder) {
    QueueDemos(300);
    files.files[kMod + "\\Reelwright2.cfg"] = "older part";
    files.failingPaths.insert(kMod + "\\Reelwright2.cfg");
    prompts.messageAnswers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_TRUE(Run());
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_NE(prompts.messages[2].text.find(
                  "C:\\Games\\SOF2\\mymod\r\n"
                  "    Reelwright2.cfg could not be written: Access is denied.\r\n"
                  "    The Reelwright2.cfg already there is out of date: it holds demos of an earlier launch.\r\n"),
              std::string::npos)
        << prompts.messages[2].text;
    EXPECT_EQ(files.files.count(kMod + "\\Reelwright3.cfg"), 0u);
    EXPECT_EQ(files.files.count(kGame + "\\base\\mp\\Reelwright3.cfg"), 1u);
}

}  // namespace
