// The model of the game's console itself: how it splits, comments, runs vstr
// and exec, and ends at the variable limit.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/ConsoleInterpreter.h"

namespace reelwright {
namespace {

using test::ConsoleInterpreter;
using Strings = std::vector<std::string>;

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

}  // namespace
}  // namespace reelwright
