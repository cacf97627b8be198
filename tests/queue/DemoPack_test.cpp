#include "queue/DemoPack.h"

#include <gtest/gtest.h>

#include "core/AppInfo.h"
#include "app/MainWindowLoad.h"
#include "queue/DemoAdd.h"
#include "queue/DemoDrop.h"
#include "queue/DemoPackOffer.h"
#include "queue/PackUnpack.h"
#include "support/DemoEncoder.h"
#include "support/FakeServices.h"
#include "support/ZipWriter.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

constexpr const char* kGame = "C:\\Games\\SOF2";
constexpr const char* kBase = "C:\\Games\\SOF2\\base\\mp\\demos";
constexpr const char* kPack = "D:\\Downloads\\Clan Cup #3.zip";

// A demo recorded with `fsGame` (none: the game itself).
std::string DemoWithMod(const char* fsGame, std::int32_t time = 1000) {
    GameStateParts parts;
    parts.serverInfo = "\\mapname\\mp_shop\\g_gametype\\dm";
    if (fsGame) parts.systemInfo = std::string("\\sv_serverid\\1\\fs_game\\") + fsGame;
    return Demo(parts, {time});
}

class DemoPackTest : public ::testing::Test, protected FakeServices {
protected:
    DemoPackTest() {
        store.Put(kSectionSettings, kKeyGamePath, kGame);
        files.folders.insert(kBase);
        files.folders.insert("C:\\Games\\SOF2\\rpm");
        files.folders.insert("D:\\Downloads");
    }
    void Pack(const std::vector<ZipEntryLayout>& entries) { files.files[kPack] = ZipFile(entries); }
    Strings Names() const {
        Strings names;
        for (const auto& entry : queue.Entries()) names.push_back(entry.GameType + " " + entry.Name);
        return names;
    }
    // Everything but the pack, to show that nothing was left behind.
    std::pair<std::map<std::string, std::string>, std::set<std::string>> State() const {
        return {files.files, files.folders};
    }
    DemoQueue queue;
};

TEST_F(DemoPackTest, ThePacksDemosGoToTheirModsFoldersFlatAndAreQueuedInNaturalOrder) {
    Pack({{"round10.dm_2004", DemoWithMod(nullptr, 10)},
          {"finals/round2.dm_2004", DemoWithMod("rpm", 2)},
          {"readme.txt", "not a demo"},
          {"../../evil.dm_2004", DemoWithMod(nullptr, 66)},
          {"sub/round1.dm_2004", DemoWithMod("ghost", 1)},
          {"x/Round2.dm_2004", DemoWithMod(nullptr, 22)},
          {"round2.dm_2004", DemoWithMod(nullptr, 20)},
          {"sub/", ""}});
    prompts.messageAnswers = {MessageAnswer::Yes};
    const DropDemosResult result = DropDemos(services, queue, {kPack});

    ASSERT_EQ(prompts.messages.size(), 1u);
    const std::string& question = prompts.messages[0].text;
    EXPECT_EQ(prompts.messages[0].title, "Reelwright - Copy demo");
    EXPECT_EQ(question.substr(0, question.find("\r\n")),
              "Copy the 5 demos of Clan Cup #3.zip into your game and queue them?");
    EXPECT_NE(question.find("\r\nC:\\Games\\SOF2\\rpm\\demos\\Clan_Cup_#3"), std::string::npos);
    EXPECT_NE(question.find("\r\nC:\\Games\\SOF2\\base\\mp\\demos\\Clan_Cup_#3"), std::string::npos);
    EXPECT_NE(question.find("the mod \"ghost\""), std::string::npos);
    EXPECT_NE(question.find("../../evil.dm_2004: its name leads out of the pack's folder (..)"), std::string::npos);
    EXPECT_EQ(question.find("readme"), std::string::npos);

    EXPECT_EQ(result.add.added, 5u);
    EXPECT_EQ(Names(), (Strings{"rpm Clan_Cup_#3\\round2.dm_2004", "base\\mp Clan_Cup_#3\\round2.dm_2004",
                                "base\\mp Clan_Cup_#3\\round10.dm_2004", "base\\mp Clan_Cup_#3\\round1.dm_2004",
                                "base\\mp Clan_Cup_#3\\Round2_2.dm_2004"}));
    const std::string base = std::string(kBase) + "\\Clan_Cup_#3\\";
    EXPECT_EQ(queue.At(2).Path, base + "round2.dm_2004");
    EXPECT_EQ(files.files.at(base + "round2.dm_2004"), DemoWithMod(nullptr, 20));
    EXPECT_EQ(files.files.at(base + "Round2_2.dm_2004"), DemoWithMod(nullptr, 22));
    EXPECT_EQ(files.files.at("C:\\Games\\SOF2\\rpm\\demos\\Clan_Cup_#3\\round2.dm_2004"), DemoWithMod("rpm", 2));
    // Nothing else was written, and no ".partial" folder stays.
    std::size_t written = 0;
    for (const auto& [path, bytes] : files.files) written += path.starts_with("C:\\");
    EXPECT_EQ(written, 5u);
    for (const std::string& folder : files.folders) EXPECT_EQ(folder.find(".partial"), std::string::npos) << folder;
    EXPECT_EQ(files.folderAttributes.at(std::string(kBase) + "\\Clan_Cup_#3"), 0u);
}

TEST_F(DemoPackTest, TheModIsReadFromTheUnpackedStartOfALongDemoWithALargeGameState) {
    GameStateParts parts;
    parts.serverInfo = "\\mapname\\mp_shop\\g_gametype\\dm";
    parts.systemInfo = "\\sv_serverid\\1\\fs_game\\rpm";
    for (int i = 0; i < 40; ++i) parts.moreStrings.push_back(std::string(1000, static_cast<char>('a' + i % 26)));
    std::vector<std::int32_t> times;
    for (int t = 1; t <= 20000; ++t) times.push_back(t * 50);
    const std::string demo = Demo(parts, times);
    ASSERT_GT(demo.size(), 2 * kPackDemoHeadBytes);
    Pack({{"long.dm_2004", demo}});
    prompts.messageAnswers = {MessageAnswer::Yes};
    DropDemos(services, queue, {kPack});
    EXPECT_EQ(Names(), (Strings{"rpm Clan_Cup_#3\\long.dm_2004"}));
    EXPECT_EQ(files.files.at("C:\\Games\\SOF2\\rpm\\demos\\Clan_Cup_#3\\long.dm_2004"), demo);
}

TEST_F(DemoPackTest, AFolderOfThePacksNameThatHoldsFilesGetsANumberAndAnEmptyOneIsTaken) {
    Pack({{"a.dm_2004", DemoWithMod(nullptr)}, {"b.dm_2004", DemoWithMod("rpm")}});
    files.files[std::string(kBase) + "\\Clan_Cup_#3\\mine.dm_2004"] = "the player's";
    files.folders.insert(std::string(kBase) + "\\Clan_Cup_#3_2");  // holds a folder
    files.folders.insert(std::string(kBase) + "\\Clan_Cup_#3_2\\x");
    files.folders.insert("C:\\Games\\SOF2\\rpm\\demos\\Clan_Cup_#3");  // empty
    prompts.messageAnswers = {MessageAnswer::Yes};
    DropDemos(services, queue, {kPack});
    EXPECT_EQ(files.files.at(std::string(kBase) + "\\Clan_Cup_#3_3\\a.dm_2004"), DemoWithMod(nullptr));
    EXPECT_EQ(files.files.at("C:\\Games\\SOF2\\rpm\\demos\\Clan_Cup_#3\\b.dm_2004"), DemoWithMod("rpm"));
    EXPECT_EQ(files.files.at(std::string(kBase) + "\\Clan_Cup_#3\\mine.dm_2004"), "the player's");
}

TEST_F(DemoPackTest, NoRefusesThePackAsAFileThatIsNoDemoAndWritesNothing) {
    Pack({{"a.dm_2004", DemoWithMod(nullptr)}});
    const auto before = State();
    prompts.messageAnswers = {MessageAnswer::No};
    const DropDemosResult result = DropDemos(services, queue, {kPack});
    EXPECT_EQ(result.notDemos, 1u);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, "1 dropped file was skipped, because it is not a demo file (*.dm_2004).");
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(State(), before);
}

TEST_F(DemoPackTest, ABrokenPackOrACancelLeavesNothingAndQueuesNothing) {
    const std::string good = DemoWithMod(nullptr);
    const std::string zeros(kMostPackDemoBytes + 1, '\0');
    struct Case {
        const char* what;
        std::vector<ZipEntryLayout> entries;
        int cancelAfter;
        const char* told;  // the start of the stop box, none for a cancel
    } cases[] = {
        {"a wrong CRC in the last demo",
         {{"a.dm_2004", good}, {"b.dm_2004", DemoWithMod("rpm")}, {"c.dm_2004", good, true, 0, 0xFFFF, {}, 7}},
         -1, "Clan Cup #3.zip could not be unpacked, because it is damaged or incomplete."},
        {"a demo over 64 MiB that claims a few bytes",
         {{"a.dm_2004", good}, {"b.dm_2004", zeros, true, 0, 0xFFFF, 1000}},
         -1, "Clan Cup #3.zip could not be unpacked, because it is damaged or incomplete."},
        {"a cancel after the first demo", {{"a.dm_2004", good}, {"b.dm_2004", DemoWithMod("rpm")}}, 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Pack(c.entries);
        const auto before = State();
        prompts.messages.clear();
        prompts.messageAnswers = {MessageAnswer::Yes};
        prompts.cancelAfterReports = c.cancelAfter;
        DropDemos(services, queue, {kPack});
        EXPECT_TRUE(queue.Empty());
        EXPECT_EQ(State(), before);
        if (c.told) {
            ASSERT_EQ(prompts.messages.size(), 2u);
            EXPECT_EQ(prompts.messages[1].text.substr(0, std::string(c.told).size()), c.told);
            EXPECT_EQ(prompts.messages[1].icon, MessageIcon::Stop);
        } else {
            EXPECT_EQ(prompts.messages.size(), 1u);  // the question alone
        }
    }
}

TEST_F(DemoPackTest, APackThatCannotBeReadIsToldBeforeAnyQuestion) {
    const std::string whole = ZipFile({{"a.dm_2004", DemoWithMod(nullptr)}});
    struct Case {
        const char* what;
        std::string bytes;
        const char* text;
    } cases[] = {
        {"truncated", whole.substr(0, whole.size() - 30),
         "Clan Cup #3.zip could not be unpacked, because it is damaged or incomplete.\r\n\r\nNothing of it was copied or "
         "queued."},
        {"not a zip", "just text",
         "Clan Cup #3.zip could not be unpacked, because it is not a zip file.\r\n\r\nNothing of it was copied or "
         "queued."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.files[kPack] = c.bytes;
        const auto before = State();
        prompts.messages.clear();
        DropDemos(services, queue, {kPack});
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, c.text);
        EXPECT_TRUE(queue.Empty());
        EXPECT_EQ(State(), before);
    }
}

TEST_F(DemoPackTest, EncryptedAndUnknownEntriesAreNamedAndAPackOfNothingElseSaysSo) {
    Pack({{"locked.dm_2004", DemoWithMod(nullptr), true, 0x1}, {"odd.dm_2004", DemoWithMod(nullptr), true, 0, 14}});
    DropDemos(services, queue, {kPack});
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages[0].text,
              "Clan Cup #3.zip holds no demo files (*.dm_2004) that can be copied.\r\n\r\nThese files of the pack are "
              "left out:\r\nlocked.dm_2004: it is encrypted\r\nodd.dm_2004: it is compressed in a way Reelwright does "
              "not unpack");
    EXPECT_TRUE(queue.Empty());
}

TEST_F(DemoPackTest, AddsDialogOffersPacksAndADeclinedPackIsRefusedAsNoDemo) {
    Pack({{"a.dm_2004", DemoWithMod(nullptr)}, {"b.dm_2004", DemoWithMod("rpm")}});
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        prompts.messages.clear();
        prompts.messageAnswers = {answer};
        prompts.openFileAnswers.push_back(OpenFileResult{kPack, "Clan Cup #3.zip"});
        const AddDemosResult result = AddDemos(services, queue);
        const OpenFileRequest& request = prompts.openFileRequests.back();
        EXPECT_EQ(request.filterDescription, "SOF2 Demo Files (*.dm_2004)");
        EXPECT_EQ(request.moreFilters, (std::vector<std::pair<std::string, std::string>>{
                                           {"Demo packs (*.zip)", "*.zip"},
                                           {"Demo files and packs (*.dm_2004;*.zip)", "*.dm_2004;*.zip"}}));
        if (answer == MessageAnswer::No) {
            EXPECT_EQ(result.notDemos, 1u);
            ASSERT_EQ(prompts.messages.size(), 2u);
            EXPECT_EQ(prompts.messages[1].text, "1 chosen file was skipped, because it is not a demo file (*.dm_2004).");
            EXPECT_TRUE(queue.Empty());
        } else {
            EXPECT_EQ(result.added, 2u);
            EXPECT_EQ(Names(), (Strings{"base\\mp Clan_Cup_#3\\a.dm_2004", "rpm Clan_Cup_#3\\b.dm_2004"}));
            EXPECT_EQ(queue.At(2).Path, "C:\\Games\\SOF2\\rpm\\demos\\Clan_Cup_#3\\b.dm_2004");
        }
    }
}

TEST_F(DemoPackTest, OpenedWithTheProgramAPackOfSeveralDemosIsQueuedAndNoneStarts) {
    Pack({{"a.dm_2004", DemoWithMod(nullptr)}, {"b.dm_2004", DemoWithMod("rpm")}});
    prompts.messageAnswers = {MessageAnswer::Yes};
    PlayDemoDirectly(services, kGame, kPack, &queue);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.substr(0, prompts.messages[0].text.find("\r\n")),
              "Copy the 2 demos of Clan Cup #3.zip into your game and queue them?");
    EXPECT_EQ(Names(), (Strings{"base\\mp Clan_Cup_#3\\a.dm_2004", "rpm Clan_Cup_#3\\b.dm_2004"}));
    EXPECT_TRUE(shell.calls.empty());
    // No: the refusal of a file that is no demo in a demos folder.
    queue = DemoQueue{};
    prompts.messages.clear();
    prompts.messageAnswers = {MessageAnswer::No};
    PlayDemoDirectly(services, kGame, kPack, &queue);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, kPlayErrorText);
    EXPECT_TRUE(queue.Empty());
}

TEST(PackNames, BlanksAndCharactersTheGameRefusesBecomeUnderscores) {
    EXPECT_EQ(SafePackName("Clan Cup #3"), "Clan_Cup_#3");
    EXPECT_EQ(SafePackName("a<b>c|d?e*f\x01g"), "a_b_c_d_e_f_g");
    EXPECT_EQ(SafePackName("a;b+c/d\\e\"f:g"), "a_b_c_d_e_f_g");
    EXPECT_EQ(SafePackName("K\xC3\xBC" "r"), "K_r");
    EXPECT_EQ(SafePackName("end."), "end_");
    EXPECT_EQ(SafePackName(""), "pack");
    EXPECT_TRUE(IsPackFileName("A.ZIP"));
    EXPECT_FALSE(IsPackFileName(".zip.dm_2004"));
}

}  // namespace
}  // namespace reelwright
