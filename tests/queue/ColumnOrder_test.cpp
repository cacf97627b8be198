// Sorting the queue by a column's header, and the details following their
// entries through sorts, moves and removals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "queue/DemoDetailsText.h"
#include "queue/QueueOrder.h"

namespace reelwright {
namespace {

using Names = std::vector<std::string>;

DemoDetails Readable(const std::string& map, std::int64_t milliseconds) {
    DemoDetails details;
    details.head.map = map;
    details.length.milliseconds = milliseconds;
    return details;
}

DemoDetails Refused() {
    DemoDetails details;
    details.head.refusal = DemoReadRefusal::BrokenMessage;
    return details;
}

// Rows a to f: their game types, paths, maps and lengths; e's details are
// pending and f's file was refused.
struct Fixture {
    DemoQueue queue;
    DemoDetailsTable details;

    Fixture() {
        const struct {
            const char* name;
            const char* gameType;
            const char* path;
            const char* map;
            std::int64_t ms;
        } rows[] = {
            {"a", "mod10", "C:\\g\\b", "mp_shop", 65000}, {"b", "mod2", "C:\\g\\a", "mp_Alley", 9000},
            {"c", "base\\mp", "C:\\g\\c", "mp_shop", 3600000}, {"d", "mod2", "C:\\g\\a", "mp_jor1", 9000},
            {"e", "base\\mp", "C:\\g\\a", "", 0}, {"f", "Mod1", "C:\\g\\d", "", 0},
        };
        for (const auto& row : rows) {
            queue.Append({row.name, row.gameType, row.path});
            const DemoQueue::EntryId id = queue.IdAt(queue.Count() - 1);
            if (row.name == std::string("e")) continue;
            details[id] = row.name == std::string("f") ? Refused() : Readable(row.map, row.ms);
        }
    }

    Names Sorted(QueueColumn column, bool descending) {
        EXPECT_TRUE(queue.Reorder(ColumnOrder(queue, details, column, descending)));
        return Shown();
    }
    // Each row as "name map length", read through its id as the list does.
    Names Shown() const {
        Names rows;
        for (std::size_t row = 0; row < queue.Count(); ++row) {
            const auto found = details.find(queue.IdAt(row));
            const DemoDetails* read = found == details.end() ? nullptr : &found->second;
            rows.push_back(queue.Entries()[row].Name + " " + MapCellText(read) + " " + LengthCellText(read));
        }
        return rows;
    }
};

Names NamesOf(const DemoQueue& queue) {
    Names names;
    for (const auto& entry : queue.Entries()) names.push_back(entry.Name);
    return names;
}

TEST(ColumnOrder, TextsSortNaturallyBothWaysAndAlikeRowsKeepTheirOrder) {
    Fixture f;
    f.Sorted(QueueColumn::GameType, false);
    EXPECT_EQ(NamesOf(f.queue), (Names{"c", "e", "f", "b", "d", "a"}));
    // Reversed comparison, not a reversed list: b and d, alike, keep their order.
    f.Sorted(QueueColumn::GameType, true);
    EXPECT_EQ(NamesOf(f.queue), (Names{"a", "b", "d", "f", "c", "e"}));
    f.Sorted(QueueColumn::Path, false);
    EXPECT_EQ(NamesOf(f.queue), (Names{"b", "d", "e", "a", "c", "f"}));
    f.Sorted(QueueColumn::Path, true);
    EXPECT_EQ(NamesOf(f.queue), (Names{"f", "c", "a", "b", "d", "e"}));
    f.Sorted(QueueColumn::Name, true);
    EXPECT_EQ(NamesOf(f.queue), (Names{"f", "e", "d", "c", "b", "a"}));
    f.Sorted(QueueColumn::Name, false);
    EXPECT_EQ(NamesOf(f.queue), (Names{"a", "b", "c", "d", "e", "f"}));
}

TEST(ColumnOrder, MapAndLengthPutPendingAndRefusedRowsLastEitherWay) {
    Fixture f;
    EXPECT_EQ(f.Sorted(QueueColumn::Map, false),
              (Names{"b mp_Alley 0:09", "d mp_jor1 0:09", "a mp_shop 1:05", "c mp_shop 1:00:00", "e  ", "f ? "}));
    EXPECT_EQ(f.Sorted(QueueColumn::Map, true),
              (Names{"a mp_shop 1:05", "c mp_shop 1:00:00", "d mp_jor1 0:09", "b mp_Alley 0:09", "e  ", "f ? "}));
    // Numeric, not by text: 1:00:00 is the longest.
    EXPECT_EQ(f.Sorted(QueueColumn::Length, false),
              (Names{"d mp_jor1 0:09", "b mp_Alley 0:09", "a mp_shop 1:05", "c mp_shop 1:00:00", "e  ", "f ? "}));
    EXPECT_EQ(f.Sorted(QueueColumn::Length, true),
              (Names{"c mp_shop 1:00:00", "a mp_shop 1:05", "d mp_jor1 0:09", "b mp_Alley 0:09", "e  ", "f ? "}));
}

TEST(ColumnOrder, DetailsFollowTheirEntriesThroughSortsMovesAndRemovals) {
    Fixture f;
    // The same file queued twice has its own details twice.
    f.queue.Append({"a", "mod10", "C:\\g\\b"});
    f.details[f.queue.IdAt(6)] = Readable("mp_shop", 1000);
    const Names before = f.Shown();

    f.Sorted(QueueColumn::Length, true);
    ASSERT_TRUE(f.queue.Reorder(MoveDownOrder({true, false, false, false, false, false, false})));
    Names shown = f.Shown();
    std::sort(shown.begin(), shown.end());
    Names expected = before;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);

    EXPECT_EQ(f.queue.RemoveRows({0, 2}), 2u);
    // The first "a" went; the second keeps its own details.
    EXPECT_EQ(f.Shown(), (Names{"c mp_shop 1:00:00", "d mp_jor1 0:09", "a mp_shop 0:01", "e  ", "f ? "}));
    f.queue.RemoveAt(0);
    EXPECT_EQ(f.Shown().front(), "d mp_jor1 0:09");
    // Ids are never given twice, also after a Clear.
    const DemoQueue::EntryId last = f.queue.NextId();
    f.queue.Clear();
    f.queue.Append({"x", "base\\mp", "C:\\g"});
    EXPECT_EQ(f.queue.IdAt(0), last);
}

}  // namespace
}  // namespace reelwright
