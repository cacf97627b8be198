#include <gtest/gtest.h>

#include "core/AppInfo.h"
#include "app/Startup.h"
#include "core/Text.h"
#include "support/Fakes.h"
#include "core/Version.h"

namespace reelwright {
namespace {

TEST(AppInfo, AppKeyAndVersionTextsComeFromTheVersionNumbers) {
    // The one place the version's format is pinned: plain decimal, no
    // leading zeros, whatever the numbers. Every other test takes the text
    // from Version.h.
    EXPECT_EQ(VersionText(), REELWRIGHT_PRODUCTVERSION_TEXT);
    EXPECT_EQ(AppKey(), "Reelwright_" REELWRIGHT_PRODUCTVERSION_TEXT);
    EXPECT_EQ(AppKey({2, 10, 3}), "Reelwright_2.10.3");
    EXPECT_EQ(VersionText({0, 0, 0}), "0.0.0");
    EXPECT_EQ(SplashVersionCaption(), " Version:   " REELWRIGHT_PRODUCTVERSION_TEXT);
}

TEST(Text, TrimRemovesBlanksOnlyAtBothEnds) {
    EXPECT_EQ(TrimBlanks("  C:\\Games\\SOF2  "), "C:\\Games\\SOF2");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks(" a b "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");  // only blanks count
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_TRUE(IsBlank(""));
    EXPECT_FALSE(IsBlank(" x "));
}

TEST(Text, NamesCompareWithoutRegardToAsciiCase) {
    EXPECT_TRUE(EqualIgnoringAsciiCase("C:\\Games\\SOF2", "c:\\GAMES\\sof2"));
    EXPECT_TRUE(EqualIgnoringAsciiCase("", ""));
    EXPECT_FALSE(EqualIgnoringAsciiCase("SOF2_Demo_File", "SOF2_Demo_Files"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("\xc3\x89t\xc3\xa9", "\xc3\xa9t\xc3\xa9"));  // only ASCII letters fold
}

TEST(Text, StoredOnOffValuesReadAsNumbers) {
    EXPECT_EQ(WholeNumber("1"), 1);
    EXPECT_EQ(WholeNumber(" 2 "), 2);
    EXPECT_EQ(WholeNumber("1.7"), 1);
    EXPECT_EQ(WholeNumber("-0.5"), -1);  // the whole part rounds down
    EXPECT_EQ(WholeNumber("0"), 0);
    EXPECT_FALSE(WholeNumber("yes"));
    EXPECT_FALSE(WholeNumber(""));
    EXPECT_FALSE(WholeNumber("1x"));

    EXPECT_EQ(Int16Number(" 1 "), 1);
    EXPECT_EQ(Int16Number("32767"), 32767);
    EXPECT_FALSE(Int16Number("32768"));
    EXPECT_FALSE(Int16Number("on"));
}

TEST(Startup, ChoosesSplashOrMainWindowFromLoadSplash) {
    test::FakeSettingsStore store;
    const std::string key = AppKey();
    EXPECT_EQ(DecideStartup(false, store, key), StartupChoice::ShowSplash);  // missing: default 1

    const std::pair<const char*, StartupChoice> cases[] = {
        {"0", StartupChoice::ShowMainWindow}, {" 0 ", StartupChoice::ShowMainWindow},
        {"1", StartupChoice::ShowSplash},     {"2", StartupChoice::ShowSplash},
        {"-1", StartupChoice::ShowSplash},    {"off", StartupChoice::ShowSplash},
    };
    for (const auto& [value, expected] : cases) {
        store.Put("Settings", "Load Splash", value);
        EXPECT_EQ(DecideStartup(false, store, key), expected) << "Load Splash = \"" << value << "\"";
    }
    EXPECT_EQ(store.applicationsUsed, std::set<std::string>{"Reelwright_" REELWRIGHT_PRODUCTVERSION_TEXT});
}

TEST(Startup, SecondInstanceExitsWithoutReadingSettings) {
    test::Journal journal;
    test::FakeSettingsStore store(&journal);
    store.Put("Settings", "Load Splash", "0");
    EXPECT_EQ(DecideStartup(true, store, AppKey()), StartupChoice::Exit);
    EXPECT_TRUE(journal.entries.empty());
}

TEST(Startup, UnreadableStoreStillShowsTheSplash) {
    test::FakeSettingsStore store;
    store.failingKeys.insert("Settings/Load Splash");
    EXPECT_EQ(DecideStartup(false, store, AppKey()), StartupChoice::ShowSplash);
}

TEST(Startup, MutexNameIsMadeFromTheAppKey) {
    EXPECT_NE(SingleInstanceMutexName("Reelwright_2.10.3").find("Reelwright_2.10.3"), std::string::npos);
    EXPECT_NE(SingleInstanceMutexName("Reelwright_2.10.3"), SingleInstanceMutexName("Reelwright_2.10.4"));
}

TEST(Startup, OnlyTheHelperSwitchRunsTheHelperMode) {
    reelwright::test::Journal journal;
    reelwright::test::FakeFileSystem files(&journal);
    for (const char* tail : {"", "\"C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004\"", "/copy-scripts"})
        EXPECT_EQ(RunHelperMode(tail, files), std::nullopt) << tail;
    EXPECT_TRUE(journal.entries.empty());
    // The switch with a game folder that holds no game: refused, nothing touched.
    EXPECT_EQ(RunHelperMode("/copy-script \"C:\\t.tmp\" \"C:\\Windows\" \"base\\mp\"", files), 1);
    for (const std::string& entry : journal.entries)
        EXPECT_FALSE(entry.starts_with("write ") || entry.starts_with("readonly ")) << entry;
}

}  // namespace
}  // namespace reelwright
