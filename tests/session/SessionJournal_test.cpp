// The session journal's file, the rule for a second session of a folder, and
// where Windows keeps a user's copy of a config below a virtualised folder.
#include "session/SessionJournal.h"

#include <gtest/gtest.h>

#include "session/VirtualStore.h"

namespace {

using namespace reelwright;
using Strings = std::vector<std::string>;

SessionEntry Entry(const std::string& folder, Strings keys, Strings variables, SessionProcess process,
                   std::vector<ConfigRecord> configs) {
    SessionEntry entry;
    entry.folder = folder;
    entry.names.keys = std::move(keys);
    entry.names.commands = {"vstr demonext"};
    entry.names.variables = std::move(variables);
    entry.processes = {process};
    entry.configs = std::move(configs);
    return entry;
}

TEST(SessionJournal, WritesAndReadsBackEveryFieldWithNonAsciiPathsAndOddBytes) {
    SessionJournal journal;
    journal.entries.push_back(Entry("C:\\Spiele\\Jeux été\\日本\\base\\mp", {"F1", "KP_UPARROW"}, {"demo1", "demonext"},
                                    {4242, 133456789012345678ULL},
                                    {{"C:\\Spiele\\Jeux été\\日本\\base\\mp\\sof2mp.CFG", true, 0x21,
                                      {"bind F1 \"vote yes\"", "seta demonext \"100% \x93quoted\x94\rcr\""}},
                                     {"C:\\x\\SOF2MP.cfg", false, 0, {}}}));
    journal.entries.back().reported = true;
    journal.entries.back().unreachableSince = 1780000000;
    journal.entries.push_back(Entry("D:\\mymod", {"F9"}, {}, {7, 8}, {}));

    const std::string text = FormatJournal(journal);
    EXPECT_EQ(text.find('\r'), std::string::npos);  // a CR in a value is escaped
    const auto read = ParseJournal(text);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->entries.size(), 2u);
    const SessionEntry& first = read->entries[0];
    EXPECT_EQ(first.folder, journal.entries[0].folder);
    EXPECT_EQ(first.names.keys, (Strings{"F1", "KP_UPARROW"}));
    EXPECT_EQ(first.names.commands, (Strings{"vstr demonext"}));
    EXPECT_EQ(first.names.variables, (Strings{"demo1", "demonext"}));
    EXPECT_EQ(first.processes, (std::vector<SessionProcess>{{4242, 133456789012345678ULL}}));
    EXPECT_TRUE(first.reported);
    EXPECT_EQ(first.unreachableSince, 1780000000u);
    EXPECT_EQ(read->entries[1].unreachableSince, 0u);
    EXPECT_EQ(first.configs, journal.entries[0].configs);
    EXPECT_FALSE(read->entries[1].reported);
    EXPECT_EQ(FormatJournal(*read), text);
    EXPECT_TRUE(ParseJournal("") && ParseJournal("")->entries.empty());
}

TEST(SessionJournal, AJournalThatIsDamagedOrOfAnotherFormatIsNotRead) {
    SessionJournal journal;
    journal.entries.push_back(Entry("C:\\g\\base\\mp", {"F1"}, {"demo1"}, {1, 2}, {{"C:\\g\\base\\mp\\SOF2MP.cfg", true, 32, {"x"}}}));
    const std::string text = FormatJournal(journal);
    ASSERT_TRUE(ParseJournal(text));

    EXPECT_FALSE(ParseJournal(text.substr(0, text.size() - 4)));  // cut short
    std::string newer = text;
    newer.replace(newer.find("format 2"), 8, "format 3");
    EXPECT_FALSE(ParseJournal(newer));
    // A journal of the first format, without the fields added since, is read.
    std::string first = text;
    first.replace(first.find("format 2"), 8, "format 1");
    ASSERT_TRUE(ParseJournal(first));
    EXPECT_EQ(ParseJournal(first)->entries[0].configs, journal.entries[0].configs);
    std::string badSince = text;
    badSince.replace(badSince.find("end\n"), 4, "unreachable soon\nend\n");
    EXPECT_FALSE(ParseJournal(badSince));
    std::string badNumber = text;
    badNumber.replace(badNumber.find("process 1 2"), 11, "process x 2");
    EXPECT_FALSE(ParseJournal(badNumber));
    std::string badEscape = text;
    badEscape.replace(badEscape.find("line x"), 6, "line %zz");
    EXPECT_FALSE(ParseJournal(badEscape));
    EXPECT_FALSE(ParseJournal("\xff\xfe garbage\n"));
}

TEST(SessionJournal, ASecondSessionOfAFolderJoinsThePendingEntryAndKeepsItsPlayerLines) {
    SessionJournal journal;
    journal.entries.push_back(Entry("C:\\G\\base\\mp", {"F1", "F2"}, {"demo1", "demo2"}, {10, 1},
                                    {{"C:\\G\\base\\mp\\SOF2MP.cfg", true, 0x20, {"bind F1 \"vote yes\""}}}));
    // The second launch sees the first session's lines in the config, and a
    // key (F9) and a variable (demo3) of its own that the first did not use.
    AddSession(journal, Entry("c:\\g\\BASE\\mp", {"F1", "F9"}, {"demo1", "demo2", "demo3"}, {11, 2},
                              {{"C:\\G\\base\\mp\\SOF2MP.cfg", true, 0x21,
                                {"bind F1 \"vstr demonext\"", "bind F9 \"say hi\"", "seta demo1 \"demo a\"",
                                 "seta demo3 \"mine\""}},
                               {"C:\\Users\\p\\VirtualStore\\G\\base\\mp\\SOF2MP.cfg", true, 0x20, {"bind F1 x"}}}));
    AddSession(journal, Entry("C:\\G\\mymod", {"F1"}, {"demo1"}, {12, 3}, {}));

    ASSERT_EQ(journal.entries.size(), 2u);
    const SessionEntry& merged = journal.entries[0];
    EXPECT_EQ(merged.names.keys, (Strings{"F1", "F2", "F9"}));
    EXPECT_EQ(merged.names.variables, (Strings{"demo1", "demo2", "demo3"}));
    EXPECT_EQ(merged.processes, (std::vector<SessionProcess>{{10, 1}, {11, 2}}));
    ASSERT_EQ(merged.configs.size(), 2u);
    EXPECT_EQ(merged.configs[0].attributes, 0x20u);  // as before the first launch
    EXPECT_EQ(merged.configs[0].playerLines, (Strings{"bind F1 \"vote yes\"", "bind F9 \"say hi\"", "seta demo3 \"mine\""}));
    EXPECT_EQ(merged.configs[1].playerLines, (Strings{"bind F1 x"}));

    // The launching program's place is taken by its game, or given up.
    ReplaceProcess(journal, {11, 2}, SessionProcess{40, 9});
    EXPECT_EQ(journal.entries[0].processes, (std::vector<SessionProcess>{{10, 1}, {40, 9}}));
    ReplaceProcess(journal, {12, 3}, std::nullopt);
    EXPECT_TRUE(journal.entries[1].processes.empty());
}

// After a failed restore the entry stays, and a later
// session merges into it. Per key and per variable, the later session's
// record of the player's line wins; where it finds the script's own line,
// an earlier session still holds it and the earlier record stands.
TEST(SessionJournal, ALaterSessionKeepsThePlayersLaterLinesAndTheEarlierRecordWhereTheScriptsLineStands) {
    const std::string config = "C:\\G\\base\\mp\\SOF2MP.cfg";
    SessionJournal journal;
    journal.entries.push_back(Entry("C:\\G\\base\\mp", {"F1", "F2", "F3"}, {"demo1", "demonext"}, {10, 1},
                                    {{config, true, 0x20,
                                      {"bind F1 \"vote yes\"", "bind F2 \"vote no\"", "bind F3 \"say gg\"",
                                       "seta demo1 \"old\""}}}));
    journal.entries[0].reported = true;  // its restore failed
    // Meanwhile the player bound F1 anew and took F3's bind away; F2 and the
    // variables still hold the first session's lines.
    AddSession(journal, Entry("C:\\G\\base\\mp", {"F1", "F2", "F3"}, {"demo1", "demonext"}, {11, 2},
                              {{config, true, 0x20,
                                {"bind F1 \"say later\"", "bind F2 \"vstr demonext\"", "seta demo1 \"demo a\"",
                                 "seta demonext \"vstr demo2\""}}}));
    ASSERT_EQ(journal.entries.size(), 1u);
    EXPECT_EQ(journal.entries[0].configs[0].playerLines,
              (Strings{"bind F2 \"vote no\"", "seta demo1 \"old\"", "bind F1 \"say later\""}));

    // A variable whose line the player removed is not put back either.
    AddSession(journal, Entry("C:\\G\\base\\mp", {"F2"}, {"demo1"}, {12, 3},
                              {{config, true, 0x20, {"bind F2 \"vstr demonext\""}}}));
    EXPECT_EQ(journal.entries[0].configs[0].playerLines, (Strings{"bind F2 \"vote no\"", "bind F1 \"say later\""}));
}

TEST(VirtualStore, MapsAPathBelowAVirtualisedFolderIntoTheUsersCopyOnly) {
    const VirtualisedFolders where{{"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Windows", "C:\\ProgramData"},
                                   "C:\\Users\\Ann\\AppData\\Local"};
    EXPECT_EQ(VirtualStorePath("C:\\Program Files (x86)\\SOF2\\base\\mp\\SOF2MP.cfg", where),
              "C:\\Users\\Ann\\AppData\\Local\\VirtualStore\\Program Files (x86)\\SOF2\\base\\mp\\SOF2MP.cfg");
    EXPECT_EQ(VirtualStorePath("c:\\program files\\SOF2\\mymod\\SOF2MP.cfg", where),
              "C:\\Users\\Ann\\AppData\\Local\\VirtualStore\\program files\\SOF2\\mymod\\SOF2MP.cfg");
    EXPECT_EQ(VirtualStorePath("C:\\ProgramData\\SOF2\\base\\mp\\SOF2MP.cfg", where),
              "C:\\Users\\Ann\\AppData\\Local\\VirtualStore\\ProgramData\\SOF2\\base\\mp\\SOF2MP.cfg");
    // A game folder at a drive root, or anywhere else, has no such copy.
    EXPECT_FALSE(VirtualStorePath("D:\\base\\mp\\SOF2MP.cfg", where));
    EXPECT_FALSE(VirtualStorePath("C:\\Games\\SOF2\\base\\mp\\SOF2MP.cfg", where));
    EXPECT_FALSE(VirtualStorePath("C:\\Program Files Old\\SOF2\\base\\mp\\SOF2MP.cfg", where));
}

}  // namespace
