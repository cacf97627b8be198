// The demo reader on demos written by the test encoder: what the head and the
// length give, and the reason for each kind of file it cannot take.
#include "demo/DemoReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <cstdlib>
#include <map>
#include <sstream>
#include <algorithm>
#include <optional>
#include <stop_token>

#include "support/DemoEncoder.h"

namespace reelwright {
namespace {

using test::GameStateParts;

GameStateParts Shop() {
    GameStateParts parts;
    parts.serverInfo =
        "\\sv_hostname\\^1Red ^7Dragons \x96 Cr\xE8me\\mapname\\mp_shop\\g_gametype\\ctf\\protocol\\2004\\sv_maxclients\\16";
    parts.players = {"n\\^4Blue^7Boy\\t\\2\\model\\marine", "", "n\\Cr\xE8me^^1\\t\\1"};
    return parts;
}

const std::vector<std::int32_t> kTwentySeconds = [] {
    std::vector<std::int32_t> times;
    for (std::int32_t t = 5000; t <= 25000; t += 50) times.push_back(t);
    return times;
}();

std::size_t FirstRecordSize(const GameStateParts& parts) { return 8 + test::GameStateMessage(parts).size(); }

// The players' names, or nothing when the head gives no players.
std::optional<std::vector<std::string>> Names(const DemoHead& head) {
    if (!head.players) return std::nullopt;
    std::vector<std::string> names;
    for (const DemoPlayer& player : *head.players) names.push_back(player.name);
    return names;
}

TEST(DemoReader, TheHeadGivesMapServerModeAndPlayersAsPlayersReadThem) {
    const DemoHead head = ReadDemoHead(test::Demo(Shop(), kTwentySeconds), "x.dm_2004");
    ASSERT_TRUE(head.Readable());
    EXPECT_EQ(head.protocol, 2004);
    EXPECT_EQ(head.map, "mp_shop");
    // Colour codes gone, Windows-1252 bytes as UTF-8 (an en dash, an e grave).
    EXPECT_EQ(head.server, "Red Dragons \u2013 Cr\u00E8me");
    EXPECT_EQ(head.gameType, "ctf");
    EXPECT_EQ(head.mode, "Capture the Flag");
    EXPECT_EQ(head.mod, "");
    EXPECT_FALSE(head.modFolder);
    // Slot order; the free slot left out; "^^" is no colour code but "^1" is.
    ASSERT_TRUE(head.players);
    EXPECT_EQ(*head.players, (std::vector<DemoPlayer>{{"BlueBoy", DemoTeam::Blue}, {"Cr\u00E8me^", DemoTeam::Red}}));

    // Server commands before the game state and no other config strings.
    GameStateParts bare = Shop();
    bare.commandsBefore = {"print \"hello\"", "cs 5 x"};
    bare.otherStrings = false;
    EXPECT_EQ(ReadDemoHead(test::Demo(bare, {}), "x.dm_2004").map, "mp_shop");
}

TEST(DemoReader, NoneOneAndSixtyFourPlayersAndOnlyStringsItKnows) {
    GameStateParts parts = Shop();
    parts.players.clear();
    EXPECT_EQ(Names(ReadDemoHead(test::Demo(parts, {}), "x.dm_2004")), std::vector<std::string>{});

    parts.players = {"n\\Solo\\t\\free"};
    EXPECT_EQ(Names(ReadDemoHead(test::Demo(parts, {}), "x.dm_2004")), std::vector<std::string>{"Solo"});

    std::vector<std::string> names;
    parts.players.clear();
    // 65 strings: the last is the slot after the 64th, another config string.
    for (int slot = 0; slot < 65; ++slot) {
        std::string name = "p";
        name += std::to_string(slot);
        names.push_back(name);
        parts.players.push_back("n\\" + name + "\\t\\free");
    }
    names.pop_back();
    EXPECT_EQ(Names(ReadDemoHead(test::Demo(parts, {}), "x.dm_2004")), names);

    // One string of another form: no names at all rather than a guess, the rest as before.
    parts.players = {"n\\Solo\\t\\free", "name\\Other"};
    const DemoHead head = ReadDemoHead(test::Demo(parts, {}), "x.dm_2004");
    EXPECT_TRUE(head.Readable());
    EXPECT_EQ(head.map, "mp_shop");
    EXPECT_FALSE(head.players);
}

TEST(DemoReader, TheLengthSumsEachGameStateFromItsFirstToItsLastSnapshot) {
    EXPECT_EQ(ReadDemo(test::Demo(Shop(), kTwentySeconds), "x.dm_2004").length.milliseconds, 20000);
    EXPECT_EQ(ReadDemo(test::Demo(Shop(), {}), "x.dm_2004").length.milliseconds, 0);
    EXPECT_EQ(ReadDemo(test::Demo(Shop(), {5000}), "x.dm_2004").length.milliseconds, 0);

    // A map change: a second game state whose server time starts again; its
    // first snapshot follows server commands and a map-change operation.
    GameStateParts next = Shop();
    next.serverInfo = "\\mapname\\mp_jor1\\sv_hostname\\other\\g_gametype\\dm\\protocol\\2004";
    std::string demo = test::Demo(Shop(), kTwentySeconds);
    demo.resize(demo.size() - 8);  // without its end marker
    demo += test::Record(900, test::GameStateMessage(next));
    test::MessageWriter changed;
    changed.Long(1);
    changed.Byte(5);
    changed.Long(3);
    changed.String("cp \"Round 2\"");
    changed.Byte(8);
    changed.Byte(7);
    changed.Long(100);
    demo += test::Record(901, changed.Bytes());
    demo += test::Record(902, test::SnapshotMessage(10599, {"print \"x\""}));
    // No end marker: the end of the file ends the demo as well.
    const DemoLength length = ReadDemo(demo, "x.dm_2004").length;
    EXPECT_TRUE(length.Readable());
    EXPECT_FALSE(length.cutShort);
    EXPECT_EQ(length.milliseconds, 20000 + 10499);
    EXPECT_EQ(length.Seconds(), 30);
    // The head is the first map's.
    EXPECT_EQ(ReadDemoHead(demo, "x.dm_2004").map, "mp_shop");

    // A recording cut off inside a record: the whole records count.
    const DemoLength cut = ReadDemo(demo.substr(0, demo.size() - 3), "x.dm_2004").length;
    EXPECT_TRUE(cut.Readable());
    EXPECT_TRUE(cut.cutShort);
    EXPECT_EQ(cut.milliseconds, 20000);
}

TEST(DemoReader, AFileCutAnywhereInItsFirstRecordIsTruncated) {
    const std::string demo = test::Demo(Shop(), kTwentySeconds);
    const std::size_t first = FirstRecordSize(Shop());
    EXPECT_EQ(ReadDemoHead(demo.substr(0, 0), "x.dm_2004").refusal, DemoReadRefusal::NotADemo);
    for (std::size_t size = 1; size < first; ++size) {
        const std::string cut = demo.substr(0, size);
        ASSERT_EQ(ReadDemoHead(cut, "x.dm_2004").refusal, DemoReadRefusal::Truncated) << size;
        ASSERT_EQ(ReadDemo(cut, "x.dm_2004").length.refusal, DemoReadRefusal::Truncated) << size;
    }
    EXPECT_EQ(ReadDemoHead(demo.substr(0, first), "x.dm_2004").map, "mp_shop");
    // Only the end marker: no message at all.
    EXPECT_EQ(ReadDemoHead(test::EndMarker(), "x.dm_2004").refusal, DemoReadRefusal::NotADemo);
}

TEST(DemoReader, RecordLengthsOutsideTheirProtocolsRangeAreRefused) {
    // The game's largest message is read; one byte more is refused.
    std::string largest = test::GameStateMessage(Shop());
    largest.resize(49152, '\x55');
    EXPECT_TRUE(ReadDemoHead(test::Record(1, largest) + test::EndMarker(), "x.dm_2004").Readable());
    EXPECT_TRUE(ReadDemo(test::Record(1, largest) + test::EndMarker(), "x.dm_2004").length.Readable());
    largest += '\x55';
    EXPECT_EQ(ReadDemoHead(test::Record(1, largest), "x.dm_2004").refusal, DemoReadRefusal::MessageTooLong);
    EXPECT_EQ(ReadDemo(test::Record(1, largest), "x.dm_2004").length.refusal, DemoReadRefusal::MessageTooLong);

    // In a later record, only the length is refused; the head stays readable.
    std::string demo = test::Record(1, test::GameStateMessage(Shop())) + test::Record(2, largest);
    EXPECT_TRUE(ReadDemoHead(demo, "x.dm_2004").Readable());
    EXPECT_EQ(ReadDemo(demo, "x.dm_2004").length.refusal, DemoReadRefusal::MessageTooLong);

    // A protocol 71 demo is held to its engine's 16 384 bytes, in its first
    // record (read against the largest until its protocol is known) and after.
    GameStateParts quake;
    quake.serverInfo = "\\mapname\\q3dm17\\protocol\\71";
    quake.firstPlayer = 544;
    quake.endOp = test::kEndQuake3;
    std::string first = test::GameStateMessage(quake);
    first.resize(16384, '\x55');
    const std::string later = test::Record(2, test::SnapshotMessage(100, {}, test::kEndQuake3));
    EXPECT_TRUE(ReadDemo(test::Record(1, first) + later, "x.dm_71").length.Readable());
    first += '\x55';
    EXPECT_EQ(ReadDemoHead(test::Record(1, first) + later, "x.dm_71").refusal, DemoReadRefusal::MessageTooLong);
    const std::string snapshot = test::SnapshotMessage(100, {}, test::kEndQuake3) + std::string(16384, '\x55');
    const DemoHeadAndLength read =
        ReadDemo(test::Record(1, test::GameStateMessage(quake)) + test::Record(2, snapshot), "x.dm_71");
    EXPECT_TRUE(read.head.Readable());
    EXPECT_EQ(read.length.refusal, DemoReadRefusal::MessageTooLong);

    // An empty record and a negative length other than the end marker.
    demo = test::Record(1, test::GameStateMessage(Shop())) + test::Record(2, "");
    EXPECT_EQ(ReadDemo(demo, "x.dm_2004").length.refusal, DemoReadRefusal::BrokenMessage);
    std::string negative = test::Record(1, test::GameStateMessage(Shop())) + test::EndMarker();
    negative[negative.size() - 4] = '\xfe';
    EXPECT_EQ(ReadDemo(negative, "x.dm_2004").length.refusal, DemoReadRefusal::BrokenMessage);
}

TEST(DemoReader, UndecodableMessagesAndUnknownOperationsAreRefused) {
    // The unused code path inside the server info.
    test::MessageWriter unused;
    unused.Long(0);
    unused.Byte(2);
    unused.Long(1);
    unused.Byte(3);
    unused.Short(0);
    unused.Byte('\\');
    unused.Bits("00000000100");
    EXPECT_EQ(ReadDemoHead(test::Record(1, unused.Bytes()), "x.dm_2004").refusal, DemoReadRefusal::BrokenMessage);

    // ... and in a snapshot's time.
    test::MessageWriter snapshot;
    snapshot.Long(0);
    snapshot.Byte(7);
    snapshot.Bits("00000000100");
    const std::string gameState = test::Record(1, test::GameStateMessage(Shop()));
    EXPECT_EQ(ReadDemo(gameState + test::Record(2, snapshot.Bytes()), "x.dm_2004").length.refusal,
              DemoReadRefusal::BrokenMessage);

    // Operation 0, and config strings outside a game state.
    for (const std::uint8_t op : {std::uint8_t{0}, std::uint8_t{3}, std::uint8_t{10}}) {
        test::MessageWriter bad;
        bad.Long(0);
        bad.Byte(op);
        bad.Long(0);
        EXPECT_EQ(ReadDemo(gameState + test::Record(2, bad.Bytes()), "x.dm_2004").length.refusal,
                  DemoReadRefusal::UnknownOperation)
            << int{op};
    }

    // A game state ended by the other protocol's end operation.
    GameStateParts wrongEnd = Shop();
    wrongEnd.endOp = test::kEndQuake3;
    EXPECT_EQ(ReadDemoHead(test::Demo(wrongEnd, {}), "x.dm_2004").refusal, DemoReadRefusal::UnknownOperation);

    // A first message that is a snapshot: no game state, no demo.
    EXPECT_EQ(ReadDemoHead(test::Record(1, test::SnapshotMessage(5)), "x.dm_2004").refusal,
              DemoReadRefusal::NotADemo);
}

TEST(DemoReader, TheServerInfosProtocolChoosesTheTableElseTheExtension) {
    // A Quake III game state: players from config string 544, numbered game types.
    GameStateParts quake;
    quake.serverInfo = "\\mapname\\q3dm17\\sv_hostname\\^3Longest\\g_gametype\\4\\protocol\\68";
    quake.players = {"n\\Sarge\\t\\1\\model\\sarge", "n\\^1Doom\\t\\2"};
    quake.firstPlayer = 544;
    quake.endOp = test::kEndQuake3;
    const std::string demo = test::Demo(quake, {1000, 3000});
    // The server info's protocol holds over the extension.
    const DemoHead head = ReadDemoHead(demo, "renamed.dm_2004");
    ASSERT_TRUE(head.Readable());
    EXPECT_EQ(head.protocol, 68);
    EXPECT_EQ(head.server, "Longest");
    EXPECT_EQ(head.gameType, "ctf");
    EXPECT_EQ(head.players, (std::vector<DemoPlayer>{{"Sarge", DemoTeam::Red}, {"Doom", DemoTeam::Blue}}));
    EXPECT_EQ(head.mode, "ctf");
    EXPECT_EQ(ReadDemo(demo, "renamed.dm_2004").length.milliseconds, 2000);

    // Without one, the extension chooses, whatever its letter case.
    quake.serverInfo = "\\mapname\\q3dm17\\g_gametype\\9";
    EXPECT_EQ(ReadDemoHead(test::Demo(quake, {}), "a.DM_71").protocol, 71);
    EXPECT_EQ(ReadDemoHead(test::Demo(quake, {}), "a.DM_71").gameType, "ctfelim");
    EXPECT_EQ(ReadDemoHead(test::Demo(quake, {}), "a.dm_72").refusal, DemoReadRefusal::UnsupportedProtocol);
    quake.serverInfo = "\\mapname\\q3dm17\\protocol\\43";
    EXPECT_EQ(ReadDemoHead(test::Demo(quake, {}), "a.dm_68").refusal, DemoReadRefusal::UnsupportedProtocol);
}

TEST(DemoReader, AGameStateOfTwentyThousandBytesReads) {
    // Config strings past the Quake III engine's message size, as the game's
    // own servers send them.
    GameStateParts large = Shop();
    for (int i = 0; test::GameStateMessage(large).size() < 20000; ++i)
        large.moreStrings.push_back("models/players/skin" + std::to_string(i) + "/body_" + std::string(40, 'a' + i % 26));
    ASSERT_GT(test::GameStateMessage(large).size(), 16384u);
    const DemoHeadAndLength read = ReadDemo(test::Demo(large, kTwentySeconds), "x.dm_2004");
    EXPECT_EQ(read.head.map, "mp_shop");
    EXPECT_EQ(read.length.milliseconds, 20000);
    EXPECT_EQ(ReadDemoHead(test::Demo(large, {}), "x.dm_2004").map, "mp_shop");
}

TEST(DemoReader, TheGamesSixModesByNameAndAModsOwnAsWritten) {
    const struct {
        const char* gameType;
        const char* mode;
    } cases[] = {
        {"dm", "Deathmatch"},   {"tdm", "Team Deathmatch"}, {"ctf", "Capture the Flag"}, {"inf", "Infiltration"},
        {"elim", "Elimination"}, {"dem", "Demolition"},       {"CTF", "Capture the Flag"}, {"h&s", "h&s"},
        {"^1gun^7game", "gungame"}, {"", ""},                 {"4", "4"},
    };
    for (const auto& c : cases) {
        GameStateParts parts = Shop();
        parts.serverInfo = std::string("\\mapname\\mp_shop\\protocol\\2004\\g_gametype\\") + c.gameType;
        const DemoHead head = ReadDemoHead(test::Demo(parts, {}), "x.dm_2004");
        EXPECT_EQ(head.mode, c.mode) << c.gameType;
    }
}

TEST(DemoReader, TheModComesFromTheSystemInfoAndOnlyAPlainNameIsAFolder) {
    const struct {
        const char* systemInfo;
        const char* mod;
        std::optional<std::string> folder;
    } cases[] = {
        {"\\sv_pure\\0\\fs_game\\mymod", "mymod", "mymod"},
        {"\\FS_GAME\\Gun Game 2\\sv_pure\\1", "Gun Game 2", "Gun Game 2"},
        {"\\sv_pure\\0", "", std::nullopt},
        {"\\fs_game\\", "", std::nullopt},
        // Hostile or odd values stay display text (ModFolder_test has the rules).
        {"\\fs_game\\..\\..\\Windows", "..", std::nullopt},
        {"\\fs_game\\../../Windows", "../../Windows", std::nullopt},
        {"\\fs_game\\nul", "nul", std::nullopt},
        {"\\fs_game\\m\x01od", "mod", std::nullopt},
        {"\\fs_game\\caf\xE9", "caf\u00E9", std::nullopt},
    };
    for (const auto& c : cases) {
        GameStateParts parts = Shop();
        parts.systemInfo = c.systemInfo;
        const DemoHead head = ReadDemoHead(test::Demo(parts, {}), "x.dm_2004");
        ASSERT_TRUE(head.Readable()) << c.systemInfo;
        EXPECT_EQ(head.mod, c.mod) << c.systemInfo;
        EXPECT_EQ(head.modFolder, c.folder) << c.systemInfo;
    }
}

TEST(DemoReader, EachPlayerHasTheTeamOfItsString) {
    GameStateParts parts = Shop();
    parts.players = {"n\\Free\\t\\0", "n\\Red\\t\\1\\identity\\x", "n\\Blue\\t\\2", "n\\Watcher\\t\\3",
                     "n\\Odd\\t\\4",  "n\\None",                  "n\\Word\\t\\red", "n\\Two\\t\\12"};
    const DemoHead head = ReadDemoHead(test::Demo(parts, {}), "x.dm_2004");
    EXPECT_EQ(head.players, (std::vector<DemoPlayer>{{"Free", DemoTeam::Free},
                                                     {"Red", DemoTeam::Red},
                                                     {"Blue", DemoTeam::Blue},
                                                     {"Watcher", DemoTeam::Spectator},
                                                     {"Odd", DemoTeam::Unknown},
                                                     {"None", DemoTeam::Unknown},
                                                     {"Word", DemoTeam::Unknown},
                                                     {"Two", DemoTeam::Unknown}}));
}

// Gives its bytes in the reads asked of it, and asks the read to stop after
// the read numbered `stopAfter`.
class StoppingInput final : public DemoInput {
public:
    StoppingInput(std::string_view bytes, int stopAfter) : bytes_(bytes), stopAfter_(stopAfter) {}
    std::size_t Read(char* into, std::size_t count) override {
        ++reads;
        largestRead = std::max(largestRead, count);
        if (reads == stopAfter_) stop.request_stop();
        return bytes_.Read(into, count);
    }
    bool Failed() const override { return false; }
    std::stop_source stop;
    int reads = 0;
    std::size_t largestRead = 0;

private:
    DemoBytesInput bytes_;
    int stopAfter_;
};

TEST(DemoReader, AStopAskedMidFileEndsWithinABlock) {
    std::vector<std::int32_t> times;
    for (std::int32_t t = 0; t < 40000 * 50; t += 50) times.push_back(t);
    const std::string demo = test::Demo(Shop(), times);
    ASSERT_GT(demo.size(), 1000000u);

    StoppingInput whole(demo, 0);
    EXPECT_EQ(ReadDemo(whole, "x.dm_2004", whole.stop.get_token()).length.milliseconds, times.back());
    EXPECT_GT(whole.reads, 15);
    EXPECT_LE(whole.largestRead, 64u * 1024);

    for (const int stopAfter : {1, 3}) {
        StoppingInput stopped(demo, stopAfter);
        const DemoHeadAndLength read = ReadDemo(stopped, "x.dm_2004", stopped.stop.get_token());
        EXPECT_EQ(stopped.reads, stopAfter);
        EXPECT_EQ(read.head.map, "mp_shop");
        EXPECT_EQ(read.length.refusal, DemoReadRefusal::Stopped);
    }
    // Asked before the first block: nothing is read.
    StoppingInput early(demo, 0);
    early.stop.request_stop();
    EXPECT_EQ(ReadDemo(early, "x.dm_2004", early.stop.get_token()).head.refusal, DemoReadRefusal::Stopped);
    EXPECT_EQ(early.reads, 0);
}

TEST(DemoReader, FilesOpenByAnyNameAndAFileThatIsNotThereCannotBeRead) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "reelwright-demo-reader";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::u8string name = u8"Démo Ω ctf.DM_2004";
    {
        std::ofstream out(folder / name, std::ios::binary);
        const std::string demo = test::Demo(Shop(), kTwentySeconds);
        out.write(demo.data(), static_cast<std::streamsize>(demo.size()));
    }
    std::ofstream(folder / "empty.dm_2004").close();
    const auto path = [&](const std::filesystem::path& file) {
        const std::u8string text = file.u8string();
        return std::string(text.begin(), text.end());
    };
    EXPECT_EQ(ReadDemoFileHead(path(folder / name)).map, "mp_shop");
    EXPECT_EQ(ReadDemoFile(path(folder / name)).length.milliseconds, 20000);

    EXPECT_EQ(ReadDemoFileHead(path(folder / "missing.dm_2004")).refusal, DemoReadRefusal::CannotOpen);
    EXPECT_EQ(ReadDemoFile(path(folder / "missing.dm_2004")).length.refusal, DemoReadRefusal::CannotOpen);
    EXPECT_EQ(ReadDemoFileHead(path(folder)).refusal, DemoReadRefusal::CannotOpen);
    EXPECT_EQ(ReadDemoFile(path(folder / "empty.dm_2004")).length.refusal, DemoReadRefusal::NotADemo);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace reelwright

// Demos that a real engine of the family recorded (tests/demo/data, made by
// record-real-demos.sh there): what the reader gives for each, its length
// against the recording's own duration, and how few reads it takes.

namespace reelwright {
namespace {

const std::filesystem::path kData = std::filesystem::path(REELWRIGHT_SOURCE_DIR) / "tests" / "demo" / "data";

// recordings.txt: "<name> <seconds>" for each demo.
std::map<std::string, double> RecordedSeconds() {
    std::map<std::string, double> seconds;
    std::ifstream list(kData / "recordings.txt");
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        double value = 0;
        fields >> name >> value;
        seconds[name] = value;
    }
    return seconds;
}

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Counts the reads that the reader asks of its input.
class CountingInput final : public DemoInput {
public:
    explicit CountingInput(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* into, std::size_t count) override {
        ++reads;
        return bytes_.Read(into, count);
    }
    bool Failed() const override { return false; }
    int reads = 0;

private:
    DemoBytesInput bytes_;
};

struct Expected {
    const char* name;
    const char* map;
    const char* gameType;
    std::vector<DemoPlayer> players;
};

TEST(RecordedDemos, HeadAndLengthAreWhatWasRecorded) {
    const std::string server = "Reelwright Test Server";
    constexpr DemoTeam kFree = DemoTeam::Free, kRed = DemoTeam::Red, kBlue = DemoTeam::Blue;
    const std::vector<Expected> demos = {
        {"ffa-oa_dm1", "oa_dm1", "ffa", {{"Sarge", kFree}, {"Grism", kFree}, {"ReelTester", kFree}}},
        {"ctf-oa_ctf2", "oa_ctf2", "ctf", {{"Angelyss", kBlue}, {"Kyonshi", kRed}, {"ReelTester", kBlue}}},
        {"tdm-oa_dm2", "oa_dm2", "tdm", {{"Major", kBlue}, {"Gargoyle", kRed}, {"ReelTester", kBlue}}},
    };
    const std::map<std::string, double> recorded = RecordedSeconds();
    ASSERT_EQ(recorded.size(), demos.size());
    for (const Expected& demo : demos) {
        SCOPED_TRACE(demo.name);
        const std::u8string file = (kData / (std::string(demo.name) + ".dm_71")).u8string();
        const DemoHead head = ReadDemoFileHead(std::string(file.begin(), file.end()));
        ASSERT_TRUE(head.Readable()) << static_cast<int>(head.refusal);
        EXPECT_EQ(head.protocol, 71);
        EXPECT_EQ(head.map, demo.map);
        EXPECT_EQ(head.server, server);
        EXPECT_EQ(head.gameType, demo.gameType);
        EXPECT_EQ(head.players, demo.players);
        EXPECT_EQ(head.mode, demo.gameType);
        EXPECT_EQ(head.mod, "");

        const DemoLength length = ReadDemoFile(std::string(file.begin(), file.end())).length;
        ASSERT_TRUE(length.Readable()) << static_cast<int>(length.refusal);
        EXPECT_FALSE(length.cutShort);
        ASSERT_TRUE(recorded.count(demo.name));
        EXPECT_NEAR(length.milliseconds / 1000.0, recorded.at(demo.name), 1.0);
    }
}

TEST(RecordedDemos, TheHeadTakesOneReadAndTheLengthReadsInBlocks) {
    const std::string bytes = Bytes(kData / "ctf-oa_ctf2.dm_71");
    ASSERT_GT(bytes.size(), 16384u + 8);
    CountingInput head(bytes);
    EXPECT_TRUE(ReadDemoHead(head, "ctf-oa_ctf2.dm_71").Readable());
    EXPECT_EQ(head.reads, 1);

    // Hundreds of records; the whole file in one block, and the read that
    // finds its end.
    CountingInput length(bytes);
    EXPECT_GT(ReadDemo(length, "ctf-oa_ctf2.dm_71").length.milliseconds, 0);
    EXPECT_LE(length.reads, 2);
}

}  // namespace
}  // namespace reelwright
