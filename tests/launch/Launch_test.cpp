// Launch against the recording fakes: the settings it reads, the script it
// writes and copies, the game it starts and what it refuses; the script is
// judged by what the game's console does with it. Then the long queues.
#include "launch/Launch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>
#include <map>

#include "support/ConsoleInterpreter.h"
#include "support/FakeServices.h"
#include "core/Version.h"
#include "elevated/ScriptCopyHelper.h"
#include "script/basBuildConfigs.h"
#include "launch/WithoutJournal.h"

namespace {

using namespace reelwright;
using namespace reelwright::test;
using Strings = std::vector<std::string>;

constexpr const char* kProgramFolder = "C:\\Tools\\Reelwright";
constexpr const char* kProgramScript = "C:\\Tools\\Reelwright\\Reelwright.cfg";
const std::string kGame = "C:\\Games\\SOF2";

class LaunchTest : public ::testing::Test, protected FakeServices {
protected:
    LaunchTest() {
        services.location = {kProgramFolder, "Reelwright"};
        store.Put(kSectionSettings, kKeyGamePath, std::string("  ") + kGame + " ");
    }

    void Queue(const std::string& name, const std::string& gameType) {
        queue.Append({name, gameType, std::string(kGame) + "\\" + gameType + "\\demos\\" + name});
    }
    bool Run(const std::string& optional = "") {
        journal.entries.clear();
        // Without a journal, the question it brings answered Yes: the
        // session restore has tests of its own.
        return LaunchWithoutJournal(*this, withoutJournal, queue, optional);
    }
    Strings JournalOf(const std::string& prefix) const {
        Strings found;
        for (const auto& entry : journal.entries)
            if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
        return found;
    }
    // The file operations and the start, in order.
    Strings Actions() const {
        Strings found;
        for (const auto& entry : journal.entries)
            if (entry.rfind("get ", 0) != 0) found.push_back(entry);
        return found;
    }

    // The game's session from the last start: its command line run, the
    // script read from the game-type folder `gameType`, then `keys` pressed.
    Strings Session(const std::string& gameType, const Strings& keys) {
        if (shell.calls.empty()) return {};
        return PlaySession(shell.calls.back().parameters,
                           [this, gameType](const std::string& name) -> std::optional<std::string> {
                               const auto found = files.files.find(std::string(kGame) + "\\" + gameType + "\\" + name);
                               if (found == files.files.end()) return std::nullopt;
                               return found->second;
                           },
                           keys);
    }

    DemoQueue queue;
    PlayWithoutJournal withoutJournal{prompts};
};

TEST_F(LaunchTest, ReadsSettingsInOrderWithItsOwnAppKey) {
    Queue("a.dm_2004", "base\\mp");
    Run();
    EXPECT_EQ(JournalOf("get "),
              (Strings{"get Settings/Min on Playback", "get Binds/Bind0", "get Binds/Bind7", "get Binds/Bind3",
                       "get Binds/Bind1", "get Binds/Bind2", "get Binds/Bind5", "get Binds/Bind4",
                       "get Binds/Bind6", "get Settings/SOF2 Path"}));
}

TEST_F(LaunchTest, OneDemoStartsTheGameOnItWithTrimmedOptionalParameters) {
    Queue("duel.dm_2004", "base\\mp");
    EXPECT_TRUE(Run("  +set r_mode 4  "));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "C:\\Games\\SOF2\\SoF2MP.exe");
    EXPECT_EQ(shell.calls[0].parameters,
              "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo duel.dm_2004 +set r_mode 4");
    EXPECT_EQ(shell.calls[0].directory, kGame);
    EXPECT_EQ(shell.calls[0].showMode, 3);
    // Nothing is written or copied for one demo.
    EXPECT_EQ(Actions().size(), 1u);

    Run("   ");
    EXPECT_EQ(shell.calls.back().parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo duel.dm_2004");
}

TEST_F(LaunchTest, TwoDemosWriteCopyThenStartWithTheScript) {
    Queue("duel.dm_2004", "base\\mp");
    Queue("ctf1.dm_2004", "mymod");
    files.files["C:\\Games\\SOF2\\mymod\\SOF2MP.exe"] = "";
    files.files["C:\\Games\\SOF2\\mymod\\SOF2MP.cfg"] = "";
    files.files["C:\\Games\\SOF2\\base\\mp\\SOF2MP.cfg"] = "";

    EXPECT_TRUE(Run("+ignored"));
    EXPECT_EQ(Actions(),
              (Strings{"write C:\\Tools\\Reelwright\\Reelwright.cfg",
                       "exists C:\\Games\\SOF2\\base\\mp\\SOF2MP.exe",
                       "copy C:\\Tools\\Reelwright\\Reelwright.cfg -> C:\\Games\\SOF2\\base\\mp\\Reelwright.cfg",
                       "exists C:\\Games\\SOF2\\mymod\\SOF2MP.exe",
                       "readonly C:\\Games\\SOF2\\mymod\\SOF2MP.cfg",
                       "copy C:\\Tools\\Reelwright\\Reelwright.cfg -> C:\\Games\\SOF2\\mymod\\Reelwright.cfg",
                       "shellopen C:\\Games\\SOF2\\SoF2MP.exe | +set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo "
                       "duel.dm_2004+exec Reelwright.cfg | C:\\Games\\SOF2 | 3"}));
    // Read-only only where the executable lies beside the config.
    EXPECT_EQ(files.readOnly, (std::set<std::string>{"C:\\Games\\SOF2\\mymod\\SOF2MP.cfg"}));

    // Each game-type folder holds the script written beside the program. In
    // the game its fallback keys step through both demos in queue order and
    // do what their names say.
    const std::string& script = files.files[kProgramScript];
    EXPECT_EQ(files.files["C:\\Games\\SOF2\\base\\mp\\Reelwright.cfg"], script);
    EXPECT_EQ(files.files["C:\\Games\\SOF2\\mymod\\Reelwright.cfg"], script);
    EXPECT_EQ(Session("base\\mp", {"F1", "F1", "F2", "F6", "F7", "F5", "F8", "F4", "F3"}),
              (Strings{"demo duel.dm_2004", "demo ctf1.dm_2004", "demo duel.dm_2004", "demo ctf1.dm_2004",
                       "timescale 0.90", "timescale 2", "cl_freezedemo 1", "cg_thirdperson 1", "cl_freezedemo 0",
                       "stopdemo"}));
}

// Without a place for the session journal nothing will put
// the game's config back, so a launch of two or more demos asks first; one
// demo changes no config and asks nothing. No starts nothing.
TEST_F(LaunchTest, WithoutAPlaceForTheJournalTwoDemosAskFirst) {
    Queue("duel.dm_2004", "base\\mp");
    EXPECT_TRUE(Run());
    EXPECT_TRUE(withoutJournal.asked.empty());
    Queue("ctf1.dm_2004", "base\\mp");
    EXPECT_TRUE(Run());
    ASSERT_EQ(withoutJournal.asked.size(), 1u);
    EXPECT_NE(withoutJournal.asked[0].find("the game's config will keep the script's keys"), std::string::npos);
    EXPECT_EQ(shell.calls.size(), 2u);

    journal.entries.clear();
    sessions.journalPath.clear();
    prompts.messageAnswers = {MessageAnswer::No};
    EXPECT_FALSE(Launch(services, sessions, queue, ""));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Demo keys");
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Actions(), (Strings{"message Reelwright - Demo keys"}));
    EXPECT_EQ(shell.calls.size(), 2u);
}

TEST_F(LaunchTest, StoredBindsReachTheirPlaces) {
    const Strings keys = {"n0", "p1", "x2", "s3", "f4", "w5", "t6", "v7"};
    for (int i = 0; i < 8; ++i) store.Put(kSectionBinds, BindKey(i), keys[i]);
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "base\\mp");
    Run();
    // Bind0 next, Bind7 previous, then slow, fast, pause, third person,
    // resume and stop; the fallback keys are left alone.
    EXPECT_EQ(Session("base\\mp", {"n0", "v7", "v7", "w5", "f4", "x2", "t6", "p1", "s3", "F1", "F6"}),
              (Strings{"demo a.dm_2004", "demo b.dm_2004", "demo a.dm_2004", "demo b.dm_2004", "timescale 0.90",
                       "timescale 2", "cl_freezedemo 1", "cg_thirdperson 1", "cl_freezedemo 0", "stopdemo", "", ""}));
    // Same game type twice: one copy step.
    EXPECT_EQ(JournalOf("copy ").size(), 1u);
}

TEST_F(LaunchTest, GameTypeListIsCaseSensitiveAndSkipsTheEmptyOne) {
    // Game types with blanks never get here: the console rules refuse them.
    for (const char* type : {"mymod", "", "MyMod", "mymod", "base\\mp", "MyMod", "demos\\x"}) Queue("d.dm_2004", type);
    Run();
    EXPECT_EQ(JournalOf("copy "),
              (Strings{"copy C:\\Tools\\Reelwright\\Reelwright.cfg -> C:\\Games\\SOF2\\mymod\\Reelwright.cfg",
                       "copy C:\\Tools\\Reelwright\\Reelwright.cfg -> C:\\Games\\SOF2\\MyMod\\Reelwright.cfg",
                       "copy C:\\Tools\\Reelwright\\Reelwright.cfg -> C:\\Games\\SOF2\\base\\mp\\Reelwright.cfg",
                       "copy C:\\Tools\\Reelwright\\Reelwright.cfg -> C:\\Games\\SOF2\\demos\\x\\Reelwright.cfg"}));
}

TEST_F(LaunchTest, FailingStepsAreSkipped) {
    store.failingKeys = {"Binds/Bind5", "Binds/Bind0"};
    Queue("a.dm_2004", "one");
    Queue("b.dm_2004", "two");
    Queue("c.dm_2004", "three");
    files.files["C:\\Games\\SOF2\\one\\SOF2MP.exe"] = "";
    files.files["C:\\Games\\SOF2\\two\\SOF2MP.exe"] = "";
    files.files["C:\\Games\\SOF2\\two\\SOF2MP.cfg"] = "";
    // one: SOF2MP.cfg missing, so the attribute cannot be set; two: the copy fails.
    files.failingPaths.insert("C:\\Games\\SOF2\\two\\Reelwright.cfg");

    EXPECT_TRUE(Run());
    EXPECT_EQ(JournalOf("get ").size(), 10u);
    EXPECT_EQ(JournalOf("copy ").size(), 3u);
    EXPECT_EQ(files.files.count("C:\\Games\\SOF2\\one\\Reelwright.cfg"), 1u);
    EXPECT_EQ(files.files.count("C:\\Games\\SOF2\\two\\Reelwright.cfg"), 0u);
    EXPECT_EQ(files.files.count("C:\\Games\\SOF2\\three\\Reelwright.cfg"), 1u);
    EXPECT_EQ(shell.calls.size(), 1u);
    // Keys that cannot be read are bound as if nothing were stored.
    EXPECT_NE(files.files[kProgramScript].find("bind F6 \"vstr slomo\""), std::string::npos);
    EXPECT_NE(files.files[kProgramScript].find("bind F1 \"vstr demonext\""), std::string::npos);
}

TEST_F(LaunchTest, FailedProgramFolderWriteStillGivesTheGameTheFreshScript) {
    files.files[kProgramScript] = "stale script";
    files.failingPaths.insert(kProgramScript);
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "mymod");
    Run();
    EXPECT_EQ(files.files[kProgramScript], "stale script");
    EXPECT_EQ(JournalOf("copy ").size(), 0u);
    EXPECT_EQ(JournalOf("write "), (Strings{"write C:\\Tools\\Reelwright\\Reelwright.cfg",
                                            "write C:\\Games\\SOF2\\base\\mp\\Reelwright.cfg",
                                            "write C:\\Games\\SOF2\\mymod\\Reelwright.cfg"}));
    const std::string fresh = files.files["C:\\Games\\SOF2\\mymod\\Reelwright.cfg"];
    EXPECT_NE(fresh.find("demo2 \"demo b.dm_2004 ;"), std::string::npos);
    EXPECT_EQ(files.files["C:\\Games\\SOF2\\base\\mp\\Reelwright.cfg"], fresh);
    EXPECT_EQ(shell.calls.size(), 1u);
}

TEST_F(LaunchTest, MinimiseFollowsTheStoredValueInEveryCase) {
    // Empty queue: nothing started, still minimised (the default is 1).
    EXPECT_TRUE(Run());
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(Actions().empty());

    // No game folder: nothing started even with demos queued.
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "base\\mp");
    store.Put(kSectionSettings, kKeyGamePath, "   ");
    EXPECT_TRUE(Run());
    EXPECT_TRUE(Actions().empty());

    store.Put(kSectionSettings, kKeyGamePath, kGame);
    for (const char* value : {" 1 ", "1.4", "+1"}) {
        store.Put(kSectionSettings, kKeyMinOnPlayback, value);
        EXPECT_TRUE(Run()) << value;
    }
    for (const char* value : {"0", "2", "yes", "", "70000"}) {
        store.Put(kSectionSettings, kKeyMinOnPlayback, value);
        EXPECT_FALSE(Run()) << value;
    }
    EXPECT_EQ(shell.calls.size(), 8u);

    store.failingKeys = {"Settings/Min on Playback"};
    EXPECT_FALSE(Run());
    EXPECT_EQ(shell.calls.size(), 9u);
}

TEST_F(LaunchTest, SecondPressRewritesAndStartsAgain) {
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "base\\mp");
    Run();
    files.files[kProgramScript] = "changed";
    Run();
    EXPECT_NE(files.files[kProgramScript], "changed");
    EXPECT_EQ(files.files["C:\\Games\\SOF2\\base\\mp\\Reelwright.cfg"], files.files[kProgramScript]);
    EXPECT_EQ(shell.calls.size(), 2u);
}

// Launch refused: one stop box, then nothing written, nothing started, and the
// window not minimised.
void ExpectRefused(bool minimise, const Journal& journal, const FakePrompts& prompts, const std::string& expectedLine) {
    EXPECT_FALSE(minimise);
    Strings actions;
    for (const auto& entry : journal.entries)
        if (entry.rfind("get ", 0) != 0) actions.push_back(entry);
    EXPECT_EQ(actions, (Strings{"message Reelwright - Error playing demo."}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::Ok);
    EXPECT_NE(prompts.messages[0].text.find(expectedLine), std::string::npos) << prompts.messages[0].text;
}

TEST_F(LaunchTest, OneDemoWithABlankOrSemicolonIsQuotedAndOthersStayAsTheyAre) {
    Queue("my duel.dm_2004", "base\\mp");
    EXPECT_TRUE(Run("+set r_mode 4"));
    EXPECT_EQ(shell.calls.back().parameters,
              "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo \"my duel.dm_2004\" +set r_mode 4");
    queue.Clear();
    Queue("a;b.dm_2004", "mymod");
    Run();
    EXPECT_EQ(shell.calls.back().parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo \"a;b.dm_2004\"");
    queue.Clear();
    Queue("sub\\\xc3\xa9t\xc3\xa9.dm_2004", "mymod");  // bytes of 0x80 or above split it too
    Run();
    EXPECT_EQ(shell.calls.back().parameters,
              "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo \"sub\\\xc3\xa9t\xc3\xa9.dm_2004\"");
    queue.Clear();
    Queue("a/b.dm_2004", "mymod");
    Run();
    EXPECT_EQ(shell.calls.back().parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo \"a/b.dm_2004\"");
    queue.Clear();
    Queue("plain_1.dm_2004", "mymod");
    Run();
    EXPECT_EQ(shell.calls.back().parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo plain_1.dm_2004");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(LaunchTest, QueueOfTwoHoldingABlankIsRefused) {
    Queue("duel.dm_2004", "base\\mp");
    Queue("my duel.dm_2004", "mymod");
    const bool minimise = Run();
    ExpectRefused(minimise, journal, prompts,
                  "\r\nmymod\\demos\\my duel.dm_2004: its name holds a blank, \";\" or \"/\", which the playback "
                  "script of several demos cannot take. Rename the file, or play it alone.");
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error playing demo.");
    EXPECT_EQ(prompts.messages[0].text.find("The game cannot take the name of this queued demo, so nothing was "
                                            "written and the game was not started:\r\n"),
              0u);
}

TEST_F(LaunchTest, PlusIsRefusedOnlyInTheNameOnTheCommandLine) {
    Queue("a+b.dm_2004", "base\\mp");
    ExpectRefused(Run(), journal, prompts, "base\\mp\\demos\\a+b.dm_2004: the game starts on this demo");

    // Further down a queue the name only goes into the script, which takes it.
    prompts.messages.clear();
    queue.Clear();
    Queue("first.dm_2004", "base\\mp");
    Queue("a+b.dm_2004", "base\\mp");
    EXPECT_TRUE(Run());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_NE(files.files[kProgramScript].find("\"demo a+b.dm_2004 ;"), std::string::npos);
}

TEST_F(LaunchTest, GameTypesWithBlanksSemicolonsOrPlusAreRefusedEvenForOneDemo) {
    for (const char* type : {"my mod", " mymod", "a;b", "a+b"}) {
        prompts.messages.clear();
        queue.Clear();
        Queue("a.dm_2004", type);
        ExpectRefused(Run(), journal, prompts, "demos\\a.dm_2004: its game type folder holds a blank");
    }
}

TEST_F(LaunchTest, CharactersOutsideTheAnsiCodePageAreRefused) {
    Queue("ok.dm_2004", "base\\mp");
    Queue("\xe6\x97\xa5\xe6\x9c\xac.dm_2004", "base\\mp");  // two CJK letters
    Queue("b.dm_2004", "\xd0\xbc\xd0\xbe\xd0\xb4");          // a Cyrillic game type
    ExpectRefused(Run(), journal, prompts, "base\\mp\\demos\\\xe6\x97\xa5\xe6\x9c\xac.dm_2004: its path holds characters");
    EXPECT_NE(prompts.messages[0].text.find("\xd0\xbc\xd0\xbe\xd0\xb4\\demos\\b.dm_2004: its path holds characters"),
              std::string::npos);
    EXPECT_EQ(prompts.messages[0].text.find("ok.dm_2004"), std::string::npos);
}

TEST_F(LaunchTest, AccentedLettersAreRefusedInTheScriptAndInGameTypes) {
    Queue("a.dm_2004", "base\\mp");
    Queue("\xc3\xa9t\xc3\xa9.dm_2004", "base\\mp");
    Queue("b.dm_2004", "m\xc3\xb6" "d");
    ExpectRefused(Run(), journal, prompts,
                  "\r\nbase\\mp\\demos\\\xc3\xa9t\xc3\xa9.dm_2004: its name holds a character outside plain ASCII "
                  "(such as an accented letter), which the playback script of several demos cannot take. Rename the "
                  "file, or play it alone.");
    EXPECT_NE(prompts.messages[0].text.find("\r\nm\xc3\xb6" "d\\demos\\b.dm_2004: its game type folder holds a character "
                                            "outside plain ASCII (such as an accented letter), which the game reads as "
                                            "a blank there. Rename the folder."),
              std::string::npos);
}

TEST_F(LaunchTest, GameFoldersThatBreakTheCommandLineAreRefusedBeforeAnything) {
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "base\\mp");
    store.Put(kSectionSettings, kKeyGamePath, "D:\\Games\\SOF2+exec x");
    ExpectRefused(Run(), journal, prompts,
                  "Your SOF2 folder holds a \"+\", at which the game splits its command line, so the game was not "
                  "started:\r\n\r\nD:\\Games\\SOF2+exec x\r\n\r\nMove or rename the game's folder so that its path "
                  "holds no \"+\" or double quote, then locate it again with File > Locate SOF2.exe File.");
    const std::pair<const char*, const char*> others[] = {
        {"D:\\Ga\"mes", "holds a double quote, which breaks the quotes around the folder"},
        {"D:\\Ga\tmes", "holds a control character (code 9), which breaks the quotes around the folder"},
        // Converted with best-fit, a fullwidth plus would reach the game as "+".
        {"D:\\Games\\SOF2\xef\xbc\x8b" "exec x", "holds the character \"\xef\xbc\x8b\" (U+FF0B), which your system's code page"}};
    for (const auto& [folder, reason] : others) {
        prompts.messages.clear();
        store.Put(kSectionSettings, kKeyGamePath, folder);
        ExpectRefused(Run(), journal, prompts, reason);
    }
}

TEST_F(LaunchTest, DemoKeysTheConsoleCannotTakeAreRefusedWhenTheScriptWouldBindThem) {
    store.Put(kSectionBinds, "Bind0", "F1;quit");
    store.Put(kSectionBinds, "Bind6", " F8");
    store.Put(kSectionBinds, "Bind3", "");  // binds nothing, breaks nothing
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "base\\mp");
    ExpectRefused(Run(), journal, prompts,
                  "The game's console cannot take these demo keys as one key each, so nothing was written and the "
                  "game was not started:\r\n\r\nNext Demo: \"F1;quit\"\r\n3rd Person View: \" F8\"\r\n\r\nChoose "
                  "another key in Tools > Properties, on the Demo Keys page: click into the key's box, press the key "
                  "and then Ok.");
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error playing demo.");

    // One demo plays without the script: the keys play no part.
    prompts.messages.clear();
    queue.Clear();
    Queue("a.dm_2004", "base\\mp");
    EXPECT_TRUE(Run());
    EXPECT_EQ(shell.calls.size(), 1u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(LaunchTest, LongListsOfRefusedDemosAreCutShort) {
    for (int i = 0; i < 23; ++i) Queue("demo " + std::to_string(i) + ".dm_2004", "base\\mp");
    ExpectRefused(Run(), journal, prompts, "base\\mp\\demos\\demo 19.dm_2004: ");
    EXPECT_EQ(prompts.messages[0].text.find("demo 20.dm_2004"), std::string::npos);
    EXPECT_NE(prompts.messages[0].text.find("\r\n... and 3 more."), std::string::npos);
}

TEST_F(LaunchTest, SubFolderNamesReachTheCommandLineAndTheScriptsRing) {
    Queue("sub\\a.dm_2004", "mymod");
    Queue("2026\\june\\b.dm_2004", "base\\mp");
    Queue("c.dm_2004", "");
    Run();
    EXPECT_EQ(shell.calls.back().parameters,
              "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game mymod+demo sub\\a.dm_2004+exec Reelwright.cfg");
    // In the game the keys step around the ring of the three, both ways.
    EXPECT_EQ(Session("mymod", {"F1", "F1", "F1", "F1", "F2", "F2"}),
              (Strings{"demo sub\\a.dm_2004", "demo 2026\\june\\b.dm_2004", "demo c.dm_2004", "demo sub\\a.dm_2004",
                       "demo 2026\\june\\b.dm_2004", "demo sub\\a.dm_2004", "demo c.dm_2004"}));
}

TEST_F(LaunchTest, AGameFolderAtADriveRootIsJoinedOnceAndPassedWithItsSeparator) {
    store.Put(kSectionSettings, kKeyGamePath, "D:\\");
    Queue("a.dm_2004", "base\\mp");
    Queue("b.dm_2004", "mymod");
    Run();
    EXPECT_EQ(JournalOf("copy "),
              (Strings{"copy C:\\Tools\\Reelwright\\Reelwright.cfg -> D:\\base\\mp\\Reelwright.cfg",
                       "copy C:\\Tools\\Reelwright\\Reelwright.cfg -> D:\\mymod\\Reelwright.cfg"}));
    EXPECT_EQ(JournalOf("exists "), (Strings{"exists D:\\base\\mp\\SOF2MP.exe", "exists D:\\mymod\\SOF2MP.exe"}));
    EXPECT_EQ(shell.calls.back().file, "D:\\SoF2MP.exe");
    EXPECT_EQ(shell.calls.back().parameters,
              "+set fs_basepath \"D:\\\" +set fs_game base\\mp+demo a.dm_2004+exec Reelwright.cfg");
    EXPECT_EQ(shell.calls.back().directory, "D:\\");

    store.Put(kSectionSettings, kKeyGamePath, "C:\\Games\\SOF2\\");
    queue.Clear();
    Queue("a.dm_2004", "base\\mp");
    Run();
    EXPECT_EQ(shell.calls.back().parameters, "+set fs_basepath \"C:\\Games\\SOF2\" +set fs_game base\\mp+demo a.dm_2004");
    EXPECT_EQ(shell.calls.back().directory, "C:\\Games\\SOF2");
}

TEST_F(LaunchTest, AGameThatCannotBeStartedIsReportedAndTheWindowStays) {
    shell.error = 2;
    Queue("a.dm_2004", "base\\mp");
    EXPECT_FALSE(Run());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Error playing demo.");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(prompts.messages[0].text,
              "The game could not be started:\r\n\r\nC:\\Games\\SOF2\\SoF2MP.exe\r\n\r\n"
              "System text of error 2. (error 2)\r\n\r\n"
              "Check that SOF2MP.exe is in your SOF2 folder, or locate it again with File > Locate SOF2.exe File.");

    // With several demos the script is in place before the start fails; other
    // errors give no advice about the executable.
    shell.error = 5;
    Queue("b.dm_2004", "base\\mp");
    EXPECT_FALSE(Run());
    EXPECT_EQ(JournalOf("copy ").size(), 1u);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text,
              "The game could not be started:\r\n\r\nC:\\Games\\SOF2\\SoF2MP.exe\r\n\r\nSystem text of error 5. (error 5)");
}

}  // namespace

// Launch of a queue whose script is longer than the game's console takes at
// once, and of one longer than a session should step through: the chain of
// files in the program folder and in every game-type folder, the question and
// its three answers, and the chain through the helper with rights.

namespace {

const std::string kProgram = kProgramFolder;
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
        return LaunchWithoutJournal(*this, withoutJournal, queue, "");
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

    DemoQueue queue;
    PlayWithoutJournal withoutJournal{prompts};
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
