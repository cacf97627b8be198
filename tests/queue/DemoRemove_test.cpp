#include "queue/DemoRemove.h"

#include <gtest/gtest.h>

#include <vector>

namespace reelwright {
namespace {

// A list whose rows carry the queue's names; deleting a row moves the later
// ones up, as the list view does.
class FakeList : public DemoListSelection {
public:
    std::vector<std::size_t> SelectedItems() override { return selected; }
    void RowsRemoved(const std::vector<std::size_t>& removed) override {
        for (std::size_t index : removed) {
            deleted.push_back(index);
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }

    std::vector<std::string> rows;
    std::vector<std::size_t> selected;
    std::vector<std::size_t> deleted;
};

class DemoRemoveTest : public ::testing::Test {
protected:
    DemoRemoveTest() {
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            queue.Append({name, "base\\mp", "C:\\d"});
            list.rows.push_back(name);
        }
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : queue.Entries()) names.push_back(entry.Name);
        return names;
    }
    DemoQueue queue;
    FakeList list;
};

TEST_F(DemoRemoveTest, NothingSelectedRemovesNothing) {
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 0u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_TRUE(list.deleted.empty());
}

TEST_F(DemoRemoveTest, TheSelectedMiddleItemGoesAndLaterOnesMoveUp) {
    list.selected = {2};
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 1u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(queue.At(3).Name, "d");
    EXPECT_EQ(list.rows, Names());
}

TEST_F(DemoRemoveTest, EverySelectedRowGoesInAnyOrderAndListAndQueueStayInStep) {
    list.selected = {3, 0, 4, 0, 9};  // as reported, with a repeat and a row past the queue
    EXPECT_EQ(RemoveSelectedDemos(queue, list), 3u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(list.rows, Names());
    EXPECT_EQ(list.deleted, (std::vector<std::size_t>{4, 3, 0}));
}

TEST_F(DemoRemoveTest, EmptyQueueAndClear) {
    DemoQueue empty;
    FakeList none;
    none.selected = {0};
    EXPECT_EQ(RemoveSelectedDemos(empty, none), 0u);
    EXPECT_TRUE(none.deleted.empty());

    queue.Clear();
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Append({"f", "mymod", "C:\\d"}));
    EXPECT_EQ(queue.At(1).Name, "f");
}

TEST(DemoQueueRemoveRows, KeepsTheOthersInOrder) {
    DemoQueue queue;
    for (int i = 0; i < 6; ++i) queue.Append({std::to_string(i), "", ""});
    EXPECT_EQ(queue.RemoveRows({5, 1, 1, 3, 6}), 3u);
    ASSERT_EQ(queue.Count(), 3u);
    EXPECT_EQ(queue.At(1).Name, "0");
    EXPECT_EQ(queue.At(2).Name, "2");
    EXPECT_EQ(queue.At(3).Name, "4");
    EXPECT_EQ(queue.RemoveRows({}), 0u);
}

}  // namespace
}  // namespace reelwright
