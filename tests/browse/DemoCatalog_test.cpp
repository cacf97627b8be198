#include "browse/DemoCatalog.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kDemos = "C:\\G\\base\\mp\\demos";

BrowsedDemo Row(const std::string& name, FileStamp stamp = {10, 1}) {
    return {{std::string(kDemos) + "\\" + name, "base\\mp", name, stamp}, std::nullopt};
}

DemoHeadAndLength Details(const std::string& map, std::int64_t milliseconds, std::vector<std::string> players = {}) {
    DemoHeadAndLength details;
    details.head.map = map;
    details.head.mode = "Deathmatch";
    details.head.server = "Server of " + map;
    std::vector<DemoPlayer> list;
    for (auto& name : players) list.push_back({name, DemoTeam::Free});
    details.head.players = list;
    details.length.milliseconds = milliseconds;
    return details;
}

Strings ShownNames(const DemoCatalog& catalog) {
    Strings names;
    for (std::size_t row = 0; row < catalog.Shown(); ++row) names.push_back(catalog.ShownRow(row).demo.name);
    return names;
}

TEST(DemoCatalog, AFolderListedAgainAddsRemovesAndChangesItsRowsOnly) {
    DemoCatalog catalog;
    catalog.ReplaceFolder({kDemos, {Row("a.dm_2004"), Row("b.dm_2004"), Row("c.dm_2004")}});
    catalog.ReplaceFolder({std::string(kDemos) + "\\cup", {Row("cup\\final.dm_2004")}});
    catalog.Refresh();
    ASSERT_TRUE(catalog.SetDetails(std::string(kDemos) + "\\a.dm_2004", {10, 1}, Details("mp_shop", 1000)));
    ASSERT_TRUE(catalog.SetDetails(std::string(kDemos) + "\\c.dm_2004", {10, 1}, Details("mp_jor1", 1000)));

    // b deleted, d recorded, c written again; the sub-folder's row stays.
    catalog.ReplaceFolder({kDemos, {Row("a.dm_2004"), Row("c.dm_2004", {20, 2}), Row("d.dm_2004")}});
    catalog.Refresh();
    EXPECT_EQ(ShownNames(catalog), (Strings{"a.dm_2004", "c.dm_2004", "cup\\final.dm_2004", "d.dm_2004"}));
    EXPECT_TRUE(catalog.Find(std::string(kDemos) + "\\a.dm_2004")->details);   // same stamp: kept
    EXPECT_FALSE(catalog.Find(std::string(kDemos) + "\\c.dm_2004")->details);  // changed: to be read again
    // Details read before the change do not land on the changed file.
    EXPECT_FALSE(catalog.SetDetails(std::string(kDemos) + "\\c.dm_2004", {10, 1}, Details("old", 1)));
    EXPECT_FALSE(catalog.SetDetails(std::string(kDemos) + "\\gone.dm_2004", {10, 1}, Details("old", 1)));

    catalog.RemoveFolderTree(std::string(kDemos) + "\\CUP");
    catalog.Refresh();
    EXPECT_EQ(ShownNames(catalog), (Strings{"a.dm_2004", "c.dm_2004", "d.dm_2004"}));
    EXPECT_EQ(catalog.StatusText(), "3 demos");
}

TEST(DemoCatalog, ASearchNarrowsTheRowsAndTheStatusSaysHowMany) {
    DemoCatalog catalog;
    catalog.ReplaceFolder({kDemos, {Row("duel.dm_2004"), Row("final.dm_2004"), Row("practice.dm_2004")}});
    catalog.SetDetails(std::string(kDemos) + "\\duel.dm_2004", {10, 1}, Details("mp_shop", 1, {"Alice"}));
    catalog.SetDetails(std::string(kDemos) + "\\final.dm_2004", {10, 1}, Details("mp_jor1", 1, {"Bob"}));
    catalog.Refresh();
    catalog.SetSearch("ALICE shop");
    EXPECT_EQ(ShownNames(catalog), (Strings{"duel.dm_2004"}));
    EXPECT_EQ(catalog.StatusText(), "1 of 3 demos");
    catalog.SetSearch("dm_2004");
    EXPECT_EQ(catalog.StatusText(), "3 of 3 demos");
    catalog.SetSearch("nobody");
    EXPECT_EQ(catalog.StatusText(), "0 of 3 demos");
    // Details that arrive later count at the next refresh.
    catalog.SetSearch("mp_jor1 bob");
    EXPECT_EQ(ShownNames(catalog), (Strings{"final.dm_2004"}));
    catalog.SetDetails(std::string(kDemos) + "\\practice.dm_2004", {10, 1}, Details("mp_jor1", 1, {"Bob"}));
    catalog.Refresh();
    EXPECT_EQ(ShownNames(catalog), (Strings{"final.dm_2004", "practice.dm_2004"}));
    EXPECT_EQ(catalog.PositionOf(std::string(kDemos) + "\\practice.dm_2004"), 1u);
    EXPECT_FALSE(catalog.PositionOf(std::string(kDemos) + "\\duel.dm_2004"));
    catalog.SetSearch("");
    EXPECT_EQ(catalog.StatusText(), "3 demos");
    EXPECT_EQ(BrowseStatusText(1, 1, false), "1 demo");
}

TEST(DemoCatalog, ARenamedRowKeepsItsDetailsAndARemovedOneGoes) {
    DemoCatalog catalog;
    catalog.ReplaceFolder({std::string(kDemos) + "\\cup", {Row("cup\\b.dm_2004"), Row("cup\\c.dm_2004")}});
    catalog.SetDetails(std::string(kDemos) + "\\cup\\b.dm_2004", {10, 1}, Details("mp_shop", 1));
    catalog.Rename(std::string(kDemos) + "\\cup\\b.dm_2004", std::string(kDemos) + "\\cup\\z.dm_2004");
    catalog.Remove(std::string(kDemos) + "\\cup\\c.dm_2004");
    catalog.Refresh();
    EXPECT_EQ(ShownNames(catalog), Strings{"cup\\z.dm_2004"});
    ASSERT_TRUE(catalog.ShownRow(0).details);
    EXPECT_EQ(catalog.ShownRow(0).details->head.map, "mp_shop");
    EXPECT_FALSE(catalog.Find(std::string(kDemos) + "\\cup\\b.dm_2004"));
}

struct SortCase {
    BrowseColumn column;
    bool descending;
    Strings expected;
};

class DemoCatalogSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(DemoCatalogSort, SortsByAnyColumnWithRowsWithoutDetailsLast) {
    DemoCatalog catalog;
    catalog.ReplaceFolder({kDemos,
                           {Row("demo10.dm_2004", {300, 1}), Row("demo2.dm_2004", {100, 3}),
                            Row("Demo1.dm_2004", {200, 2}), Row("pending.dm_2004", {50, 4})}});
    catalog.SetDetails(std::string(kDemos) + "\\demo10.dm_2004", {300, 1}, Details("mp_b", 3000, {"x"}));
    catalog.SetDetails(std::string(kDemos) + "\\demo2.dm_2004", {100, 3}, Details("mp_a", 1000, {"x", "y", "z"}));
    catalog.SetDetails(std::string(kDemos) + "\\Demo1.dm_2004", {200, 2}, Details("mp_c", 2000, {"x", "y"}));
    catalog.SortBy(GetParam().column, GetParam().descending);
    EXPECT_EQ(ShownNames(catalog), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, DemoCatalogSort,
    ::testing::Values(
        SortCase{BrowseColumn::Name, false, {"Demo1.dm_2004", "demo2.dm_2004", "demo10.dm_2004", "pending.dm_2004"}},
        SortCase{BrowseColumn::Name, true, {"pending.dm_2004", "demo10.dm_2004", "demo2.dm_2004", "Demo1.dm_2004"}},
        SortCase{BrowseColumn::Map, false, {"demo2.dm_2004", "demo10.dm_2004", "Demo1.dm_2004", "pending.dm_2004"}},
        SortCase{BrowseColumn::Map, true, {"Demo1.dm_2004", "demo10.dm_2004", "demo2.dm_2004", "pending.dm_2004"}},
        SortCase{BrowseColumn::Length, false, {"demo2.dm_2004", "Demo1.dm_2004", "demo10.dm_2004", "pending.dm_2004"}},
        SortCase{BrowseColumn::Players, true, {"demo2.dm_2004", "Demo1.dm_2004", "demo10.dm_2004", "pending.dm_2004"}},
        SortCase{BrowseColumn::Recorded, false, {"demo10.dm_2004", "Demo1.dm_2004", "demo2.dm_2004", "pending.dm_2004"}},
        SortCase{BrowseColumn::Size, false, {"pending.dm_2004", "demo2.dm_2004", "Demo1.dm_2004", "demo10.dm_2004"}}));

TEST(DemoCatalog, CellTexts) {
    BrowsedDemo row = Row("cup\\final.dm_2004", {1536, 1});
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Map, std::nullopt), "");  // not read yet
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Size, std::nullopt), "1.5 KB");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Recorded, LocalTime{2026, 12, 7, 16, 5}), "2026-12-07 16:05");
    row.details = Details("mp_shop", 725'000, {"a", "b"});
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Name, std::nullopt), "cup\\final.dm_2004");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::GameType, std::nullopt), "base\\mp");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Mode, std::nullopt), "Deathmatch");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Length, std::nullopt), "12:05");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Players, std::nullopt), "2");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Server, std::nullopt), "Server of mp_shop");
    row.details->head.refusal = DemoReadRefusal::NotADemo;
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Map, std::nullopt), "?");
    EXPECT_EQ(BrowseCellText(row, BrowseColumn::Players, std::nullopt), "");
}

}  // namespace
}  // namespace reelwright
