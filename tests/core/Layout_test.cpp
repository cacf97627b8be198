#include <gtest/gtest.h>

#include <vector>

#include "core/Layout.h"

namespace reelwright {
namespace {

// A label at (10, 20), 50 x 15, in a frame whose inner edge is at 200.
constexpr PixelRect kLabel{10, 20, 50, 15};

TEST(WidthToFit, GrowsToTheRightOnlyIntoFreeRoomInsideItsFrame) {
    // A caption that fits keeps the designed width, even with no room at all.
    EXPECT_EQ(WidthToFit(kLabel, 50, 0, {}), 50);
    EXPECT_EQ(WidthToFit(kLabel, 30, 200, {}), 50);
    // A wider one grows to exactly its width, up to the frame's edge.
    EXPECT_EQ(WidthToFit(kLabel, 80, 200, {}), 80);
    EXPECT_EQ(WidthToFit(kLabel, 190, 200, {}), 190);
    EXPECT_EQ(WidthToFit(kLabel, 191, 200, {}), 50);

    // A sibling to the right leaves room up to its left edge, and no more.
    const std::vector<PixelRect> box{{100, 18, 60, 20}};
    EXPECT_EQ(WidthToFit(kLabel, 90, 200, box), 90);
    EXPECT_EQ(WidthToFit(kLabel, 91, 200, box), 50);
    // Siblings above, below or to the left do not stand in the way.
    const std::vector<PixelRect> around{{10, 0, 180, 20}, {10, 35, 180, 20}, {0, 20, 10, 15}};
    EXPECT_EQ(WidthToFit(kLabel, 150, 200, around), 150);
    // One it already lies on (a picture, a frame drawn behind it) does not count.
    const std::vector<PixelRect> under{{0, 0, 300, 100}};
    EXPECT_EQ(WidthToFit(kLabel, 150, 200, under), 150);
}

}  // namespace
}  // namespace reelwright
