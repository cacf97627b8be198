#include <gtest/gtest.h>

#include "core/AppInfo.h"
#include "app/Startup.h"
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

}  // namespace
}  // namespace reelwright
