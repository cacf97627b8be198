#include "queue/DemoRemove.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace reelwright {
namespace {

// A list that behaves as the list view does: deleting the current item makes
// the item that moves into its row current, without a selection mark.
class FakeList : public DemoListSelection {
public:
    std::optional<std::size_t> CurrentItem() override { return current; }
    bool IsSelected(std::size_t index) override { return selected.count(index) != 0; }
    std::optional<std::size_t> FirstSelectedItem() override {
        if (selected.empty()) return std::nullopt;
        return *selected.begin();
    }
    void DeleteItem(std::size_t index) override {
        deleted.push_back(index);
        std::set<std::size_t> shifted;
        for (std::size_t row : selected)
            if (row != index) shifted.insert(row > index ? row - 1 : row);
        selected = shifted;
        if (--rows == 0) current.reset();
        else if (current && *current >= rows) current = rows - 1;
    }

    std::size_t rows = 0;
    std::optional<std::size_t> current;
    std::set<std::size_t> selected;
    std::vector<std::size_t> deleted;
};

class DemoRemoveTest : public ::testing::Test {
protected:
    DemoRemoveTest() {
        for (const char* name : {"a", "b", "c", "d"}) queue.Append({name, "base\\mp", "C:\\d"});
        list.rows = queue.Count();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : queue.Entries()) names.push_back(entry.Name);
        return names;
    }
    DemoQueue queue;
    FakeList list;
};

TEST(RowToRemove, TheSelectedCurrentItemFirstThenAnySelectedOne) {
    EXPECT_EQ(RowToRemove(2, true, 0, 4), 2u);
    EXPECT_EQ(RowToRemove(2, false, 0, 4), 0u);
    EXPECT_EQ(RowToRemove(std::nullopt, false, 3, 4), 3u);
    EXPECT_FALSE(RowToRemove(2, false, std::nullopt, 4));
    EXPECT_FALSE(RowToRemove(std::nullopt, false, std::nullopt, 4));
    EXPECT_FALSE(RowToRemove(4, true, 4, 4));
}

TEST_F(DemoRemoveTest, NothingSelectedRemovesNothing) {
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 0u);
    list.current = 1;  // current, but its selection mark is gone
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 0u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(list.deleted.empty());
}

TEST_F(DemoRemoveTest, TheSelectedMiddleItemGoesAndLaterOnesMoveUp) {
    list.current = 1;
    list.selected = {1};
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 1u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(list.deleted, (std::vector<std::size_t>{1}));
    EXPECT_EQ(queue.At(2).Name, "c");
}

TEST_F(DemoRemoveTest, EverySelectedItemGoesWhereverTheFocusMoves) {
    // Selected upwards from the last row: after the current row goes, the focus
    // lands on a row that is not selected, yet the rest of the selection goes too.
    list.current = 3;
    list.selected = {0, 1, 3};
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 3u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c"}));
    EXPECT_EQ(list.deleted, (std::vector<std::size_t>{3, 0, 0}));
}

TEST_F(DemoRemoveTest, AFocusedRowWithoutSelectionMarkStaysWhileSelectedOnesGo) {
    list.current = 2;
    list.selected = {0};
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 1u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "c", "d"}));
}

TEST_F(DemoRemoveTest, EmptyQueueDoesNothing) {
    DemoQueue empty;
    FakeList none;
    EXPECT_EQ(RemoveSelectedDemos(empty, none), 0u);
    empty.Clear();
    EXPECT_TRUE(empty.Empty());
}

TEST_F(DemoRemoveTest, ClearEmptiesTheQueue) {
    queue.Clear();
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Append({"e", "mymod", "C:\\d"}));
    EXPECT_EQ(queue.At(1).Name, "e");
}

}  // namespace
}  // namespace reelwright
