#include "about/AboutTexts.h"
#include "core/Version.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

TEST(AboutTexts, CaptionTitleAndVersionOfThisRelease) {
    const AboutTexts texts = MakeAboutTexts();
    EXPECT_EQ(texts.caption, "About Reelwright");
    EXPECT_EQ(texts.title, "Reelwright");
    EXPECT_EQ(texts.version, "Version " REELWRIGHT_PRODUCTVERSION_TEXT);
    // Numbers carry no leading zeros whatever their size.
    EXPECT_EQ(MakeAboutTexts({2, 10, 7}).version, "Version 2.10.7");
}

TEST(AboutTexts, DescriptionStartsWithItsHeadingAndHoldsBothSentences) {
    EXPECT_EQ(MakeAboutTexts().description,
              "App Description :\r\n"
              "This program was designed to allow Solder Of Fortune 2 demos to be played back without the hassle "
              "of loading the game first.\r\n"
              "This program allows you to also play back demo's that have been recorded using Soldier Of Fortune 2 "
              "mods.");
}

}  // namespace
}  // namespace reelwright
