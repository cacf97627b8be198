#include "app/DemosWindowSettings.h"

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

TEST(DemosWindowSettings, ReadsWhatWasSavedAndLeavesOutWhatIsMissingOrNotANumber) {
    FakeSettingsStore store;
    SaveDemosWindowSettings(store, -1200, 40, {9000, 6000}, {1440, 1200, 900});
    DemosWindowSettings read = ReadDemosWindowSettings(store, 3);
    EXPECT_EQ(read.left, -1200);
    EXPECT_EQ(read.top, 40);
    EXPECT_EQ(read.clientSize, (TwipsSize{9000, 6000}));
    EXPECT_EQ(read.columnTwips, (std::vector<int>{1440, 1200, 900}));
    EXPECT_FALSE(ReadDemosWindowSettings(store, 9).columnTwips);  // another count of columns

    store.Put(kSectionDemosWindow, kKeyTop, "forty");
    store.Put(kSectionDemosWindow, kKeyHeight, "");
    read = ReadDemosWindowSettings(store, 3);
    EXPECT_FALSE(read.left);  // a place needs both
    EXPECT_FALSE(read.top);
    EXPECT_FALSE(read.clientSize);

    store.failingKeys.insert("Demos Window/Left");
    read = ReadDemosWindowSettings(store, 3);
    EXPECT_FALSE(read.left || read.clientSize || read.columnTwips);
}

TEST(DemosWindowSettings, PixelsAreWholeNumbersAWindowCanTake) {
    EXPECT_EQ(ParseStoredPixels(" -5 "), -5);
    EXPECT_EQ(ParseStoredPixels("32767"), 32767);
    EXPECT_FALSE(ParseStoredPixels("32768"));
    EXPECT_FALSE(ParseStoredPixels("1.5"));
    EXPECT_FALSE(ParseStoredPixels("12px"));
    EXPECT_FALSE(ParseStoredPixels(""));
}

}  // namespace
}  // namespace reelwright
