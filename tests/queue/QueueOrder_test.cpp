// The queue's order: moves, sorts by a column's header with the details
// following their entries, and the work each operation does as the queue grows.
#include "queue/QueueOrder.h"
#include "queue/DemoDetailsText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <algorithm>
#include <cmath>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string_view>

namespace reelwright {
namespace {

using Names = std::vector<std::string>;
using Marks = std::vector<bool>;

// A queue of one-letter names and the rows selected in it ("x" marks), moved
// by `order`; the names and marks afterwards.
struct Moved {
    Names names;
    std::string marks;
    bool operator==(const Moved&) const = default;
};

Marks MarksOf(const std::string& marks) {
    Marks result;
    for (char c : marks) result.push_back(c == 'x');
    return result;
}

Moved Apply(const std::string& names, const std::string& marks, QueueOrder (*how)(const Marks&)) {
    DemoQueue queue;
    for (char c : names) queue.Append({std::string(1, c), "base\\mp", "C:\\d"});
    const Marks selected = MarksOf(marks);
    const QueueOrder order = how(selected);
    Moved result;
    if (!order.empty()) {
        EXPECT_TRUE(queue.Reorder(order));
    }
    for (const auto& entry : queue.Entries()) result.names.push_back(entry.Name);
    for (bool mark : order.empty() ? selected : Reordered(selected, order)) result.marks += mark ? 'x' : '.';
    return result;
}

TEST(MoveSelection, ABlockMovesTogetherAndStaysSelected) {
    EXPECT_EQ(Apply("abcde", "..xx.", MoveUpOrder), (Moved{{"a", "c", "d", "b", "e"}, ".xx.."}));
    EXPECT_EQ(Apply("abcde", "..xx.", MoveDownOrder), (Moved{{"a", "b", "e", "c", "d"}, "...xx"}));
}

TEST(MoveSelection, AtTheEdgesNothingMoves) {
    const QueueOrder none;
    EXPECT_EQ(MoveUpOrder(MarksOf("x....")), none);
    EXPECT_EQ(MoveUpOrder(MarksOf("xx...")), none);
    EXPECT_EQ(MoveDownOrder(MarksOf("....x")), none);
    EXPECT_EQ(MoveDownOrder(MarksOf("..xxx")), none);
    EXPECT_EQ(MoveUpOrder(MarksOf("xxxxx")), none);
    EXPECT_EQ(MoveDownOrder(MarksOf(".....")), none);
    EXPECT_EQ(MoveUpOrder({}), none);
    // The last row moves up, the first one down.
    EXPECT_EQ(Apply("abc", "..x", MoveUpOrder), (Moved{{"a", "c", "b"}, ".x."}));
    EXPECT_EQ(Apply("abc", "x..", MoveDownOrder), (Moved{{"b", "a", "c"}, ".x."}));
}

TEST(MoveSelection, NonAdjacentRowsMoveEachAndJoinABlockStuckAtTheEdge) {
    EXPECT_EQ(Apply("abcdef", ".x.x.x", MoveUpOrder), (Moved{{"b", "a", "d", "c", "f", "e"}, "x.x.x."}));
    EXPECT_EQ(Apply("abcdef", "x.x..x", MoveDownOrder), (Moved{{"b", "a", "d", "c", "e", "f"}, ".x.x.x"}));
    // The top block stays; the one below it closes up to it.
    EXPECT_EQ(Apply("abcde", "x..x.", MoveUpOrder), (Moved{{"a", "b", "d", "c", "e"}, "x.x.."}));
    EXPECT_EQ(Apply("abcde", "x.x..", MoveUpOrder), (Moved{{"a", "c", "b", "d", "e"}, "xx..."}));
    EXPECT_EQ(Apply("abcde", "..x.x", MoveDownOrder), (Moved{{"a", "b", "d", "c", "e"}, "...xx"}));
}

TEST(MoveSelection, MovingUpThenDownRestoresTheQueue) {
    const std::string names = "abcdefghij";
    const Marks selected = MarksOf(".xx.x..xx.");
    DemoQueue queue;
    for (char c : names) queue.Append({std::string(1, c), "", ""});
    const QueueOrder up = MoveUpOrder(selected);
    ASSERT_TRUE(queue.Reorder(up));
    const Marks after = Reordered(selected, up);
    ASSERT_TRUE(queue.Reorder(MoveDownOrder(after)));
    std::string back;
    for (const auto& entry : queue.Entries()) back += entry.Name;
    EXPECT_EQ(back, names);
}

TEST(SortByName, NaturalAndStable) {
    DemoQueue queue;
    const std::vector<DemoQueueEntry> entries{{"demo10.dm_2004", "mymod", "1"}, {"Demo2.dm_2004", "base\\mp", "2"},
                                              {"demo2.dm_2004", "mymod", "3"},  {"a.dm_2004", "base\\mp", "4"},
                                              {"DEMO2.dm_2004", "base\\mp", "5"}, {"demo1.dm_2004", "x", "6"}};
    for (const auto& entry : entries) queue.Append(entry);
    const QueueOrder order = NameOrder(queue);
    EXPECT_EQ(order, (QueueOrder{3, 5, 1, 2, 4, 0}));
    ASSERT_TRUE(queue.Reorder(order));
    std::string paths;
    for (const auto& entry : queue.Entries()) paths += entry.Path;
    // The three names alike but for their case keep the order they had.
    EXPECT_EQ(paths, "462351");
    // The selection follows its entries, and so does a single row.
    EXPECT_EQ(Reordered({true, false, false, false, false, true}, order),
              (Marks{false, true, false, false, false, true}));
    EXPECT_EQ(NewPosition(0, order), 5u);
    EXPECT_EQ(NewPosition(3, order), 0u);
    EXPECT_EQ(NewPosition(9, order), 9u);
}

TEST(DemoQueueReorder, RefusesWhatIsNotAPermutation) {
    DemoQueue queue;
    for (const char* name : {"a", "b", "c"}) queue.Append({name, "", ""});
    EXPECT_FALSE(queue.Reorder({0, 1}));
    EXPECT_FALSE(queue.Reorder({0, 1, 1}));
    EXPECT_FALSE(queue.Reorder({0, 1, 3}));
    EXPECT_EQ(queue.At(1).Name, "a");
    EXPECT_EQ(queue.At(3).Name, "c");
    EXPECT_TRUE(queue.Reorder({2, 0, 1}));
    EXPECT_EQ(queue.At(1).Name, "c");
    EXPECT_EQ(queue.At(2).Name, "a");
}

}  // namespace
}  // namespace reelwright

// Sorting the queue by a column's header, and the details following their
// entries through sorts, moves and removals.

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

// The queue's operations do work in proportion to the rows (sorting n log n),
// counted, not timed: the queue runs on an entry type that counts every copy,
// move and destruction of an entry and every read of its name (two per
// comparison while sorting). The counts are the same on every run and every machine;
// a quadratic operation does about 33 times more work per row at 32767 rows
// than at 1000. The timings are in benchmarks/queue_bench.cpp.

namespace reelwright {
namespace {

struct Work {
    std::size_t entryMoves = 0;  // copies and moves, constructed or assigned
    std::size_t entryEnds = 0;   // destructions
    std::size_t nameReads = 0;
    std::size_t Total() const { return entryMoves + entryEnds + nameReads; }
};
Work work;

struct CountedName {
    std::string text;
    operator std::string_view() const {
        ++work.nameReads;
        return text;
    }
};

struct CountedEntry {
    CountedName Name;

    explicit CountedEntry(std::string name) : Name{std::move(name)} {}
    CountedEntry(const CountedEntry& other) : Name(other.Name) { ++work.entryMoves; }
    CountedEntry(CountedEntry&& other) noexcept : Name(std::move(other.Name)) { ++work.entryMoves; }
    CountedEntry& operator=(const CountedEntry& other) {
        Name = other.Name;
        ++work.entryMoves;
        return *this;
    }
    CountedEntry& operator=(CountedEntry&& other) noexcept {
        Name = std::move(other.Name);
        ++work.entryMoves;
        return *this;
    }
    ~CountedEntry() { ++work.entryEnds; }
};

using CountedQueue = BasicDemoQueue<CountedEntry>;

constexpr std::size_t kSmall = 1000;
constexpr std::size_t kLarge = CountedQueue::kMaxEntries;
// Linear work per row may differ between the sizes by where the vector's
// growth steps fall; a quadratic operation's grows about 33 times.
constexpr double kAllowedGrowth = 2.0;
const double kLogGrowth = std::log2(static_cast<double>(kLarge)) / std::log2(static_cast<double>(kSmall));

// Names in falling order, so that sorting has work to do.
CountedQueue Filled(std::size_t rows) {
    CountedQueue queue;
    for (std::size_t i = 0; i < rows; ++i) {
        std::string name = "m";
        name += std::to_string(100000 - i);
        queue.Append(CountedEntry(name));
    }
    return queue;
}

// The work `operation` does on `rows` rows per row; `prepare` is not counted.
double WorkPerRow(std::size_t rows, const std::function<void(std::size_t)>& prepare,
                  const std::function<std::size_t(std::size_t)>& operation) {
    prepare(rows);
    work = {};
    const std::size_t done = operation(rows);
    return static_cast<double>(done) / static_cast<double>(rows);
}

std::string Rounded(double value) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << value;
    return text.str();
}

void ExpectProportional(const char* what, const std::function<void(std::size_t)>& prepare,
                        const std::function<std::size_t(std::size_t)>& operation, double extraGrowth = 1.0) {
    const double small = WorkPerRow(kSmall, prepare, operation);
    const double large = WorkPerRow(kLarge, prepare, operation);
    EXPECT_GT(small, 0.0) << what << ": no work counted";
    EXPECT_LE(large, small * kAllowedGrowth * extraGrowth)
        << what << ": " << Rounded(small) << " units of work per row at " << kSmall << " rows, " << Rounded(large)
        << " at " << kLarge;
}

TEST(QueueGrowth, AppendRemoveMoveClearAreLinearAndSortIsNLogN) {
    CountedQueue queue;

    // A drop or Add appends its demos one at a time.
    ExpectProportional(
        "appending", [&](std::size_t) { queue = CountedQueue(); },
        [&](std::size_t n) {
            for (std::size_t i = 0; i < n; ++i) queue.Append(CountedEntry("d"));
            return work.Total();
        });

    std::vector<std::size_t> rows;
    ExpectProportional(
        "removing every third row",
        [&](std::size_t n) {
            queue = Filled(n);
            rows.clear();
            for (std::size_t row = 0; row < n; row += 3) rows.push_back(row);
        },
        [&](std::size_t) {
            queue.RemoveRows(rows);
            return work.Total();
        });

    std::vector<bool> selected;
    ExpectProportional(
        "moving every third row up",
        [&](std::size_t n) {
            queue = Filled(n);
            selected.assign(n, false);
            for (std::size_t row = 0; row < n; row += 3) selected[row] = true;
        },
        [&](std::size_t) {
            const QueueOrder order = MoveUpOrder(selected);
            queue.Reorder(order);
            selected = Reordered(selected, order);
            return work.Total();
        });

    ExpectProportional(
        "clearing", [&](std::size_t n) { queue = Filled(n); },
        [&](std::size_t) {
            queue.Clear();
            return work.Total();
        });

    ExpectProportional(
        "sorting by name", [&](std::size_t n) { queue = Filled(n); },
        [&](std::size_t) {
            queue.Reorder(NameOrder(queue));
            return work.Total();
        },
        kLogGrowth);
}

}  // namespace
}  // namespace reelwright
