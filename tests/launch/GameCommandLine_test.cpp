// The game's command lines, run through the model of the game's console:
// what the game does with them.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "queue/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "support/ConsoleInterpreter.h"

namespace reelwright {
namespace {

using test::ConsoleInterpreter;
using Strings = std::vector<std::string>;

TEST(ConsoleCommandLine, TheGameSplitsAtEveryPlusQuotedOrNot) {
    EXPECT_EQ(ConsoleInterpreter::SplitCommandLine("+set a \"x+y\"+demo b"), (Strings{"set a \"x", "y\"", "demo b"}));
    EXPECT_EQ(ConsoleInterpreter::SplitCommandLine("no plus"), Strings{});
}

TEST(ConsoleCommandLine, TheQuotedOneDemoLineYieldsTheWholeName) {
    for (const char* name : {"my duel.dm_2004", "a;b.dm_2004", "sub\\two words\\a.dm_2004"}) {
        ConsoleInterpreter console;
        console.ExecuteCommandLine(OneDemoParameters("C:\\Games\\SOF2", "mymod", name, " +set r_mode 4 "));
        EXPECT_EQ(console.Take("demo"), Strings{std::string("demo ") + name}) << name;
        EXPECT_EQ(console.Variable("fs_game"), "mymod");
        EXPECT_EQ(console.Variable("r_mode"), "4");
    }
    // Unquoted, the console would have played "my" alone.
    ConsoleInterpreter console;
    console.ExecuteCommandLine("+set fs_game mymod+demo my duel.dm_2004");
    EXPECT_EQ(console.Take("demo"), Strings{"demo my"});
}

TEST(ConsoleCommandLine, ADriveRootReachesTheGameWithItsSeparator) {
    ConsoleInterpreter console;
    console.ExecuteCommandLine(DirectPlaybackParameters("D:\\", {"base\\mp", "sub\\a.dm_2004"}));
    EXPECT_EQ(console.Variable("fs_basepath"), "D:\\");
    EXPECT_EQ(console.Variable("fs_game"), "base\\mp");
    EXPECT_EQ(console.Take("demo"), Strings{"demo sub\\a.dm_2004"});
}

TEST(ConsoleCommandLine, APlusInTheNameOnTheCommandLineBreaksItWhichIsWhyLaunchRefusesIt) {
    ConsoleInterpreter console;
    console.ExecuteCommandLine(OneDemoParameters("C:\\Games\\SOF2", "mymod", "a+b.dm_2004", ""));
    EXPECT_EQ(console.Take("demo"), Strings{"demo a"});
    DemoQueue queue;
    queue.Append({"a+b.dm_2004", "mymod", ""});
    EXPECT_EQ(FindConsoleNameProblems(queue, [](std::string_view) { return true; }),
              (std::vector<RefusedQueuedDemo>{{1, ConsoleNameProblem::PlusInCommandLineName}}));
}

TEST(ConsoleCommandLine, NamesWithBytesOfEightyOrAboveArePassedQuotedOrRefused) {
    const std::string name = "sub\\\xe9t\xe9.dm_2004";  // as the ANSI code page gives it
    // Unquoted, the console reads those bytes as blanks and plays "sub\".
    ConsoleInterpreter unquoted;
    unquoted.ExecuteCommandLine("+demo " + name);
    EXPECT_EQ(unquoted.Take("demo"), Strings{"demo sub\\"});
    // One demo: quoted, it plays whole.
    ConsoleInterpreter console;
    console.ExecuteCommandLine(OneDemoParameters("C:\\Games\\SOF2", "mymod", name, ""));
    EXPECT_EQ(console.Take("demo"), Strings{"demo " + name});

    // In the script of several demos "vstr" runs it unquoted; a game type is
    // never quoted. Both are refused.
    const auto anyAnsi = [](std::string_view) { return true; };
    DemoQueue queue;
    queue.Append({"a.dm_2004", "base\\mp", ""});
    queue.Append({name, "mymod", ""});
    queue.Append({"b.dm_2004", "\xe9mod", ""});
    EXPECT_EQ(FindConsoleNameProblems(queue, anyAnsi),
              (std::vector<RefusedQueuedDemo>{{2, ConsoleNameProblem::OutsideAsciiInScriptName},
                                              {3, ConsoleNameProblem::GameTypeOutsideAscii}}));
    DemoQueue alone;
    alone.Append({name, "mymod", ""});
    EXPECT_TRUE(FindConsoleNameProblems(alone, anyAnsi).empty());
}

TEST(ConsoleCommandLine, GameFoldersThatBreakTheCommandLineAreFoundAndOthersReachTheGameWhole) {
    // "+" starts another command; a quote ends the folder's quotes early.
    ConsoleInterpreter plus;
    plus.ExecuteCommandLine(DirectPlaybackParameters("D:\\Games\\SOF2+exec x", {"base\\mp", "a.dm_2004"}));
    EXPECT_EQ(plus.Take(), (Strings{"exec x.cfg", "demo a.dm_2004"}));
    EXPECT_EQ(plus.Variable("fs_basepath"), "D:\\Games\\SOF2");
    EXPECT_EQ(GameFolderBreakingCharacter("D:\\Games\\SOF2+exec x"), '+');
    EXPECT_EQ(GameFolderBreakingCharacter("D:\\Games\\\"SOF2"), '"');
    EXPECT_EQ(GameFolderBreakingCharacter("D:\\Games\\SO\tF2"), '\t');

    // The same folders, and look-alikes the code page lacks (converted with
    // best-fit they would reach the game as "+" or a quote), in the order
    // they stand; letters of the code page pass.
    const AnsiTest latin1 = [](std::string_view text) {
        return text.empty() || static_cast<unsigned char>(text[0]) < 0xC4;
    };
    const std::pair<const char*, std::optional<std::string>> folders[] = {
        {"D:\\Games\\SOF2+exec x", "+"},
        {"D:\\Games\\SOF2\xef\xbc\x8b" "exec x", "\xef\xbc\x8b"},          // fullwidth plus
        {"D:\\\xef\xbc\x82Games\\So\"F2", "\xef\xbc\x82"},               // fullwidth quote first
        {"D:\\Jeux\\\xc3\xa9t\xc3\xa9\\SO\tF2", "\t"},
        {"D:\\\xe6\x97\xa5\xe6\x9c\xac\\SOF2", "\xe6\x97\xa5"},
        {"D:\\Games\\\xff", "\xff"},                                   // not UTF-8: the byte alone
        {"C:\\Jeux\\\xc3\xa9t\xc3\xa9 (x86); SOF2", std::nullopt},
    };
    for (const auto& [folder, character] : folders)
        EXPECT_EQ(GameFolderRefusedCharacter(folder, latin1), character) << folder;
    EXPECT_EQ(GameFolderRefusedMessage("D:\\SOF2\xef\xbc\x8b", "\xef\xbc\x8b"),
              "Your SOF2 folder holds the character \"\xef\xbc\x8b\" (U+FF0B), which your system's code page (for "
              "programs that do not use Unicode) cannot represent and the game would read as another character, so the "
              "game was not started:\r\n\r\nD:\\SOF2\xef\xbc\x8b\r\n\r\nMove or rename the "
              "game's folder so that its path holds only characters of your system's code page, then locate it "
              "again with File > Locate SOF2.exe File.");
    EXPECT_NE(GameFolderRefusedMessage("D:\\\xf0\x9f\x8e\xae", "\xf0\x9f\x8e\xae").find("(U+1F3AE)"), std::string::npos);

    // Inside the quotes blanks, ";", comments and high bytes are kept.
    for (const char* folder : {"C:\\Program Files (x86)\\SOF2; gold", "C:\\Jeux\\\xc9t\xe9 //SOF2 /*x", "D:\\"}) {
        EXPECT_FALSE(GameFolderBreakingCharacter(folder)) << folder;
        ConsoleInterpreter console;
        console.ExecuteCommandLine(OneDemoParameters(folder, "base\\mp", "a.dm_2004", ""));
        EXPECT_EQ(console.Variable("fs_basepath"), folder);
        EXPECT_EQ(console.Take(), Strings{"demo a.dm_2004"}) << folder;
    }
}

}  // namespace
}  // namespace reelwright
