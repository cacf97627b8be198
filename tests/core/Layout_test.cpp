#include <gtest/gtest.h>

#include <optional>
#include <string>
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

// The main window's queue, one of its buttons and Launch, as designed (in
// twips), in a window grown by a number of twips, at 96 and 144 DPI.
TEST(Anchored, EachEdgeKeepsItsDistanceToTheEdgeItFollows) {
    constexpr TwipsRect kList{360, 960, 4695, 3615};
    constexpr TwipsRect kButton{5160, 960, 855, 375};
    constexpr TwipsRect kLaunch{2520, 5760, 1095, 375};
    struct Case {
        TwipsRect designed;
        Anchor anchor;
        int dpi, extraWidthTwips, extraHeightTwips;
        PixelRect expected;
    } cases[] = {
        // As designed, whatever the anchor.
        {kList, {Follow::Grow, Follow::Grow}, 96, 0, 0, {24, 64, 313, 241}},
        {kButton, {Follow::End, Follow::Start}, 96, 0, 0, {344, 64, 57, 25}},
        // 150 pixels wider and 75 taller at 96 DPI.
        {kList, {Follow::Grow, Follow::Grow}, 96, 2250, 1125, {24, 64, 463, 316}},
        {kList, {Follow::Start, Follow::Start}, 96, 2250, 1125, {24, 64, 313, 241}},
        {kButton, {Follow::End, Follow::Start}, 96, 2250, 1125, {494, 64, 57, 25}},
        {kButton, {Follow::End, Follow::End}, 96, 2250, 1125, {494, 139, 57, 25}},
        {kLaunch, {Follow::Centre, Follow::End}, 96, 2250, 1125, {243, 459, 73, 25}},
        // An odd number of pixels: the centre moves by the half, rounded down.
        {kLaunch, {Follow::Centre, Follow::End}, 96, 15, 15, {168, 385, 73, 25}},
        {kLaunch, {Follow::Grow, Follow::Centre}, 96, 15, 45, {168, 385, 74, 25}},
        // The same growth in twips at 144 DPI is half as many pixels again.
        {kList, {Follow::Grow, Follow::Grow}, 144, 2250, 1125, {36, 96, 695, 475}},
        {kButton, {Follow::End, Follow::Start}, 144, 2250, 1125, {741, 96, 86, 38}},
        {kLaunch, {Follow::Centre, Follow::End}, 144, 2250, 1125, {364, 689, 110, 38}},
        // Smaller than designed (a screen too small for the window): nothing moves.
        {kList, {Follow::Grow, Follow::Grow}, 96, -300, -150, {24, 64, 313, 241}},
        {kButton, {Follow::End, Follow::End}, 96, -300, 1125, {344, 139, 57, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "designed at " << c.designed.left << "," << c.designed.top << " at "
                                          << c.dpi << " DPI, " << c.extraWidthTwips << " x " << c.extraHeightTwips
                                          << " twips larger");
        const PixelRect place = Anchored(ToPixels(c.designed, c.dpi), c.anchor, TwipsToPixels(c.extraWidthTwips, c.dpi),
                                         TwipsToPixels(c.extraHeightTwips, c.dpi));
        EXPECT_EQ(place, c.expected);
    }
}

// A size kept in twips comes back to the same pixels at the next start.
TEST(PixelsToTwips, EveryPixelCountComesBackUnchangedAtTheUsualDpis) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        for (int pixels = 0; pixels <= 4000; ++pixels) {
            ASSERT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << pixels << " pixels at " << dpi;
        }
    }
    EXPECT_EQ(PixelsToTwips(431, 96), 6465);
    EXPECT_EQ(PixelsToTwips(647, 144), 6470);
    EXPECT_EQ(PixelsToTwips(-2, 96), -30);
}

TEST(OpeningClientSize, TheStoredSizeWhenItIsNoSmallerThanDesignedAndFitsTheScreen) {
    constexpr TwipsSize kDesigned{6465, 6420};
    // A 1280 x 1024 work area; the border, caption and menu bar add 16 x 58
    // pixels at 96 DPI and 24 x 86 at 144 DPI.
    constexpr ScreenRoom kAt96{1280, 1024, 96, 16, 58};
    constexpr ScreenRoom kAt144{1280, 1024, 144, 24, 86};
    struct Case {
        const char* what;
        std::optional<TwipsSize> stored;
        ScreenRoom screen;
        TwipsSize expected;
    } cases[] = {
        {"nothing stored", std::nullopt, kAt96, kDesigned},
        {"the designed size", kDesigned, kAt96, kDesigned},
        {"larger", TwipsSize{9000, 7500}, kAt96, {9000, 7500}},
        {"a twip narrower than designed", TwipsSize{6464, 9000}, kAt96, kDesigned},
        {"a twip lower than designed", TwipsSize{9000, 6419}, kAt96, kDesigned},
        {"nothing", TwipsSize{0, 0}, kAt96, kDesigned},
        {"the whole work area", TwipsSize{(1280 - 16) * 15, (1024 - 58) * 15}, kAt96, {18960, 14490}},
        {"a pixel wider than the work area", TwipsSize{(1280 - 16 + 1) * 15, 7000}, kAt96, kDesigned},
        {"a pixel taller than the work area", TwipsSize{7000, (1024 - 58 + 1) * 15}, kAt96, kDesigned},
        {"far larger than any screen", TwipsSize{kLargestStoredTwips, kLargestStoredTwips}, kAt96, kDesigned},
        // 18960 twips are 1264 pixels at 96 DPI but 1896 at 144.
        {"fits at 96 DPI, not at 144", TwipsSize{18960, 7000}, kAt144, kDesigned},
        {"fits at 144 DPI", TwipsSize{12560, 9000}, kAt144, {12560, 9000}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OpeningClientSize(c.stored, kDesigned, c.screen), c.expected) << c.what;
    }
}

TEST(StoredSizes, OnlyWholeNumbersOfTwipsAsTheProgramWritesThem) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    } cases[] = {
        {"6465", 6465},     {" 7000 ", 7000}, {"0", 0},         {"491505", kLargestStoredTwips},
        {"491506", {}},     {"", {}},         {"   ", {}},      {"-15", {}},
        {"+15", {}},        {"12abc", {}},    {"1e4", {}},      {"12.5", {}},
        {"0x1F", {}},       {"9999999999999", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseStoredTwips(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(StoredColumnWidths, FiveNumbersJoinedByCommasOrNothing) {
    const std::vector<int> designed{1440, 1440, 1440, 1440, 1080};
    EXPECT_EQ(FormatColumnWidths(designed), "1440,1440,1440,1440,1080");
    EXPECT_EQ(ParseColumnWidths(FormatColumnWidths(designed), 5), designed);

    struct Case {
        const char* text;
        std::optional<std::vector<int>> expected;
    } cases[] = {
        {"0,15,3000,1440,45", std::vector<int>{0, 15, 3000, 1440, 45}},
        {" 1440 , 1440,1440 ,1440, 1080", designed},
        {"1440,1440,1440,1080", {}},
        {"1440,1440,1440,1440,1080,900", {}},
        {"1440,1440,,1440,1080", {}},
        {"1440,1440,1440,1440,1080,", {}},
        {"1440;1440;1440;1440;1080", {}},
        {"1440,1440,1440,1440,-1", {}},
        {"1440,1440,wide,1440,1080", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseColumnWidths(c.text, 5), c.expected) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace reelwright
