// The helper mode's command line, its checks and its run, against the
// in-memory file system.
#include "elevated/ScriptCopyHelper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "script/basBuildConfigs.h"
#include "script/ScriptReader.h"
#include "support/Fakes.h"

namespace {

using namespace reelwright;
using namespace reelwright::test;
using Strings = std::vector<std::string>;

TEST(CopyScriptCommandLine, RoundTripsPathsWithBlanksNonAsciiLettersAndEndingBackslashes) {
    const std::vector<CopyScriptRequest> requests{
        {"C:\\Users\\Zoë\\AppData\\Local\\Temp\\rw1A.tmp", "C:\\Program Files (x86)\\Jeux à moi\\SOF2",
         {"base\\mp", "mon mod", "Мод"}, {}},
        {"C:\\Temp\\a.tmp", "D:\\", {"base\\mp"}, {}},
        // Characters no Windows path holds still survive: quotes, backslashes
        // before a quote, tabs.
        {"C:\\Temp\\x\\\"y.tmp", "\\\\server\\share\\games\\", {"a\"b", "tab\there", "end\\\\"}, {}},
        // A script in parts: the later parts' files follow the game types.
        {"C:\\Temp\\rw1.tmp", "C:\\Games\\SOF2", {"base\\mp", "mymod"}, {"C:\\Temp\\rw2.tmp", "C:\\Temp\\rw 3.tmp"}},
    };
    for (const CopyScriptRequest& request : requests) {
        const std::string parameters = BuildCopyScriptParameters(request);
        EXPECT_TRUE(parameters.starts_with("/copy-script \"")) << parameters;
        EXPECT_TRUE(IsCopyScriptCommandLine(parameters));
        EXPECT_EQ(ParseCopyScriptParameters(parameters), request) << parameters;
    }
    EXPECT_EQ(BuildCopyScriptParameters({"C:\\t.tmp", "D:\\", {"base\\mp"}, {}}),
              "/copy-script \"C:\\t.tmp\" \"D:\\\\\" \"base\\mp\"");
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
        const std::string game = kGame;
        files.files[game + "\\SOF2MP.exe"] = "";
        files.folders = {game + "\\base", game + "\\base\\mp", game + "\\mymod", game + "\\mods\\ctf"};
        script = basBuildConfigs::BuildScript({"F6", "F7", "F5", "F8", "F4", "F3", "F2", "F1"},
                                              std::vector<basBuildConfigs::ScriptEntry>{{"a.dm_2004", "base\\mp"},
                                                                                        {"b.dm_2004", "mymod"},
                                                                                        {"c.dm_2004", "mods\\ctf"}});
        files.files[kSource] = script;
    }
    CopyScriptCheck Check(const std::string& gameFolder, Strings gameTypes) {
        return CheckCopyScriptRequest(files, {kSource, gameFolder, std::move(gameTypes), {}});
    }
    int Run(const Strings& gameTypes, const std::string& gameFolder = kGame) {
        journal.entries.clear();
        return RunCopyScriptHelper(files, BuildCopyScriptParameters({kSource, gameFolder, gameTypes, {}}));
    }
    bool Touched() const {
        for (const auto& entry : journal.entries)
            if (entry.starts_with("copy ") || entry.starts_with("readonly ") || entry.starts_with("write "))
                return true;
        return false;
    }
    // Refused by the checks (for `reason`) and by the run, which touches nothing.
    void ExpectRefused(CopyScriptCheck reason, const Strings& gameTypes, const std::string& gameFolder = kGame) {
        EXPECT_EQ(Check(gameFolder, gameTypes), reason);
        EXPECT_EQ(Run(gameTypes, gameFolder), kHelperRefused);
        EXPECT_FALSE(Touched());
    }

    Journal journal;
    FakeFileSystem files{&journal};
    std::string script;
};

TEST_F(CopyScriptHelperTest, WritesTheCheckedBytesAndProtectsTheGameConfigOnlyWhereTheGameLies) {
    const std::string game = kGame;
    files.files[game + "\\mymod\\SOF2MP.exe"] = "";
    files.files[game + "\\mymod\\SOF2MP.cfg"] = "";
    files.files[game + "\\mymod\\Reelwright.cfg"] = "older script";
    files.files[game + "\\base\\mp\\SOF2MP.cfg"] = "";
    EXPECT_EQ(Run({"base\\mp", "mymod", "mods\\ctf"}), kHelperSucceeded);
    for (const char* gameType : {"\\base\\mp", "\\mymod", "\\mods\\ctf"})
        EXPECT_EQ(files.files[game + gameType + "\\Reelwright.cfg"], script) << gameType;
    EXPECT_EQ(files.readOnly, (std::set<std::string>{game + "\\mymod\\SOF2MP.cfg"}));

    // The source is read once, before anything is written, and never again.
    std::size_t reads = 0;
    for (const auto& entry : journal.entries) reads += entry == std::string("read ") + kSource;
    EXPECT_EQ(reads, 1u);

    // Every write happens while the game folder and each folder on the way
    // down are held; they are let go only after the last write.
    std::set<std::string> held;
    for (const auto& entry : journal.entries) {
        if (entry.starts_with("hold ")) held.insert(entry.substr(5));
        if (entry.starts_with("release ")) held.erase(entry.substr(8));
        if (entry.starts_with("write ") || entry.starts_with("readonly ")) {
            for (const char* folder : {"", "\\base", "\\base\\mp", "\\mymod", "\\mods", "\\mods\\ctf"})
                EXPECT_TRUE(held.count(game + folder)) << entry << " without " << folder;
        }
    }
}

TEST_F(CopyScriptHelperTest, ASourceThatIsNotExactlyOurScriptIsRefused) {
    const std::size_t afterFirstLine = basBuildConfigs::ScriptFirstLine().size();
    std::string changed = script;
    changed[script.find("vstr demonext")] = 'V';
    for (const std::string& source :
         {script.substr(0, afterFirstLine) + "quit\r\n" + script.substr(afterFirstLine), changed, script + "quit\r\n",
          std::string(basBuildConfigs::ScriptFirstLine()) + "bind F1 \"vstr demonext\"\r\n"}) {
        files.files[kSource] = source;
        ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
    }
    // The builder's bytes, but for names that Launch refuses to script: the
    // console would run what follows a ";" or a blank.
    const std::vector<std::vector<basBuildConfigs::ScriptEntry>> unsafe{
        {{"a.dm_2004 ; quit", "base\\mp"}, {"b.dm_2004", "mymod"}},
        {{"a.dm_2004", "base\\mp;quit"}, {"b.dm_2004", "mymod"}},
        {{"a b.dm_2004", "base\\mp"}, {"b.dm_2004", "mymod"}}};
    for (const auto& entries : unsafe) {
        files.files[kSource] = basBuildConfigs::BuildScript({"F6", "F7", "F5", "F8", "F4", "F3", "F2", "F1"}, entries);
        ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
    }
    // The builder's bytes for a key name that Launch refuses: the bind line
    // would end at the quote and run the rest as commands.
    for (const std::string& slow : {std::string("F6 \"vstr slomo\";echo INJECTED;bind F9"), std::string("F3;quit"),
                                    std::string("F3//x"), std::string("\xe9")}) {
        SCOPED_TRACE(slow);
        files.files[kSource] = basBuildConfigs::BuildScript(
            {slow, "F7", "F5", "F8", "F4", "F3", "F2", "F1"},
            std::vector<basBuildConfigs::ScriptEntry>{{"a.dm_2004", "base\\mp"}, {"b.dm_2004", "mymod"}});
        ASSERT_TRUE(basBuildConfigs::ReadOwnScript(files.files[kSource]));
        ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
    }
    // A link in the source's place, a folder, a file too large to be ours, no file.
    files.files[kSource] = script;
    files.reparsePoints.insert(kSource);
    ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
    files.reparsePoints.clear();
    files.files[kSource] = script + std::string(kCopyScriptSourceLimit, ' ');
    ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
    files.files.erase(kSource);
    files.folders.insert(kSource);
    ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
    files.folders.erase(kSource);
    ExpectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"});
}

TEST_F(CopyScriptHelperTest, AChainIsWrittenOnlyWhenEveryPartIsExactlyTheSplitOfOurScript) {
    const std::string game = kGame;
    // Names long enough that the script takes three parts; the game type
    // "mymod" is played only by entries of the last part.
    std::vector<std::string> names;
    for (int i = 0; i < 240; ++i) names.push_back("demo_number_" + std::to_string(i) + ".dm_2004");
    std::vector<basBuildConfigs::ScriptEntry> entries;
    for (int i = 0; i < 240; ++i) entries.push_back({names[i], i < 230 ? "base\\mp" : "mymod"});
    const auto parts = basBuildConfigs::SplitDemoConfig(
        basBuildConfigs::BuildScript({"F6", "F7", "F5", "F8", "F4", "F3", "F2", "F1"}, entries));
    ASSERT_EQ(parts.size(), 3u);
    ASSERT_NE(parts[2].text.find("mymod"), std::string::npos);
    ASSERT_EQ(parts[0].text.find("mymod"), std::string::npos);
    const Strings later{"C:\\Temp\\rw2.tmp", "C:\\Temp\\rw3.tmp"};
    const auto place = [&](const std::vector<std::string>& texts) {
        files.files[kSource] = texts[0];
        for (std::size_t i = 1; i < texts.size(); ++i) files.files[later[i - 1]] = texts[i];
    };
    std::vector<std::string> texts;
    for (const auto& part : parts) texts.push_back(part.text);
    const auto request = [&](Strings gameTypes, Strings laterParts) {
        return CopyScriptRequest{kSource, game, std::move(gameTypes), std::move(laterParts)};
    };
    const auto expectRefused = [&](CopyScriptCheck reason, const Strings& gameTypes, const Strings& laterParts) {
        EXPECT_EQ(CheckCopyScriptRequest(files, request(gameTypes, laterParts)), reason);
        journal.entries.clear();
        EXPECT_EQ(RunCopyScriptHelper(files, BuildCopyScriptParameters(request(gameTypes, laterParts))),
                  kHelperRefused);
        EXPECT_FALSE(Touched());
    };

    // One byte changed in a later part (an entry's ring link, its demo
    // command, a line end), or in the exec line that leads on from the first.
    for (const auto& [part, at] : std::vector<std::pair<std::size_t, std::string>>{
             {1, "set demonext vstr demo"}, {2, "\"demo "}, {2, "\r\n"}, {0, "exec Reelwright2.cfg"}}) {
        SCOPED_TRACE(at);
        std::vector<std::string> changed = texts;
        const std::size_t position = changed[part].find(at);
        ASSERT_NE(position, std::string::npos);
        changed[part][position + at.size() - 1] ^= 1;
        place(changed);
        expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp", "mymod"}, later);
    }
    // The parts in another order, one missing, one given twice, an extra
    // line moved across a boundary, the whole script as one file.
    place({texts[0], texts[2], texts[1]});
    expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"}, later);
    place(texts);
    expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"}, {later[0]});
    expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"}, {later[0], later[1], later[1]});
    const std::size_t lastLine = texts[1].rfind("seta fs_gametype", texts[1].find("exec Reelwright3.cfg"));
    const std::size_t execAt = texts[1].find("exec Reelwright3.cfg");
    place({texts[0], texts[1].substr(0, lastLine) + texts[1].substr(execAt),
           texts[1].substr(lastLine, execAt - lastLine) + texts[2]});
    expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"}, later);
    place({texts[0].substr(0, texts[0].find("exec Reelwright2.cfg")) +
           texts[1].substr(0, texts[1].find("exec Reelwright3.cfg")) + texts[2]});
    expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"}, {});
    // A later part that is a link, or a folder.
    place(texts);
    files.reparsePoints.insert(later[1]);
    expectRefused(CopyScriptCheck::ForeignSource, {"base\\mp"}, later);
    files.reparsePoints.clear();
    // An existing later part in a target that is hard-linked elsewhere.
    files.files[game + "\\mymod\\Reelwright3.cfg"] = "older part";
    files.linkCounts = {{game + "\\mymod\\Reelwright3.cfg", 2}};
    expectRefused(CopyScriptCheck::LinkInTheWay, {"base\\mp", "mymod"}, later);
    files.linkCounts.clear();
    // Game types come from every part's entries.
    expectRefused(CopyScriptCheck::GameTypeNotInScript, {"mods\\ctf"}, later);

    // The valid chain: every part written, exactly, into every folder; every
    // source read once.
    journal.entries.clear();
    EXPECT_EQ(RunCopyScriptHelper(files, BuildCopyScriptParameters(request({"base\\mp", "mymod"}, later))),
              kHelperSucceeded);
    for (const char* gameType : {"\\base\\mp", "\\mymod"})
        for (const auto& part : parts)
            EXPECT_EQ(files.files[game + gameType + "\\" + part.fileName], part.text) << gameType << part.fileName;
    for (const std::string& source : {std::string(kSource), later[0], later[1]}) {
        std::size_t reads = 0;
        for (const auto& entry : journal.entries) reads += entry == "read " + source;
        EXPECT_EQ(reads, 1u) << source;
    }
}

TEST_F(CopyScriptHelperTest, AGameTypeNoEntryPlaysIsRefused) {
    ExpectRefused(CopyScriptCheck::GameTypeNotInScript, {"base\\mp", "othermod"});
    ExpectRefused(CopyScriptCheck::GameTypeNotInScript, {"base"});
    ExpectRefused(CopyScriptCheck::GameTypeNotInScript, {"MyMod"});
    // A subset of the script's game types is what Launch asks for.
    EXPECT_EQ(Check(kGame, {"mymod"}), CopyScriptCheck::Accepted);
}

TEST_F(CopyScriptHelperTest, OnlyAFolderOfALocalFixedDriveHoldingTheGameIsAGameFolder) {
    files.files["D:\\SOF2MP.exe"] = "";
    files.folders.insert("D:\\base\\mp");
    EXPECT_EQ(Check("D:\\", {"base\\mp"}), CopyScriptCheck::Accepted);

    // Network shares and device paths, relative paths and dot steps, and a
    // drive that is not a fixed drive of this machine.
    for (const char* folder : {"\\\\server\\games", "\\\\?\\C:\\SOF2", "\\\\.\\C:\\SOF2", "//server/games", "SOF2",
                               "C:SOF2", "C:\\Program Files (x86)\\SOF2\\..", "D:"}) {
        files.files[std::string(folder) + "\\SOF2MP.exe"] = "";
        ExpectRefused(CopyScriptCheck::NotALocalGameFolder, {"base\\mp"}, folder);
    }
    files.otherDrives.insert("D:");
    ExpectRefused(CopyScriptCheck::NotALocalGameFolder, {"base\\mp"}, "D:\\");

    ExpectRefused(CopyScriptCheck::NoGameExecutable, {"base\\mp"}, "C:\\Windows");
    const std::string game = kGame;
    files.reparsePoints.insert(game + "\\SOF2MP.exe");
    ExpectRefused(CopyScriptCheck::NoGameExecutable, {"base\\mp"});
    files.reparsePoints.clear();
    files.files.erase(game + "\\SOF2MP.exe");
    files.folders.insert(game + "\\SOF2MP.exe");
    ExpectRefused(CopyScriptCheck::NoGameExecutable, {"base\\mp"});
}

TEST_F(CopyScriptHelperTest, RefusesATargetOutsideTheGameFolder) {
    for (const char* gameType : {"..", "..\\..\\Windows", "base\\..\\..\\x", "base\\mp\\..", ". .", "...",
                                 "\\Windows", "/Windows", "C:\\Windows", "C:evil", "base\\\\mp", "", "mod\\",
                                 "mod:stream", "mod\\*"})
        EXPECT_EQ(Check(kGame, {"base\\mp", gameType}), CopyScriptCheck::TargetOutsideGameFolder) << gameType;
}

TEST_F(CopyScriptHelperTest, ALinkOrAFolderThatLeadsElsewhereIsRefusedAtEveryStep) {
    const std::string game = kGame;
    for (const char* step : {"", "\\mods", "\\mods\\ctf"}) {
        SCOPED_TRACE(step);
        // A junction or symbolic link in the step's place.
        files.reparsePoints = {game + step};
        ExpectRefused(CopyScriptCheck::LinkInTheWay, {"mods\\ctf"});
        files.reparsePoints.clear();
        // A folder whose final path is not the game folder's plus the steps.
        if (*step) {
            files.finalPaths = {{game + step, "C:\\Windows" + std::string(step)}};
            ExpectRefused(CopyScriptCheck::LinkInTheWay, {"mods\\ctf"});
        }
    }
    // Ancestors of the game folder may be links: its own final path is the
    // measure, and letter case does not count.
    files.finalPaths = {{game, "E:\\Spiele\\SOF2"},
                        {game + "\\mods", "E:\\Spiele\\SOF2\\MODS"},
                        {game + "\\mods\\ctf", "e:\\spiele\\sof2\\mods\\ctf"},
                        {game + "\\SOF2MP.exe", "E:\\Spiele\\SOF2\\SOF2MP.exe"}};
    EXPECT_EQ(Check(kGame, {"mods\\ctf"}), CopyScriptCheck::Accepted);
    files.finalPaths[game + "\\mods\\ctf"] = "E:\\Spiele\\SOF2\\ctf";
    ExpectRefused(CopyScriptCheck::LinkInTheWay, {"mods\\ctf"});
}

TEST_F(CopyScriptHelperTest, ATargetFileThatIsALinkAFolderOrHardLinkedIsRefused) {
    const std::string game = kGame;
    const std::string target = game + "\\mymod\\Reelwright.cfg";
    const std::string config = game + "\\mymod\\SOF2MP.cfg";
    files.files[game + "\\mymod\\SOF2MP.exe"] = "";
    files.files[config] = "";
    files.files[target] = "older script";

    files.reparsePoints = {target};
    ExpectRefused(CopyScriptCheck::LinkInTheWay, {"base\\mp", "mymod"});
    files.reparsePoints = {config};
    ExpectRefused(CopyScriptCheck::LinkInTheWay, {"base\\mp", "mymod"});
    files.reparsePoints.clear();
    for (const std::string& path : {target, config}) {
        files.linkCounts = {{path, 2}};
        ExpectRefused(CopyScriptCheck::LinkInTheWay, {"base\\mp", "mymod"});
    }
    files.linkCounts.clear();
    files.finalPaths = {{target, "C:\\Windows\\System32\\x.dll"}};
    ExpectRefused(CopyScriptCheck::LinkInTheWay, {"base\\mp", "mymod"});
    files.finalPaths.clear();
    files.files.erase(target);
    files.folders.insert(target);
    ExpectRefused(CopyScriptCheck::LinkInTheWay, {"base\\mp", "mymod"});
    EXPECT_EQ(files.files[config], "");
    EXPECT_TRUE(files.readOnly.empty());
}

TEST_F(CopyScriptHelperTest, ANewFileThatLandsElsewhereIsRemovedThroughItsHandle) {
    // The last folder was replaced by a junction after it was checked: the
    // new script's final path lies elsewhere.
    const std::string game = kGame;
    const std::string target = game + "\\mymod\\Reelwright.cfg";
    files.finalPaths = {{target, "C:\\Windows\\System32\\Reelwright.cfg"}};
    EXPECT_EQ(Run({"base\\mp", "mymod"}), kHelperStepFailed);
    EXPECT_EQ(files.files.count(target), 0u);
    EXPECT_EQ(files.files[game + "\\base\\mp\\Reelwright.cfg"], script);
    const auto at = [&](const std::string& entry) {
        return std::find(journal.entries.begin(), journal.entries.end(), entry) - journal.entries.begin();
    };
    EXPECT_LT(at("delete " + target), at("release " + target));
    EXPECT_EQ(at("write " + target), static_cast<std::ptrdiff_t>(journal.entries.size()));
}

TEST_F(CopyScriptHelperTest, AFailedStepFailsTheRunButNotTheOtherFolders) {
    const std::string game = kGame;
    files.failingPaths.insert(game + "\\base\\mp\\Reelwright.cfg");
    EXPECT_EQ(Run({"base\\mp", "mymod"}), kHelperStepFailed);
    EXPECT_EQ(files.files[game + "\\mymod\\Reelwright.cfg"], script);
    // A folder that does not exist is a failed step too, not a refusal.
    files.failingPaths.clear();
    files.folders.erase(game + "\\mods\\ctf");
    EXPECT_EQ(Run({"mods\\ctf", "mymod"}), kHelperStepFailed);
    EXPECT_EQ(files.files.count(game + "\\mods\\ctf\\Reelwright.cfg"), 0u);
}

}  // namespace
