// The helper mode's command line, its checks and its run, against the
// in-memory file system.
#include "launch/ScriptCopyHelper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/basBuildConfigs.h"
#include "support/Fakes.h"

namespace {

using namespace reelwright;
using namespace reelwright::testing;
using Strings = std::vector<std::string>;

TEST(CopyScriptCommandLine, RoundTripsPathsWithBlanksNonAsciiLettersAndEndingBackslashes) {
    const std::vector<CopyScriptRequest> requests{
        {"C:\\Users\\Zoë\\AppData\\Local\\Temp\\rw1A.tmp", "C:\\Program Files (x86)\\Jeux à moi\\SOF2",
         {"base\\mp", "mon mod", "Мод"}},
        {"C:\\Temp\\a.tmp", "D:\\", {"base\\mp"}},
        // Characters no Windows path holds still survive: quotes, backslashes
        // before a quote, tabs.
        {"C:\\Temp\\x\\\"y.tmp", "\\\\server\\share\\games\\", {"a\"b", "tab\there", "end\\\\"}},
        // A script in parts: the later parts' files follow the game types.
        {"C:\\Temp\\rw1.tmp", "C:\\Games\\SOF2", {"base\\mp", "mymod"}, {"C:\\Temp\\rw2.tmp", "C:\\Temp\\rw 3.tmp"}},
    };
    for (const CopyScriptRequest& request : requests) {
        const std::string parameters = BuildCopyScriptParameters(request);
        EXPECT_TRUE(parameters.starts_with("/copy-script \"")) << parameters;
        EXPECT_TRUE(IsCopyScriptCommandLine(parameters));
        EXPECT_EQ(ParseCopyScriptParameters(parameters), request) << parameters;
    }
    EXPECT_EQ(BuildCopyScriptParameters({"C:\\t.tmp", "D:\\", {"base\\mp"}}),
              "/copy-script \"C:\\t.tmp\" \"D:\\\\\" \"base\\mp\"");
}

TEST(CopyScriptCommandLine, SplitsByTheSystemsRules) {
    // The examples the system's documentation of its parser gives.
    EXPECT_EQ(SplitArguments("\"abc\" d e"), (Strings{"abc", "d", "e"}));
    EXPECT_EQ(SplitArguments("a\\\\b d\"e f\"g h"), (Strings{"a\\\\b", "de fg", "h"}));
    EXPECT_EQ(SplitArguments("a\\\\\\\"b c d"), (Strings{"a\\\"b", "c", "d"}));
    EXPECT_EQ(SplitArguments("a\\\\\\\\\"b c\" d e"), (Strings{"a\\\\b c", "d", "e"}));
    EXPECT_EQ(SplitArguments("  \t "), Strings{});
    EXPECT_EQ(SplitArguments("\"\" x"), (Strings{"", "x"}));
}

TEST(CopyScriptCommandLine, OtherCommandLinesAreNotTheHelpers) {
    EXPECT_FALSE(IsCopyScriptCommandLine(""));
    EXPECT_FALSE(IsCopyScriptCommandLine("\"C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004\""));
    EXPECT_FALSE(IsCopyScriptCommandLine("/copy-scripts \"a\" \"b\" \"c\""));
    EXPECT_FALSE(IsCopyScriptCommandLine("\"C:\\x\\/copy-script\""));
    // The switch without all of its arguments is the helper's, but refused.
    EXPECT_TRUE(IsCopyScriptCommandLine("/copy-script \"C:\\t.tmp\" \"C:\\Games\\SOF2\""));
    EXPECT_EQ(ParseCopyScriptParameters("/copy-script \"C:\\t.tmp\" \"C:\\Games\\SOF2\""), std::nullopt);
    EXPECT_EQ(ParseCopyScriptParameters("/copy-script"), std::nullopt);
    EXPECT_EQ(ParseCopyScriptParameters("/copy-script \"C:\\t.tmp\" \"C:\\Games\\SOF2\" \"base\\mp\" /parts"), std::nullopt);
    EXPECT_EQ(ParseCopyScriptParameters("/copy-script \"C:\\t.tmp\" \"C:\\Games\\SOF2\" /parts \"C:\\u.tmp\""), std::nullopt);
    EXPECT_EQ(ParseCopyScriptParameters("\"a\" /copy-script \"b\" \"c\" \"d\""), std::nullopt);
}

class CopyScriptHelperTest : public ::testing::Test {
protected:
    static constexpr const char* kGame = "C:\\Program Files (x86)\\SOF2";
    static constexpr const char* kSource = "C:\\Temp\\rw1.tmp";

    CopyScriptHelperTest() {
        files.files[std::string(kGame) + "\\SOF2MP.exe"] = "";
        files.files[kSource] = std::string(basBuildConfigs::ScriptFirstLine()) + "bind F1 \"vstr demonext\"\r\n";
    }
    CopyScriptCheck Check(const std::string& gameFolder, Strings gameTypes) {
        return CheckCopyScriptRequest(files, {kSource, gameFolder, std::move(gameTypes)});
    }
    int Run(const Strings& gameTypes, const std::string& gameFolder = kGame) {
        journal.entries.clear();
        return RunCopyScriptHelper(files, BuildCopyScriptParameters({kSource, gameFolder, gameTypes}));
    }
    bool Touched() const {
        for (const auto& entry : journal.entries)
            if (entry.starts_with("copy ") || entry.starts_with("readonly ") || entry.starts_with("write "))
                return true;
        return false;
    }

    Journal journal;
    FakeFileSystem files{&journal};
};

TEST_F(CopyScriptHelperTest, AcceptsFoldersBelowAGameFolderWithTheGameAndAScriptOfOurs) {
    EXPECT_EQ(Check(kGame, {"base\\mp", "mon mod", "a.b\\c..d"}), CopyScriptCheck::Accepted);
    files.files["D:\\SOF2MP.exe"] = "";
    EXPECT_EQ(Check("D:\\", {"base\\mp"}), CopyScriptCheck::Accepted);
    files.files["\\\\server\\games\\SOF2MP.exe"] = "";
    EXPECT_EQ(Check("\\\\server\\games", {"base\\mp"}), CopyScriptCheck::Accepted);
}

TEST_F(CopyScriptHelperTest, RefusesAGameFolderWithoutTheGame) {
    EXPECT_EQ(Check("C:\\Windows", {"base\\mp"}), CopyScriptCheck::NoGameExecutable);
    // Only full paths: a relative folder would depend on where the helper runs.
    files.files["SOF2\\SOF2MP.exe"] = "";
    EXPECT_EQ(Check("SOF2", {"base\\mp"}), CopyScriptCheck::NoGameExecutable);
    files.files["C:\\Program Files (x86)\\SOF2\\..\\SOF2MP.exe"] = "";
    EXPECT_EQ(Check("C:\\Program Files (x86)\\SOF2\\..", {"base\\mp"}), CopyScriptCheck::NoGameExecutable);
    files.files["\\\\?\\C:\\SOF2\\SOF2MP.exe"] = "";
    EXPECT_EQ(Check("\\\\?\\C:\\SOF2", {"base\\mp"}), CopyScriptCheck::NoGameExecutable);
}

TEST_F(CopyScriptHelperTest, RefusesATargetOutsideTheGameFolder) {
    for (const char* gameType : {"..", "..\\..\\Windows", "base\\..\\..\\x", "base\\mp\\..", ". .", "...",
                                 "\\Windows", "/Windows", "C:\\Windows", "C:evil", "base\\\\mp", "", "mod\\",
                                 "mod:stream", "mod\\*"})
        EXPECT_EQ(Check(kGame, {"base\\mp", gameType}), CopyScriptCheck::TargetOutsideGameFolder) << gameType;
}

TEST_F(CopyScriptHelperTest, RefusesASourceThatIsNotOneOfOurScripts) {
    files.files[kSource] = "bind F1 \"quit\"\r\n";
    EXPECT_EQ(Check(kGame, {"base\\mp"}), CopyScriptCheck::ForeignSource);
    files.files[kSource] = std::string(basBuildConfigs::ScriptFirstLine()).substr(0, 20);
    EXPECT_EQ(Check(kGame, {"base\\mp"}), CopyScriptCheck::ForeignSource);
    files.files.erase(kSource);
    EXPECT_EQ(Check(kGame, {"base\\mp"}), CopyScriptCheck::ForeignSource);
}

TEST_F(CopyScriptHelperTest, LaterPartsMustBePlaybackEntriesAndGoUnderTheirOwnNames) {
    files.files["C:\\Temp\\rw2.tmp"] = "seta fs_gametype base\\mp ; seta demo2 \"demo b\"\r\n";
    files.files["C:\\Temp\\rw3.tmp"] = "bind F1 \"quit\"\r\n";
    const std::string game = kGame;
    EXPECT_EQ(CheckCopyScriptRequest(files, {kSource, game, {"base\\mp"}, {"C:\\Temp\\rw2.tmp", "C:\\Temp\\rw3.tmp"}}),
              CopyScriptCheck::ForeignSource);
    EXPECT_EQ(RunCopyScriptHelper(files, BuildCopyScriptParameters({kSource, game, {"base\\mp"}, {"C:\\Temp\\rw2.tmp"}})),
              kHelperSucceeded);
    EXPECT_EQ(files.files[game + "\\base\\mp\\Reelwright.cfg"], files.files[kSource]);
    EXPECT_EQ(files.files[game + "\\base\\mp\\Reelwright2.cfg"], files.files["C:\\Temp\\rw2.tmp"]);
}

TEST_F(CopyScriptHelperTest, CopiesAndProtectsTheGameConfigOnlyWhereTheGameLies) {
    const std::string game = kGame;
    files.files[game + "\\mymod\\SOF2MP.exe"] = "";
    files.files[game + "\\mymod\\SOF2MP.cfg"] = "";
    EXPECT_EQ(Run({"base\\mp", "mymod"}), kHelperSucceeded);
    EXPECT_EQ(files.files[game + "\\base\\mp\\Reelwright.cfg"], files.files[kSource]);
    EXPECT_EQ(files.files[game + "\\mymod\\Reelwright.cfg"], files.files[kSource]);
    EXPECT_EQ(files.readOnly, (std::set<std::string>{game + "\\mymod\\SOF2MP.cfg"}));
}

TEST_F(CopyScriptHelperTest, RefusedRequestsTouchNothing) {
    EXPECT_EQ(Run({"base\\mp", "..\\..\\Windows"}), kHelperRefused);
    EXPECT_FALSE(Touched());
    EXPECT_EQ(Run({"base\\mp"}, "C:\\Windows"), kHelperRefused);
    EXPECT_FALSE(Touched());
    journal.entries.clear();
    EXPECT_EQ(RunCopyScriptHelper(files, "/copy-script \"C:\\Temp\\rw1.tmp\""), kHelperRefused);
    EXPECT_TRUE(journal.entries.empty());
}

TEST_F(CopyScriptHelperTest, AFailedStepFailsTheRunButNotTheOtherFolders) {
    const std::string game = kGame;
    files.failingPaths.insert(game + "\\base\\mp\\Reelwright.cfg");
    EXPECT_EQ(Run({"base\\mp", "mymod"}), kHelperStepFailed);
    EXPECT_EQ(files.files.count(game + "\\mymod\\Reelwright.cfg"), 1u);
}

}  // namespace
