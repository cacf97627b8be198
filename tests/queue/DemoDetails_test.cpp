// A demo's details as the queue shows them: the file read for an entry, what
// is read from it, the Map and Length cells and the tip over its row.
#include "queue/DemoDetails.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stop_token>
#include <string>
#include <vector>

#include "queue/DemoDetailsReader.h"
#include "queue/DemoDetailsText.h"
#include "support/DemoEncoder.h"

namespace reelwright {
namespace {

DemoDetails Shop() {
    DemoDetails details;
    details.head.map = "mp_shop";
    details.head.server = "Red Dragons";
    details.head.gameType = "ctf";
    details.head.mode = "Capture the Flag";
    details.head.players = std::vector<DemoPlayer>{{"Alice", DemoTeam::Red}, {"Bob", DemoTeam::Red}, {"Crème", DemoTeam::Blue}};
    details.length.milliseconds = 725400;
    details.size = 1468006;
    details.written = LocalTime{2026, 12, 7, 9, 5};
    return details;
}

TEST(DemoDetails, TheFileReadIsTheOneTheGamePlays) {
    const DemoQueueEntry alone{"duel.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004"};
    EXPECT_EQ(DemoFileOfEntry("C:\\Games\\SOF2", alone), "C:\\Games\\SOF2\\base\\mp\\demos\\duel.dm_2004");
    // Added with others, the entry's Path is its folder only.
    const DemoQueueEntry withOthers{"sub\\a.dm_2004", "mymod", "C:\\Games\\SOF2\\mymod\\demos"};
    EXPECT_EQ(DemoFileOfEntry("D:\\", withOthers), "D:\\mymod\\demos\\sub\\a.dm_2004");
    EXPECT_EQ(DemoFileOfEntry("D:\\SOF2\\", {"a.dm_2004", "", "D:\\SOF2\\demos"}), "D:\\SOF2\\demos\\a.dm_2004");
}

TEST(DemoDetails, LengthsReadAsMinutesAndFromAnHourAsHours) {
    EXPECT_EQ(LengthText(0), "0:00");
    EXPECT_EQ(LengthText(499), "0:00");
    EXPECT_EQ(LengthText(500), "0:01");
    EXPECT_EQ(LengthText(59499), "0:59");
    EXPECT_EQ(LengthText(59500), "1:00");
    EXPECT_EQ(LengthText(3599499), "59:59");
    EXPECT_EQ(LengthText(3599500), "1:00:00");
    EXPECT_EQ(LengthText(36061000), "10:01:01");
    EXPECT_EQ(LengthText(-5), "0:00");
}

// Players of one team, `count` of them named p1, p2, ...
std::vector<DemoPlayer> Team(int count, DemoTeam team) {
    std::vector<DemoPlayer> players;
    for (int i = 1; i <= count; ++i) players.push_back({"p" + std::to_string(i), team});
    return players;
}

TEST(DemoDetails, TheTipTellsEveryFactOnItsOwnLineAndPlayersByTeam) {
    DemoDetails shop = Shop();
    EXPECT_EQ(DemoInfoTip(&shop),
              "Map: mp_shop\r\nServer: Red Dragons\r\nMode: Capture the Flag\r\nPlayers (3):\r\n"
              "Red team: Alice, Bob\r\nBlue team: Crème\r\nLength: 12:05\r\nSize: 1.4 MB\r\nWritten: 2026-12-07 09:05");

    // The players' lines: the teams in a fixed order; without teams, the
    // names on the count's line; at most 16 names a line, then the count of
    // the others.
    const struct {
        std::vector<DemoPlayer> players;
        const char* lines;
    } cases[] = {
        {{{"Watcher", DemoTeam::Spectator}, {"Bo", DemoTeam::Blue}, {"X", DemoTeam::Unknown}, {"Al", DemoTeam::Red},
          {"Fr", DemoTeam::Free}},
         "Players (5):\r\nRed team: Al\r\nBlue team: Bo\r\nNo team: Fr\r\nTeam not known: X\r\nSpectators: Watcher"},
        {{{"Al", DemoTeam::Free}, {"Bo", DemoTeam::Unknown}}, "Players (2): Al, Bo"},
        {Team(20, DemoTeam::Free),
         "Players (20): p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13, p14, p15, p16 and 4 more"},
        {Team(16, DemoTeam::Spectator),
         "Players (16):\r\nSpectators: p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13, p14, p15, p16"},
        {{}, "Players: none"},
    };
    for (const auto& c : cases) {
        shop.head.players = c.players;
        const std::string tip = DemoInfoTip(&shop);
        EXPECT_NE(tip.find("Mode: Capture the Flag\r\n" + std::string(c.lines) + "\r\nLength: "), std::string::npos)
            << tip;
    }

    // A mod has a line of its own; a cut recording says so.
    shop.head.mod = "Gun Game";
    shop.length.cutShort = true;
    shop.size = 1023;
    std::string tip = DemoInfoTip(&shop);
    EXPECT_NE(tip.find("\r\nMode: Capture the Flag\r\nMod: Gun Game\r\nPlayers: none\r\n"
                       "Length: 12:05 (the recording was cut off)\r\nSize: 1023 bytes\r\n"),
              std::string::npos)
        << tip;

    shop.size = 1536;
    tip = DemoInfoTip(&shop);
    EXPECT_NE(tip.find("\r\nSize: 1.5 KB\r\n"), std::string::npos) << tip;
    shop.head.players.reset();
    shop.written.reset();
    tip = DemoInfoTip(&shop);
    EXPECT_NE(tip.find("\r\nPlayers: not known\r\n"), std::string::npos) << tip;
    EXPECT_NE(tip.find("\r\nWritten: not known"), std::string::npos) << tip;
}

TEST(DemoDetails, ARefusedFileShowsAQuestionMarkAndItsReasonAPendingOneNothing) {
    DemoDetails broken;
    broken.head.refusal = DemoReadRefusal::Truncated;
    broken.size = 12;
    broken.written = LocalTime{2025, 1, 2, 23, 59};
    EXPECT_EQ(MapCellText(&broken), "?");
    EXPECT_EQ(LengthCellText(&broken), "");
    EXPECT_EQ(DemoInfoTip(&broken),
              "This file cannot be read as a demo: it ends inside its first record.\r\nSize: 12 bytes\r\n"
              "Written: 2025-01-02 23:59");
    // A head that reads but a length that does not is refused as well.
    DemoDetails cut = Shop();
    cut.length.refusal = DemoReadRefusal::BrokenMessage;
    EXPECT_EQ(MapCellText(&cut), "?");

    EXPECT_EQ(MapCellText(nullptr), "");
    EXPECT_EQ(LengthCellText(nullptr), "");
    EXPECT_EQ(DemoInfoTip(nullptr), "The details of this demo are being read.");
    const DemoDetails shop = Shop();
    EXPECT_EQ(MapCellText(&shop), "mp_shop");
    EXPECT_EQ(LengthCellText(&shop), "12:05");
}

TEST(DemoDetails, ReadFromAFileByItsUtf8PathInOnePassThatAStopEnds) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "reelwright-demo-details";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    test::GameStateParts parts;
    parts.serverInfo = "\\sv_hostname\\Solo\\mapname\\mp_jor1\\g_gametype\\dm\\protocol\\2004";
    parts.systemInfo = "\\fs_game\\mymod";
    parts.players = {"n\\Alice\\t\\0"};
    const std::string demo = test::Demo(parts, {1000, 61000});
    const std::u8string file = (folder / u8"Démo.dm_2004").u8string();
    std::ofstream(std::filesystem::path(file), std::ios::binary) << demo;
    const std::string path(file.begin(), file.end());

    const DemoDetails read = ReadDemoDetails(path);
    EXPECT_EQ(read.head.map, "mp_jor1");
    EXPECT_EQ(read.head.mode, "Deathmatch");
    EXPECT_EQ(read.head.modFolder, "mymod");
    EXPECT_EQ(read.length.milliseconds, 60000);
    EXPECT_EQ(read.size, demo.size());
    ASSERT_TRUE(read.written);
    EXPECT_GE(read.written->year, 2024);

    // Stopped before its first block: the file's own facts, no demo.
    std::stop_source stop;
    stop.request_stop();
    const DemoDetails stopped = DemoDetailsReader::ReadFile(path, stop.get_token());
    EXPECT_EQ(stopped.Refusal(), DemoReadRefusal::Stopped);
    EXPECT_EQ(stopped.size, demo.size());

    const std::u8string absent = (folder / "missing.dm_2004").u8string();
    const DemoDetails missing = ReadDemoDetails(std::string(absent.begin(), absent.end()));
    EXPECT_EQ(missing.Refusal(), DemoReadRefusal::CannotOpen);
    EXPECT_FALSE(missing.size);
    EXPECT_FALSE(missing.written);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace reelwright
