// The start-up's choices: splash or main window, a second instance, the
// single-instance mutex and the helper switch.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/Startup.h"
#include "core/AppInfo.h"
#include "core/Version.h"
#include "support/Fakes.h"

namespace reelwright {
namespace {

TEST(Startup, ChoosesSplashOrMainWindowFromLoadSplash) {
    test::FakeSettingsStore store;
    EXPECT_EQ(DecideStartup(false, store), StartupChoice::ShowSplash);  // missing: default 1

    const std::pair<const char*, StartupChoice> cases[] = {
        {"0", StartupChoice::ShowMainWindow}, {" 0 ", StartupChoice::ShowMainWindow},
        {"1", StartupChoice::ShowSplash},     {"2", StartupChoice::ShowSplash},
        {"-1", StartupChoice::ShowSplash},    {"off", StartupChoice::ShowSplash},
    };
    for (const auto& [value, expected] : cases) {
        store.Put("Settings", "Load Splash", value);
        EXPECT_EQ(DecideStartup(false, store), expected) << "Load Splash = \"" << value << "\"";
    }
}

TEST(Startup, SecondInstanceExitsWithoutReadingSettings) {
    test::Journal journal;
    test::FakeSettingsStore store(&journal);
    store.Put("Settings", "Load Splash", "0");
    EXPECT_EQ(DecideStartup(true, store), StartupChoice::Exit);
    EXPECT_TRUE(journal.entries.empty());
}

TEST(Startup, UnreadableStoreStillShowsTheSplash) {
    test::FakeSettingsStore store;
    store.failingKeys.insert("Settings/Load Splash");
    EXPECT_EQ(DecideStartup(false, store), StartupChoice::ShowSplash);
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
