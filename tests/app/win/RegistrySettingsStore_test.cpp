#include <gtest/gtest.h>

#include "core/AppInfo.h"
#include "app/win/RegistrySettingsStore.h"
#include "support/win/WinTestSupport.h"
#include "core/Version.h"

namespace reelwright {
namespace {

using namespace test;

struct RegistryStore : ::testing::Test {
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
    win::RegistrySettingsStore store;
};

TEST_F(RegistryStore, MissingValuesReadAsTheReadersDefault) {
    EXPECT_EQ(store.GetSetting("Settings", "SOF2 Path"), "");
    EXPECT_EQ(store.GetSetting("Settings", "Load Splash", "1"), "1");
    // A section that exists without the key, and a key under another version.
    store.SaveSetting("Settings", "Associate", "0");
    EXPECT_EQ(store.GetSetting("Settings", "Min on Playback", "1"), "1");
    EXPECT_EQ(win::RegistrySettingsStore(AppKey({0, 0, 0})).GetSetting("Settings", "Associate", "7"), "7");
}

TEST_F(RegistryStore, ValuesRoundTripUnderTheVersionedKey) {
    const std::string folder = "C:\\Spiele\\Soldier Of Fortune II \xc3\xa9t\xc3\xa9";
    store.SaveSetting("Settings", "SOF2 Path", folder);
    store.SaveSetting("Binds", "Bind0", "KP_UPARROW");
    store.SaveSetting("Binds", "Bind0", " F9");  // overwritten, blank kept
    EXPECT_EQ(store.GetSetting("Settings", "SOF2 Path"), folder);
    EXPECT_EQ(store.GetSetting("Binds", "Bind0", "F8"), " F9");

    // Exactly where other tools and later versions look for it: one REG_SZ
    // value per key under HKCU\Software\Reelwright\<AppKey>\<Section>.
    basAPI::UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Reelwright\\Reelwright_" REELWRIGHT_PRODUCTVERSION_TEXT L"\\Settings", 0,
                              KEY_QUERY_VALUE, key.put()),
              ERROR_SUCCESS);
    DWORD type = 0;
    ASSERT_EQ(::RegQueryValueExW(key.get(), L"SOF2 Path", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadSetting("Settings", "SOF2 Path"), folder);
}

TEST_F(RegistryStore, EmptyValueIsStoredAsEmptyNotAsMissing) {
    store.SaveSetting("Binds", "Bind3", "");
    EXPECT_EQ(store.GetSetting("Binds", "Bind3", "F4"), "");
}

}  // namespace
}  // namespace reelwright
