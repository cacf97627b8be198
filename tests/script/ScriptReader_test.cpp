// Reading a script back: only the builder's own bytes are accepted, and what
// is read builds them again.
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace basBuildConfigs;

const ScriptKeys kKeys{"F6", "F7", "F5", "F8", "F4", "F3", "F2", "F1"};

std::string Script(const ScriptKeys& keys, const std::vector<ScriptEntry>& entries) {
    return BuildScript(keys, entries);
}

TEST(ScriptReader, ReadsBackTheKeysAndEntriesOfEveryScriptItBuilds) {
    const std::vector<std::vector<ScriptEntry>> queues{
        {{"a.dm_2004", "base\\mp"}, {"b.dm_2004", "mymod"}},
        // Blanks, the console's separators and quotes as the builder writes
        // them, a byte of the ANSI code page above 127, a game type of steps.
        {{"duel ; final.dm_2004", "base\\mp"},
         {"caf\xe9 \"x\".dm_2004", "mods\\my mod"},
         {"c.dm_2004", "base\\mp"}},
    };
    const std::vector<ScriptKeys> keySets{kKeys, {"KP_5", "SEMICOLON", "'", "MOUSE2", "", "ç", "UPARROW", "\\"}};
    for (const auto& keys : keySets) {
        for (const auto& entries : queues) {
            const std::string bytes = Script(keys, entries);
            const auto read = ReadOwnScript(bytes);
            ASSERT_TRUE(read) << bytes;
            EXPECT_EQ(read->keys, keys);
            ASSERT_EQ(read->entries.size(), entries.size());
            for (std::size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(read->entries[i].name, entries[i].name);
                EXPECT_EQ(read->entries[i].gameType, entries[i].gameType);
            }
        }
    }
    // A long queue reads back whole.
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) names.push_back("match" + std::to_string(i) + ".dm_2004");
    std::vector<ScriptEntry> many;
    for (const auto& name : names) many.push_back({name, "base\\mp"});
    const std::string longScript = Script(kKeys, many);
    const auto read = ReadOwnScript(longScript);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->entries.back().name, "match2999.dm_2004");
}

TEST(ScriptReader, RefusesEveryTextTheBuilderWouldNotWrite) {
    const std::string good = Script(kKeys, {{"a.dm_2004", "base\\mp"}, {"b.dm_2004", "mymod"}});
    const std::size_t afterFirstLine = ScriptFirstLine().size();
    auto replaced = [&](std::string_view from, std::string_view to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::vector<std::string> refused{
        good.substr(0, afterFirstLine) + "quit\r\n" + good.substr(afterFirstLine),
        replaced("bind F1 \"vstr demonext\"", "bind F1 \"quit\""),
        replaced("set demonext vstr demo2", "set demonext vstr demo1"),
        replaced("seta demopre \"vstr demo2\"", "seta demopre \"vstr demo3\""),
        replaced("timescale 0.90", "timescale 0.91"),
        good + "quit\r\n",
        good + "x",
        good.substr(0, good.size() - 2),
        // One entry, or none: Launch writes a script for two demos or more.
        Script(kKeys, {{"a.dm_2004", "base\\mp"}}),
        Script(kKeys, {}),
        "",
        "bind F1 \"quit\"\r\n",
    };
    for (std::size_t i = 0; i < refused.size(); ++i) EXPECT_FALSE(ReadOwnScript(refused[i])) << i << ": " << refused[i];

    // Any single byte after the first line turned into a control character
    // (which no key, demo or folder name holds) is refused wherever it lies.
    for (std::size_t i = afterFirstLine; i < good.size(); ++i) {
        std::string text = good;
        text[i] = text[i] == '\x01' ? '\x02' : '\x01';
        EXPECT_FALSE(ReadOwnScript(text)) << "byte " << i;
    }
}

}  // namespace
