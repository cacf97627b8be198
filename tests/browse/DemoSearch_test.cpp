#include "browse/DemoSearch.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

struct SearchCase {
    const char* typed;
    bool matches;
};

// The searchable text of one demo: name, game type, mode, map, server, players.
const std::string kDemo = SearchableText(
    {"cup\\Final.dm_2004", "base\\mp", "Capture the Flag", "mp_shop", "Red Dragons", "Zoë", "ÉMILE", "Дима", "[SoF]Bob"});

class DemoSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(DemoSearchTest, EveryTypedWordMustAppearInAnyField) {
    EXPECT_EQ(MatchesAllWords(kDemo, SearchWords(GetParam().typed)), GetParam().matches) << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DemoSearchTest,
    ::testing::Values(SearchCase{"", true}, SearchCase{"   ", true}, SearchCase{"final", true},
                      SearchCase{"FINAL SHOP", true}, SearchCase{"shop final", true}, SearchCase{"capture flag", true},
                      SearchCase{"dragons", true}, SearchCase{"base\\mp", true}, SearchCase{"[sof]", true},
                      SearchCase{"final nowhere", false},
                      // Letter case of accented and Cyrillic letters folds; accents count as written.
                      SearchCase{"ZOË", true}, SearchCase{"émile", true}, SearchCase{"emile", false},
                      SearchCase{"zoe", false}, SearchCase{"ДИМА", true},
                      // A word never runs across two fields.
                      SearchCase{"flagmp_shop", false}, SearchCase{"mpcapture", false}));

TEST(FoldCase, FoldsCoveredLettersAndKeepsEverythingElse) {
    EXPECT_EQ(FoldCase("ABC xyz ÀÉÎÕÜ × Ÿ Ł Ž ΣΩ ЁЖ 日本"), "abc xyz àéîõü × ÿ ł ž σω ёж 日本");
    // Bytes that are not UTF-8 stay as they are.
    EXPECT_EQ(FoldCase(std::string("A\xC3") + "B\xFF"), std::string("a\xC3") + "b\xFF");
}

}  // namespace
}  // namespace reelwright
