#include "queue/DemoCopy.h"

#include <gtest/gtest.h>

#include "support/DemoEncoder.h"
#include "support/Fakes.h"

namespace reelwright {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kGame = "C:\\Games\\SOF2\\";
constexpr const char* kDownloads = "C:\\Users\\p\\Downloads\\";

// A demo recorded with `fsGame` in its system info (none: no system info).
std::string DemoWithMod(const char* fsGame, std::int32_t time = 1000) {
    test::GameStateParts parts;
    parts.serverInfo = "\\mapname\\mp_shop\\g_gametype\\dm";
    if (fsGame)
        parts.systemInfo = std::string("\\sv_serverid\\1\\fs_game\\") + fsGame;
    else
        parts.otherStrings = false;
    return test::Demo(parts, {time});
}

class DemoCopyTest : public ::testing::Test {
protected:
    DemoCopyTest() { files.folders.insert("C:\\Games\\SOF2\\base\\mp\\demos"); }
    test::FakeFileSystem files;
};

TEST_F(DemoCopyTest, TargetFolderFollowsTheRecordedModWhenTheGameFolderHasIt) {
    files.folders.insert("C:\\Games\\SOF2\\rpm");
    struct Case {
        const char* fsGame;
        const char* gameType;
        const char* missingMod;
    } cases[] = {
        {"rpm", "rpm", ""},
        {"ghost", "base\\mp", "ghost"},        // the game folder lacks it
        {nullptr, "base\\mp", ""},             // no system info: the game itself
        {"../../Windows", "base\\mp", "../../Windows"},  // no folder name: kept as text only
        {"", "base\\mp", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fsGame ? c.fsGame : "(none)");
        files.files[std::string(kDownloads) + "a.dm_2004"] = DemoWithMod(c.fsGame);
        const DemoCopyBatch batch = PlanDemoCopies(files, kGame, {std::string(kDownloads) + "a.dm_2004"});
        ASSERT_EQ(batch.copies.size(), 1u);
        const DemoCopyPlan& copy = batch.copies.front();
        EXPECT_EQ(copy.gameType, c.gameType);
        EXPECT_EQ(copy.missingMod, c.missingMod);
        EXPECT_EQ(copy.target, "C:\\Games\\SOF2\\" + std::string(c.gameType) + "\\demos\\a.dm_2004");
        EXPECT_EQ(copy.Place().name, "a.dm_2004");
        EXPECT_EQ(copy.Place().gameType, c.gameType);
        EXPECT_EQ(CopyQuestion(batch.copies, CopyGoal::Play).find("which is not in your game folder") !=
                      std::string::npos,
                  *c.missingMod != '\0');
    }
}

TEST_F(DemoCopyTest, CollisionsReuseTheSameBytesAndNumberOtherBytes) {
    const std::string demo = DemoWithMod(nullptr);
    const std::string other = DemoWithMod(nullptr, 2000);
    const std::string demos = "C:\\Games\\SOF2\\base\\mp\\demos\\";
    struct Case {
        std::map<std::string, std::string> existing;
        const char* target;
        bool reuse;
    } cases[] = {
        {{}, "duel.dm_2004", false},
        {{{"duel.dm_2004", demo}}, "duel.dm_2004", true},
        {{{"duel.dm_2004", other}}, "duel_2.dm_2004", false},
        {{{"duel.dm_2004", other}, {"duel_2.dm_2004", other}}, "duel_3.dm_2004", false},
        {{{"duel.dm_2004", other}, {"duel_2.dm_2004", demo}}, "duel_2.dm_2004", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        test::FakeFileSystem fresh;
        fresh.files[std::string(kDownloads) + "duel.dm_2004"] = demo;
        for (const auto& [name, bytes] : c.existing) fresh.files[demos + name] = bytes;
        std::vector<DemoCopyPlan> copies = PlanDemoCopies(fresh, kGame, {std::string(kDownloads) + "duel.dm_2004"}).copies;
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].target, demos + c.target);
        EXPECT_EQ(copies[0].reuse, c.reuse);

        ASSERT_FALSE(CopyPlannedDemos(fresh, kGame, copies));
        EXPECT_EQ(fresh.files.at(demos + c.target), demo);
        for (const auto& [name, bytes] : c.existing) EXPECT_EQ(fresh.files.at(demos + name), bytes) << name;
    }
}

TEST_F(DemoCopyTest, SeveralFilesGoToSeveralModsInOneQuestion) {
    files.folders.insert("C:\\Games\\SOF2\\rpm");
    files.files["C:\\D\\a.dm_2004"] = DemoWithMod("rpm");
    files.files["C:\\E\\a.dm_2004"] = DemoWithMod("rpm", 3000);  // same name, other bytes
    files.files["C:\\D\\b.dm_2004"] = DemoWithMod(nullptr);
    files.files["C:\\D\\c.dm_2004"] = DemoWithMod("ghost");

    DemoCopyBatch batch =
        PlanDemoCopies(files, kGame, {"C:\\D\\a.dm_2004", "C:\\E\\a.dm_2004", "C:\\D\\b.dm_2004", "C:\\D\\c.dm_2004"});
    Strings targets;
    for (const DemoCopyPlan& copy : batch.copies) targets.push_back(copy.target);
    EXPECT_EQ(targets, (Strings{"C:\\Games\\SOF2\\rpm\\demos\\a.dm_2004", "C:\\Games\\SOF2\\rpm\\demos\\a_2.dm_2004",
                                "C:\\Games\\SOF2\\base\\mp\\demos\\b.dm_2004",
                                "C:\\Games\\SOF2\\base\\mp\\demos\\c.dm_2004"}));
    EXPECT_EQ(CopyQuestion(batch.copies, CopyGoal::Queue),
              "4 demo files are not in a demos folder of your game, so the game cannot play them. Copy them to "
              "these folders and queue them?\r\n\r\nC:\\Games\\SOF2\\rpm\\demos\r\nC:\\Games\\SOF2\\base\\mp\\demos"
              "\r\n\r\nA demo was recorded with the mod \"ghost\", which is not in your game folder; it may not "
              "play.");

    ASSERT_FALSE(CopyPlannedDemos(files, kGame, batch.copies));
    EXPECT_EQ(files.files.at("C:\\Games\\SOF2\\rpm\\demos\\a.dm_2004"), files.files.at("C:\\D\\a.dm_2004"));
    EXPECT_EQ(files.files.at("C:\\Games\\SOF2\\rpm\\demos\\a_2.dm_2004"), files.files.at("C:\\E\\a.dm_2004"));
    EXPECT_TRUE(files.IsFolder("C:\\Games\\SOF2\\rpm\\demos"));
    EXPECT_TRUE(files.files.count("C:\\D\\a.dm_2004"));  // the source stays
}

TEST_F(DemoCopyTest, OneFileQuestionNamesTheFileAndTheCopy) {
    files.files["C:\\D\\a.dm_2004"] = DemoWithMod(nullptr);
    const DemoCopyBatch batch = PlanDemoCopies(files, kGame, {"C:\\D\\a.dm_2004"});
    EXPECT_EQ(CopyQuestion(batch.copies, CopyGoal::Play),
              "C:\\D\\a.dm_2004 is not in a demos folder of your game, so the game cannot play it. Copy it to "
              "C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004 and play it?");
}

TEST_F(DemoCopyTest, ASourceThatCannotBeReadIsToldAndLeftOut) {
    files.files["C:\\D\\a.dm_2004"] = DemoWithMod(nullptr);
    files.files["C:\\D\\locked.dm_2004"] = DemoWithMod(nullptr);
    files.failingPaths.insert("C:\\D\\locked.dm_2004");
    const DemoCopyBatch batch = PlanDemoCopies(files, kGame, {"C:\\D\\locked.dm_2004", "C:\\D\\gone.dm_2004", "C:\\D\\a.dm_2004"});
    ASSERT_EQ(batch.copies.size(), 1u);
    EXPECT_EQ(batch.copies[0].source, "C:\\D\\a.dm_2004");
    EXPECT_EQ(UnreadableDemosMessage(batch.unreadable),
              "These demo files could not be read, so they were not copied:\r\n\r\nC:\\D\\locked.dm_2004: Access is "
              "denied\r\nC:\\D\\gone.dm_2004: The system cannot find the file specified");
}

TEST_F(DemoCopyTest, ATargetThatCannotBeWrittenCopiesNothing) {
    files.files["C:\\D\\a.dm_2004"] = DemoWithMod(nullptr);
    files.files["C:\\D\\b.dm_2004"] = DemoWithMod("rpm");
    files.folders.insert("C:\\Games\\SOF2\\rpm");
    struct Case {
        const char* failing;
    } cases[] = {{"C:\\Games\\SOF2\\rpm\\demos"}, {"C:\\Games\\SOF2\\rpm\\demos\\b.dm_2004"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        test::FakeFileSystem fresh = files;
        fresh.failingPaths = {c.failing};
        std::vector<DemoCopyPlan> copies = PlanDemoCopies(fresh, kGame, {"C:\\D\\a.dm_2004", "C:\\D\\b.dm_2004"}).copies;
        const auto failure = CopyPlannedDemos(fresh, kGame, copies);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->path, c.failing);
        EXPECT_EQ(failure->reason, "Access is denied");
        EXPECT_FALSE(fresh.files.count("C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004"));  // the first one undone
        EXPECT_FALSE(fresh.folders.count("C:\\Games\\SOF2\\rpm\\demos"));
        EXPECT_NE(CopyFailedMessage(*failure).find("Access is denied"), std::string::npos);
    }
}

TEST(DemoCopyOffer, OnlyDemoFilesOutsideADemosFolderAreOffered) {
    struct Case {
        DemoRefusal refusal;
        const char* path;
        bool offered;
    } cases[] = {
        {DemoRefusal::OutsideGameFolder, "C:\\D\\a.dm_2004", true},
        {DemoRefusal::NoDemosFolder, "C:\\Games\\SOF2\\base\\mp\\a.DM_2004", true},
        {DemoRefusal::OutsideGameFolder, "C:\\D\\a.txt", false},
        {DemoRefusal::EmptyFolderName, "C:\\Games\\SOF2\\\\demos\\a.dm_2004", false},
        {DemoRefusal::NoGameFolder, "C:\\D\\a.dm_2004", false},
        {DemoRefusal::None, "C:\\Games\\SOF2\\demos\\a.dm_2004", false},
    };
    for (const Case& c : cases) EXPECT_EQ(MayOfferCopy(DemoPlace{{}, {}, c.refusal}, c.path), c.offered) << c.path;
}

}  // namespace
}  // namespace reelwright
