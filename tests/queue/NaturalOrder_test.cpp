#include "queue/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace reelwright {
namespace {

using Names = std::vector<std::string>;

Names Sorted(Names names) {
    std::stable_sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return NaturalLess(a, b); });
    return names;
}

TEST(NaturalOrder, NumbersCompareByValueAndLetterCaseIsIgnored) {
    EXPECT_EQ(Sorted({"demo10.dm_2004", "Demo2.dm_2004", "demo1.dm_2004", "DEMO100.dm_2004", "demo9.dm_2004"}),
              (Names{"demo1.dm_2004", "Demo2.dm_2004", "demo9.dm_2004", "demo10.dm_2004", "DEMO100.dm_2004"}));
    EXPECT_EQ(Sorted({"b", "A", "a2", "a10", "a", "B1"}), (Names{"A", "a", "a2", "a10", "b", "B1"}));
    // Several runs of digits, each by its value.
    EXPECT_EQ(Sorted({"r2 m10", "r10 m2", "r2 m9"}), (Names{"r2 m9", "r2 m10", "r10 m2"}));
}

TEST(NaturalOrder, EdgesOfNumbersAndNames) {
    EXPECT_EQ(NaturalCompare("demo007", "demo7"), 0);  // leading zeros do not count
    EXPECT_LT(NaturalCompare("demo7", "demo08"), 0);
    EXPECT_LT(NaturalCompare("", "a"), 0);
    EXPECT_GT(NaturalCompare("demo1x", "demo1"), 0);  // the longer name after its beginning
    EXPECT_EQ(NaturalCompare("ABC", "abc"), 0);
    // Runs far longer than any machine number.
    EXPECT_LT(NaturalCompare("x99999999999999999999999999", "x100000000000000000000000000"), 0);
    EXPECT_GT(NaturalCompare("x100000000000000000000000001", "x100000000000000000000000000"), 0);
    // Digits before letters; bytes beyond ASCII after them.
    EXPECT_LT(NaturalCompare("a1", "ab"), 0);
    EXPECT_LT(NaturalCompare("z", "\xc3\xa9"), 0);
}

}  // namespace
}  // namespace reelwright
