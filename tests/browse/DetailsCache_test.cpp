#include "browse/DetailsCache.h"

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

constexpr const char* kCacheFile = "C:\\Users\\me\\AppData\\Local\\Reelwright\\demo-details.cache";

DemoHeadAndLength Details(const std::string& map) {
    DemoHeadAndLength details;
    details.head.protocol = 2004;
    details.head.map = map;
    details.head.server = "Red Dragons";
    details.head.gameType = "ctf";
    details.head.mode = "Capture the Flag";
    details.head.mod = "My Mod";
    details.head.modFolder = "mymod";
    details.head.players = std::vector<DemoPlayer>{{"Alice", DemoTeam::Red}, {"Zoë", DemoTeam::Spectator}};
    details.length.milliseconds = 725'000;
    details.length.cutShort = true;
    return details;
}

void ExpectSame(const DemoHeadAndLength& a, const DemoHeadAndLength& b) {
    EXPECT_EQ(a.head.refusal, b.head.refusal);
    EXPECT_EQ(a.head.protocol, b.head.protocol);
    EXPECT_EQ(a.head.map, b.head.map);
    EXPECT_EQ(a.head.server, b.head.server);
    EXPECT_EQ(a.head.gameType, b.head.gameType);
    EXPECT_EQ(a.head.mode, b.head.mode);
    EXPECT_EQ(a.head.mod, b.head.mod);
    EXPECT_EQ(a.head.modFolder, b.head.modFolder);
    EXPECT_EQ(a.head.players, b.head.players);
    EXPECT_EQ(a.length.refusal, b.length.refusal);
    EXPECT_EQ(a.length.milliseconds, b.length.milliseconds);
    EXPECT_EQ(a.length.cutShort, b.length.cutShort);
}

TEST(DetailsCache, KeepsEveryDetailFromOneOpeningToTheNextThroughANewFile) {
    FakeFileSystem files;
    DetailsCache cache;
    cache.Store("C:\\d\\a.dm_2004", {100, 5}, Details("mp_shop"));
    DemoHeadAndLength unreadable;
    unreadable.head.refusal = DemoReadRefusal::Truncated;
    unreadable.length.refusal = DemoReadRefusal::Truncated;
    cache.Store("C:\\d\\b.dm_2004", {3, 6}, unreadable);
    DemoHeadAndLength noPlayers = Details("mp_jor1");
    noPlayers.head.players.reset();
    noPlayers.head.modFolder.reset();
    cache.Store("C:\\d\\c.dm_2004", {9, 9}, noPlayers);
    ASSERT_TRUE(cache.Save(files, kCacheFile));
    EXPECT_EQ(files.replaced, std::vector<std::string>{kCacheFile});

    DetailsCache again;
    EXPECT_EQ(again.Load(files, kCacheFile), DetailsCache::LoadOutcome::Loaded);
    EXPECT_EQ(again.Count(), 3u);
    const DemoHeadAndLength* a = again.Find("C:\\d\\a.dm_2004", {100, 5});
    ASSERT_TRUE(a);
    ExpectSame(*a, Details("mp_shop"));
    ASSERT_TRUE(again.Find("C:\\d\\b.dm_2004", {3, 6}));
    ExpectSame(*again.Find("C:\\d\\b.dm_2004", {3, 6}), unreadable);
    ExpectSame(*again.Find("C:\\d\\c.dm_2004", {9, 9}), noPlayers);
}

TEST(DetailsCache, AFileThatChangedSinceIsNotFound) {
    DetailsCache cache;
    cache.Store("C:\\d\\a.dm_2004", {100, 5}, Details("mp_shop"));
    EXPECT_FALSE(cache.Find("C:\\d\\a.dm_2004", {101, 5}));  // grew
    EXPECT_FALSE(cache.Find("C:\\d\\a.dm_2004", {100, 6}));  // written again
    EXPECT_FALSE(cache.Find("C:\\d\\other.dm_2004", {100, 5}));
    EXPECT_TRUE(cache.Find("C:\\d\\a.dm_2004", {100, 5}));
}

TEST(DetailsCache, ABrokenOrOtherVersionFileIsSetAsideAndTheCacheStartsEmpty) {
    DetailsCache good;
    good.Store("C:\\d\\a.dm_2004", {100, 5}, Details("mp_shop"));
    const std::string bytes = good.Serialise();
    std::string otherVersion = bytes;
    otherVersion[11] = 2;  // the version follows the 11 letters of the mark
    std::string badEnum = bytes;
    badEnum[bytes.size() - 10] = 9;  // the length's refusal is past its last value

    for (const std::string& broken :
         {bytes.substr(0, bytes.size() - 1), bytes + "x", otherVersion, badEnum, std::string("not a cache"),
          std::string()}) {
        FakeFileSystem files;
        files.Put(kCacheFile, broken);
        files.Put(std::string(kCacheFile) + ".old", "an earlier one");
        DetailsCache cache;
        cache.Store("C:\\d\\stale.dm_2004", {1, 1}, Details("x"));
        EXPECT_EQ(cache.Load(files, kCacheFile), DetailsCache::LoadOutcome::SetAside);
        EXPECT_EQ(cache.Count(), 0u);
        EXPECT_FALSE(files.FileExists(kCacheFile));
        EXPECT_EQ(files.files[std::string(kCacheFile) + ".old"], broken);
    }
    FakeFileSystem none;
    DetailsCache cache;
    EXPECT_EQ(cache.Load(none, kCacheFile), DetailsCache::LoadOutcome::Missing);
}

TEST(DetailsCache, NeverPassesItsLimitAndDropsTheEntriesUsedLongestAgo) {
    DetailsCache probe;
    probe.Store("C:\\d\\0.dm_2004", {1, 1}, Details("mp_shop"));
    const std::size_t one = probe.Serialise().size();
    const std::size_t header = DetailsCache().Serialise().size();
    const std::size_t record = one - header;

    // Room for three records.
    DetailsCache cache(header + 3 * record);
    for (int index = 0; index < 5; ++index)
        cache.Store("C:\\d\\" + std::to_string(index) + ".dm_2004", {1, 1}, Details("mp_shop"));
    ASSERT_TRUE(cache.Find("C:\\d\\0.dm_2004", {1, 1}));  // used again: now the newest
    const std::string bytes = cache.Serialise();
    EXPECT_LE(bytes.size(), header + 3 * record);

    DetailsCache again;
    ASSERT_TRUE(again.Deserialise(bytes));
    EXPECT_EQ(again.Count(), 3u);
    EXPECT_TRUE(again.Find("C:\\d\\0.dm_2004", {1, 1}));
    EXPECT_TRUE(again.Find("C:\\d\\4.dm_2004", {1, 1}));
    EXPECT_TRUE(again.Find("C:\\d\\3.dm_2004", {1, 1}));
    EXPECT_FALSE(again.Find("C:\\d\\1.dm_2004", {1, 1}));
}

}  // namespace
}  // namespace reelwright
