// A script longer than the game's console takes at once, written as a chain
// of files: how it is split, and what the game's console makes of the chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "launch/GameCommandLine.h"
#include "script/basBuildConfigs.h"
#include "support/ConsoleInterpreter.h"

namespace {

using basBuildConfigs::ScriptPart;
using basBuildConfigs::SplitDemoConfig;
using reelwright::kScriptPartLimit;
using reelwright::test::ConsoleInterpreter;
using Strings = std::vector<std::string>;

std::string Name(int i) { return "match" + std::to_string(10000 + i).substr(1) + ".dm_2004"; }

std::string ScriptOf(const Strings& names) {
    std::string chain;
    const auto last = static_cast<std::int16_t>(names.size());
    for (std::int16_t i = 1; i <= last; ++i)
        chain += basBuildConfigs::BuildDemoEntry(1, last, i, names[i - 1], i % 2 ? "base\\mp" : "mymod");
    return basBuildConfigs::ComposeDemoConfig(basBuildConfigs::BuildViewerScripts("F6", "F7", "F5", "F8", "F4", "F3"),
                                              basBuildConfigs::BuildNavigationBinds("F2", "F1", chain, 1, last));
}

Strings Names(int count) {
    Strings names;
    for (int i = 1; i <= count; ++i) names.push_back(Name(i));
    return names;
}

// The parts joined again without their exec lines.
std::string Rejoined(const std::vector<ScriptPart>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i].text;
        if (i + 1 < parts.size()) part.resize(part.size() - ("exec " + parts[i + 1].fileName + "\r\n").size());
        text += part;
    }
    return text;
}

// The demo's position in the queue from "demo matchNNNN.dm_2004".
int PositionOf(const std::string& traced) { return std::stoi(traced.substr(10, 4)); }

TEST(ScriptChain, ALongScriptBecomesWholeLinesInPartsChainedByExec) {
    const std::string script = ScriptOf(Names(1000));
    const std::vector<ScriptPart> parts = SplitDemoConfig(script);
    ASSERT_GT(parts.size(), 7u);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        SCOPED_TRACE(parts[i].fileName);
        EXPECT_EQ(parts[i].fileName, i == 0 ? "Reelwright.cfg" : "Reelwright" + std::to_string(i + 1) + ".cfg");
        EXPECT_LE(parts[i].text.size(), kScriptPartLimit);
        EXPECT_TRUE(parts[i].text.ends_with("\r\n"));
        if (i + 1 < parts.size()) {
            EXPECT_TRUE(parts[i].text.ends_with("\r\nexec " + parts[i + 1].fileName + "\r\n"));
            // Full: the next line would not have fitted beside the exec line.
            EXPECT_GT(parts[i].text.size() + 110, kScriptPartLimit);
        }
        // The first part holds the header and every bind, the others entries only.
        if (i > 0) {
            EXPECT_TRUE(parts[i].text.starts_with("seta fs_gametype ")) << parts[i].text.substr(0, 40);
        }
    }
    EXPECT_NE(parts[0].text.find("\\\\___vstr"), std::string::npos);
    EXPECT_EQ(Rejoined(parts), script);
}

TEST(ScriptChain, AScriptOfExactlyTheLimitStaysOneFileAndOneByteMoreIsSplit) {
    Strings names = Names(110);
    const std::size_t size = ScriptOf(names).size();
    ASSERT_LT(size, kScriptPartLimit);
    names.back().insert(0, kScriptPartLimit - size, 'x');
    const std::string exact = ScriptOf(names);
    ASSERT_EQ(exact.size(), kScriptPartLimit);
    EXPECT_EQ(SplitDemoConfig(exact), (std::vector<ScriptPart>{{"Reelwright.cfg", exact}}));

    names.back().insert(0, 1, 'x');
    const std::string over = ScriptOf(names);
    const std::vector<ScriptPart> parts = SplitDemoConfig(over);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_TRUE(parts[0].text.ends_with("exec Reelwright2.cfg\r\n"));
    EXPECT_EQ(Rejoined(parts), over);
}

TEST(ScriptChain, ALineLongerThanAPartIsNeverSplit) {
    const std::string script = "short\r\n" + std::string(30, 'y') + "\r\nend\r\n";
    const std::vector<ScriptPart> parts = SplitDemoConfig(script, 24);
    EXPECT_EQ(parts, (std::vector<ScriptPart>{{"Reelwright.cfg", "short\r\nexec Reelwright2.cfg\r\n"},
                                              {"Reelwright2.cfg", std::string(30, 'y') + "\r\nexec Reelwright3.cfg\r\n"},
                                              {"Reelwright3.cfg", "end\r\n"}}));
}

class ChainInTheConsole : public ::testing::Test {
protected:
    // The game started on the first demo with its script, reading the files
    // from the game-type folder.
    void StartGame(const std::map<std::string, std::string>& folder) {
        console.SetFileSource([folder](const std::string& name) -> std::optional<std::string> {
            const auto found = folder.find(name);
            if (found == folder.end()) return std::nullopt;
            return found->second;
        });
        console.ExecuteCommandLine(reelwright::ManyDemosParameters("C:\\Games\\SOF2", "base\\mp", Name(1)));
    }

    ConsoleInterpreter console;
};

TEST_F(ChainInTheConsole, AThousandDemosRunWholeAndTheKeysStepAcrossThePartsBothWays) {
    constexpr int kCount = 1000;
    std::map<std::string, std::string> folder;
    for (const ScriptPart& part : SplitDemoConfig(ScriptOf(Names(kCount)))) folder[part.fileName] = part.text;
    StartGame(folder);

    const Strings started = console.Take();
    EXPECT_EQ(std::count(started.begin(), started.end(), "Cbuf_InsertText overflowed"), 0);
    EXPECT_EQ(std::count_if(started.begin(), started.end(), [](const std::string& e) { return e.starts_with("exec "); }),
              static_cast<long>(folder.size()));
    for (int i = 1; i <= kCount; ++i)
        ASSERT_TRUE(console.Variable("demo" + std::to_string(i)).value_or("").starts_with("demo " + Name(i) + " ")) << i;

    // Every step of next, all around the ring, then every step of previous.
    for (int i = 0; i <= kCount; ++i) console.PressKey("F1");
    const Strings forward = console.Take("demo ");
    ASSERT_EQ(forward.size(), kCount + 1u);
    // The game started on the first demo, so the first Next plays the second.
    EXPECT_EQ(PositionOf(forward[0]), 2);
    for (std::size_t i = 1; i < forward.size(); ++i)
        ASSERT_EQ(PositionOf(forward[i]), PositionOf(forward[i - 1]) % kCount + 1) << forward[i];
    for (int i = 0; i < kCount; ++i) console.PressKey("F2");
    const Strings backward = console.Take("demo ");
    ASSERT_EQ(backward.size(), static_cast<std::size_t>(kCount));
    EXPECT_EQ(PositionOf(backward[0]), (PositionOf(forward.back()) + kCount - 2) % kCount + 1);
    for (std::size_t i = 1; i < backward.size(); ++i)
        ASSERT_EQ(PositionOf(backward[i]), (PositionOf(backward[i - 1]) + kCount - 2) % kCount + 1) << backward[i];
}

TEST_F(ChainInTheConsole, TheSameQueueAsOneFileIsDroppedWhole) {
    StartGame({{"Reelwright.cfg", ScriptOf(Names(1000))}});
    EXPECT_EQ(console.Take(), (Strings{"demo " + Name(1), "exec Reelwright.cfg", "Cbuf_InsertText overflowed"}));
    EXPECT_FALSE(console.Variable("demo1"));
    EXPECT_FALSE(console.Binding("F1"));
}

}  // namespace
