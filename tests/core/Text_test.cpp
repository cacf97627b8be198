#include "core/Text.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

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

}  // namespace
}  // namespace reelwright
