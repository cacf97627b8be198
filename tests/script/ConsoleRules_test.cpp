// Runs the generated script through a model of the game's console and
// presses its keys: the keys must do in the game what their lines say.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "core/ConsoleKeyName.h"
#include "prefs/KeyNames.h"
#include "script/basBuildConfigs.h"
#include "support/ConsoleInterpreter.h"

namespace {

using reelwright::test::ConsoleInterpreter;
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
    // As the game runs a launch of several demos: it plays the first demo,
    // then runs the script.
    void Load(const Strings& names) {
        console.Execute("demo " + names.front());
        console.Take();
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
    console.Execute("set a \"x ; y\" ; set b two words\r\nset c\"q\"// note ; set d 4\nset e 5");
    EXPECT_EQ(console.Variable("a"), "x ; y");
    EXPECT_EQ(console.Variable("b"), "two words");
    EXPECT_EQ(console.Variable("c"), "q");
    // A "//" comment runs to the line end, over its ';'.
    EXPECT_FALSE(console.Variable("d"));
    EXPECT_EQ(console.Variable("e"), "5");
    // A "/*" comment runs over ';' and line ends; the command ends with it.
    console.Execute("set f b/*x ;\n y*/zz ; set g 7");
    EXPECT_EQ(console.Variable("f"), "b");
    EXPECT_EQ(console.Take(), Strings{"unknown zz"});
    EXPECT_EQ(console.Variable("g"), "7");
    EXPECT_EQ(ConsoleInterpreter::Tokenize(R"(bind F1 "vstr x")"), (Strings{"bind", "F1", "vstr x"}));
}

TEST(ConsoleInterpreter, CommentsAndHighBytesEndAnUnquotedWordAnywhere) {
    // "//" ends the command inside a word; "/*" skips to "*/" or to the end.
    EXPECT_EQ(ConsoleInterpreter::Tokenize("bind a//b \"x\""), (Strings{"bind", "a"}));
    EXPECT_EQ(ConsoleInterpreter::Tokenize("bind a/*c d*/b x"), (Strings{"bind", "a", "b", "x"}));
    EXPECT_EQ(ConsoleInterpreter::Tokenize("set v /* never closed"), (Strings{"set", "v"}));
    // A lone slash or star is an ordinary character.
    EXPECT_EQ(ConsoleInterpreter::Tokenize("bind / * a/b"), (Strings{"bind", "/", "*", "a/b"}));
    // Read as signed characters, every byte of 0x80 or above is a blank
    // outside quotes and kept inside them.
    EXPECT_EQ(ConsoleInterpreter::Tokenize("demo \xe9t\xe9.dm_2004"), (Strings{"demo", "t", ".dm_2004"}));
    EXPECT_EQ(ConsoleInterpreter::Tokenize("demo\x80\xff x"), (Strings{"demo", "x"}));
    EXPECT_EQ(ConsoleInterpreter::Tokenize("set v \"\xe9t\xe9 //x /*y\""), (Strings{"set", "v", "\xe9t\xe9 //x /*y"}));
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

TEST_F(ConsoleRules, TheRingFromTheStartPlaysTheNextDemoFirst) {
    // The game already plays demo 1: the first "next" goes on to demo 2.
    Load({"a.dm_2004", "b.dm_2004", "c.dm_2004"});
    EXPECT_EQ(Press({"F1", "F1", "F2"}, "demo"), (Strings{"demo b.dm_2004", "demo c.dm_2004", "demo b.dm_2004"}));
}

TEST_F(ConsoleRules, TheRingOfTwoFromTheStartPlaysTheSecondDemoFirst) {
    Load({"a.dm_2004", "b.dm_2004"});
    EXPECT_EQ(Press({"F1", "F1", "F2"}, "demo"), (Strings{"demo b.dm_2004", "demo a.dm_2004", "demo b.dm_2004"}));
}

TEST_F(ConsoleRules, NextAndPreviousStepAroundTheRing) {
    Load({"a.dm_2004", "b.dm_2004", "c.dm_2004"});
    EXPECT_EQ(Press({"F1", "F1", "F1", "F1"}, "demo"),
              (Strings{"demo b.dm_2004", "demo c.dm_2004", "demo a.dm_2004", "demo b.dm_2004"}));
    // From b, previous goes back over a and wraps to c.
    EXPECT_EQ(Press({"F2", "F2", "F2"}, "demo"), (Strings{"demo a.dm_2004", "demo c.dm_2004", "demo b.dm_2004"}));
    EXPECT_EQ(Press({"F1", "F2", "F1", "F1"}, "demo"),
              (Strings{"demo c.dm_2004", "demo b.dm_2004", "demo c.dm_2004", "demo a.dm_2004"}));
}

TEST_F(ConsoleRules, PreviousFirstStartsAtTheLastDemo) {
    Load({"a.dm_2004", "b.dm_2004", "c.dm_2004"});
    EXPECT_EQ(Press({"F2", "F2", "F2", "F2"}, "demo"),
              (Strings{"demo c.dm_2004", "demo b.dm_2004", "demo a.dm_2004", "demo c.dm_2004"}));
}

TEST_F(ConsoleRules, TheSameDemoQueuedTwiceAlternatesBetweenItsEntries) {
    Load({"a.dm_2004", "a.dm_2004"});
    EXPECT_EQ(Press({"F1", "F1", "F1"}, "demo"), (Strings{"demo a.dm_2004", "demo a.dm_2004", "demo a.dm_2004"}));
    EXPECT_EQ(console.Variable("demonext"), "vstr demo1");
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

// The two bind lines of the navigation text, with `name` as the next-demo key.
std::string BindLines(const std::string& name) {
    const std::string navigation = basBuildConfigs::BuildNavigationBinds("MOUSE3", name, "", 1, 2);
    return navigation.substr(0, navigation.find("\r\n", navigation.find("\r\n") + 2) + 2);
}

// Runs the two bind lines: true when the console runs nothing else and binds
// exactly the two keys as written.
bool BindsExactly(const std::string& name) {
    ConsoleInterpreter console;
    console.Execute(BindLines(name));
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto& bound = console.Bindings();
    return console.Trace().empty() && bound.size() == 2 && bound.count("mouse3") && bound.count(lower) &&
           bound.at(lower) == "vstr demonext";
}

TEST(ConsoleKeyNames, EveryNameOfTheKeyTableAndTypicalHandTypedNamesBindOneKey) {
    for (int code = 0; code < 256; ++code) {
        const std::string name = basFunctions::KeyCodeToBindName(static_cast<std::int16_t>(code));
        if (name.empty()) continue;
        EXPECT_TRUE(reelwright::IsConsoleKeyName(name)) << name;
        EXPECT_TRUE(BindsExactly(name)) << name;
    }
    for (const char* name : {"mouse2", "KP_DEL", "~", "a/b", "*/", "\\", "MWHEELUP"}) {
        EXPECT_TRUE(reelwright::IsConsoleKeyName(name)) << name;
        EXPECT_TRUE(BindsExactly(name)) << name;
    }
}

TEST(ConsoleKeyNames, NamesThatBreakTheBindLineAreRefused) {
    // "F1;quit" quits the game, "my key" rebinds "my", the comments cut the
    // line, a quote or a byte of 0x80 or above splits the name.
    for (const char* name : {"F1;quit", "my key", "a//b", "a/*b", "F1\"x", "\xe9", "F\xe9" "1", "tab\tkey"}) {
        EXPECT_FALSE(reelwright::IsConsoleKeyName(name)) << name;
        EXPECT_FALSE(BindsExactly(name)) << name;
    }
    ConsoleInterpreter console;
    console.Execute(BindLines("F1;quit"));
    EXPECT_EQ(console.Take(), Strings{"unknown quit"});
    // Harmless to the console, but not one key name as stored: refused too.
    for (const char* name : {" F1", "F1 ", "", "\x7f"}) EXPECT_FALSE(reelwright::IsConsoleKeyName(name)) << name;
}

TEST(ConsoleKeyNames, EveryShortNameTheRuleAcceptsBindsExactlyThatKey) {
    // Every name of up to three characters from the characters that matter.
    const std::string alphabet = "a/*;\" \t\x7f\x80\xe9+\\$";
    std::vector<std::string> names{""};
    for (int length = 1; length <= 3; ++length) {
        std::vector<std::string> longer;
        for (const auto& name : names)
            if (name.size() == static_cast<std::size_t>(length - 1))
                for (char c : alphabet) longer.push_back(name + c);
        names.insert(names.end(), longer.begin(), longer.end());
    }
    int accepted = 0;
    for (const auto& name : names) {
        if (!reelwright::IsConsoleKeyName(name)) continue;
        ++accepted;
        EXPECT_TRUE(BindsExactly(name)) << name;
    }
    EXPECT_GT(accepted, 100);
}

}  // namespace
