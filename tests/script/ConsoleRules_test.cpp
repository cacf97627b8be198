// Runs the generated script through a model of the game's console and
// presses its keys: the keys must do in the game what their lines say.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "script/basBuildConfigs.h"
#include "support/ConsoleInterpreter.h"

namespace {

using reelwright::testing::ConsoleInterpreter;
using Strings = std::vector<std::string>;

std::string ScriptFor(const Strings& names) {
    std::string chain;
    const auto last = static_cast<std::int16_t>(names.size());
    for (std::int16_t i = 1; i <= last; ++i) chain += basBuildConfigs::BuildDemoEntry(1, last, i, names[i - 1], "base\\mp");
    return basBuildConfigs::ComposeDemoConfig(basBuildConfigs::BuildViewerScripts("F6", "F7", "F5", "F8", "F4", "F3"),
                                              basBuildConfigs::BuildNavigationBinds("F2", "F1", chain, 1, last));
}

class ConsoleRules : public ::testing::Test {
protected:
    void Load(const Strings& names) {
        console.Execute(ScriptFor(names));
        loadTrace = console.Take();
    }
    Strings Press(const Strings& keys, const std::string& prefix = "") {
        for (const auto& key : keys) console.PressKey(key);
        return console.Take(prefix);
    }

    ConsoleInterpreter console;
    Strings loadTrace;
};

TEST(ConsoleInterpreter, SplitsAtSemicolonsOutsideQuotesOnly) {
    ConsoleInterpreter console;
    console.Execute("set a \"x ; y\" ; set b two words\r\nset c\"q\"// note ; set d 4");
    EXPECT_EQ(console.Variable("a"), "x ; y");
    EXPECT_EQ(console.Variable("b"), "two words");
    EXPECT_EQ(console.Variable("c"), "q");
    // A comment ends the command, not the line.
    EXPECT_EQ(console.Variable("d"), "4");
    EXPECT_EQ(ConsoleInterpreter::Tokenize(R"(bind F1 "vstr x")"), (Strings{"bind", "F1", "vstr x"}));
}

TEST(ConsoleInterpreter, VstrRunsTheTextBeforeWhatFollows) {
    ConsoleInterpreter console;
    console.Execute("set v \"echo one; echo two\"\nvstr v; echo three\nnosuch 1");
    EXPECT_EQ(console.Take(), (Strings{"echo one", "echo two", "echo three", "unknown nosuch"}));
}

TEST(ConsoleInterpreter, ExecPutsTheFileAheadOfWhatFollowsAndDropsWhatOverflowsTheBufferWhole) {
    ConsoleInterpreter console(64);
    console.SetFileSource([](const std::string& name) -> std::optional<std::string> {
        if (name == "small.cfg") return "echo in small";
        // 63 bytes and the line end the insertion adds fill the buffer exactly.
        if (name == "exact.cfg") return std::string(50, ' ') + "echo in exact";
        if (name == "large.cfg") return std::string(60, ' ') + "echo in large";
        return std::nullopt;
    });
    console.Execute("exec small; echo after small");
    EXPECT_EQ(console.Take(), (Strings{"exec small.cfg", "echo in small", "echo after small"}));
    // What waits behind the exec line counts: the file does not fit beside it.
    console.Execute("exec exact.cfg; echo after exact");
    EXPECT_EQ(console.Take(), (Strings{"exec exact.cfg", "Cbuf_InsertText overflowed", "echo after exact"}));
    console.Execute("exec exact.cfg");
    EXPECT_EQ(console.Take(), (Strings{"exec exact.cfg", "echo in exact"}));
    console.Execute("exec large.cfg\nexec missing.cfg");
    EXPECT_EQ(console.Take(), (Strings{"exec large.cfg", "Cbuf_InsertText overflowed", "exec missing.cfg",
                                       "couldn't exec missing.cfg"}));
    // The command line is added at the end, keeping one byte free.
    ConsoleInterpreter line(20);
    line.ExecuteCommandLine("+echo 12345678+echo abcdefgh");
    EXPECT_EQ(line.Take(), (Strings{"Cbuf_AddText: overflow", "echo 12345678"}));
}

TEST(ConsoleInterpreter, OneVariableBeyondTheLimitEndsTheConsole) {
    ConsoleInterpreter console;
    console.SetVariableLimit(6);  // its own four and two more
    console.Execute("set a 1; set b 2; set a 3; set c 4; echo not reached");
    EXPECT_EQ(console.FatalError(), "MAX_CVARS");
    EXPECT_EQ(console.Variable("a"), "3");
    EXPECT_FALSE(console.Variable("c"));
    EXPECT_EQ(console.VariableCount(), 6u);
    console.Execute("echo nothing runs after the end");
    EXPECT_TRUE(console.Take("echo").empty());
}

TEST(ConsoleInterpreter, AnEntryQuotedFromTheGameTypeOnDefinesNoDemo) {
    // With the opening quote right after "seta fs_gametype ", the whole entry
    // becomes the value of fs_gametype and "next" finds no demo variable.
    ConsoleInterpreter console;
    console.Execute("bind F1 \"vstr demonext\"\nseta demonext \"vstr demo1\"\n"
                    "seta fs_gametype \"base\\mp ; seta demo1 demo a.dm_2004 ; set demonext vstr demo2 ; "
                    "set demopre vstr demo2\"\r\n");
    EXPECT_FALSE(console.Variable("demo1"));
    console.PressKey("F1");
    EXPECT_TRUE(console.Take("demo").empty());
}

TEST_F(ConsoleRules, LoadingRunsEveryLineButTheHeader) {
    Load({"a.dm_2004", "b.dm_2004"});
    // The game rejects the two header lines and the column header as unknown
    // commands; nothing else may be unknown, and loading starts no demo.
    EXPECT_EQ(loadTrace, (Strings{"unknown \\\\", "unknown \\\\",
                                  "unknown \\\\___vstr_____command___________________next______________________"
                                  "previous__________"}));
    EXPECT_EQ(console.Variable("fs_gametype"), "base\\mp");
    EXPECT_EQ(console.Variable("demo1"), "demo a.dm_2004 ; set demonext vstr demo2 ; set demopre vstr demo2");
    for (const char* key : {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8"}) EXPECT_TRUE(console.Binding(key)) << key;
}

TEST_F(ConsoleRules, NextAndPreviousStepAroundTheRing) {
    Load({"a.dm_2004", "b.dm_2004", "c.dm_2004"});
    EXPECT_EQ(Press({"F1", "F1", "F1", "F1"}, "demo"),
              (Strings{"demo a.dm_2004", "demo b.dm_2004", "demo c.dm_2004", "demo a.dm_2004"}));
    // From a, previous wraps to c and goes back.
    EXPECT_EQ(Press({"F2", "F2", "F2"}, "demo"), (Strings{"demo c.dm_2004", "demo b.dm_2004", "demo a.dm_2004"}));
    EXPECT_EQ(Press({"F1", "F2", "F1", "F1"}, "demo"),
              (Strings{"demo b.dm_2004", "demo a.dm_2004", "demo b.dm_2004", "demo c.dm_2004"}));
}

TEST_F(ConsoleRules, PreviousFirstStartsAtTheLastDemo) {
    Load({"a.dm_2004", "b.dm_2004", "c.dm_2004"});
    EXPECT_EQ(Press({"F2", "F2", "F2", "F2"}, "demo"),
              (Strings{"demo c.dm_2004", "demo b.dm_2004", "demo a.dm_2004", "demo c.dm_2004"}));
}

TEST_F(ConsoleRules, TwoDemosAlternate) {
    Load({"a.dm_2004", "a.dm_2004"});
    EXPECT_EQ(Press({"F1", "F1", "F1"}, "demo"), (Strings{"demo a.dm_2004", "demo a.dm_2004", "demo a.dm_2004"}));
    EXPECT_EQ(console.Variable("demonext"), "vstr demo2");
}

TEST_F(ConsoleRules, SlowMotionSlowsDownThenReturns) {
    Load({"a.dm_2004", "b.dm_2004"});
    EXPECT_EQ(Press({"F6"}), (Strings{"timescale 0.90", "wait 10", "timescale 0.70", "wait 10", "timescale 0.50",
                                      "wait 10", "timescale 0.40"}));
    EXPECT_EQ(Press({"F6"}), (Strings{"timescale 0.60", "wait", "timescale 0.80", "wait", "timescale 1"}));
    EXPECT_EQ(Press({"F6"}, "timescale").front(), "timescale 0.90");
}

TEST_F(ConsoleRules, FastMotionToggles) {
    Load({"a.dm_2004", "b.dm_2004"});
    EXPECT_EQ(Press({"F7", "F7", "F7"}), (Strings{"timescale 2", "timescale 1", "timescale 2"}));
}

TEST_F(ConsoleRules, PauseTogglesAndPlayResumesWithoutTouchingTheToggle) {
    Load({"a.dm_2004", "b.dm_2004"});
    EXPECT_EQ(Press({"F5"}), (Strings{"cl_freezedemo 1", "echo Paused"}));
    EXPECT_EQ(Press({"F5"}), (Strings{"cl_freezedemo 0", "echo Playing"}));
    EXPECT_EQ(Press({"F5", "F4"}), (Strings{"cl_freezedemo 1", "echo Paused", "cl_freezedemo 0"}));
    // Play left the toggle pointing at "playing".
    EXPECT_EQ(Press({"F5"}), (Strings{"cl_freezedemo 0", "echo Playing"}));
}

TEST_F(ConsoleRules, ThirdPersonTogglesAndStopStops) {
    Load({"a.dm_2004", "b.dm_2004"});
    EXPECT_EQ(Press({"F8", "F8"}), (Strings{"cg_thirdperson 1", "echo 3rd Person", "cg_thirdperson 0", "echo Normal"}));
    EXPECT_EQ(Press({"F3"}), (Strings{"stopdemo"}));
}

}  // namespace
