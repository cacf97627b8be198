#include "queue/QueueOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
