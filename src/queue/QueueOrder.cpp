#include "queue/QueueOrder.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace reelwright {

namespace {

QueueOrder Identity(std::size_t count) {
    QueueOrder order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    return order;
}

}  // namespace

QueueOrder MoveUpOrder(const std::vector<bool>& selected) {
    // Each selected row whose upper neighbour is not selected swaps with it;
    // walking downwards, that neighbour sinks to the bottom of the block.
    std::vector<bool> marks = selected;
    QueueOrder order = Identity(marks.size());
    bool moved = false;
    for (std::size_t row = 1; row < marks.size(); ++row)
        if (marks[row] && !marks[row - 1]) {
            std::swap(order[row], order[row - 1]);
            marks[row - 1] = true;
            marks[row] = false;
            moved = true;
        }
    return moved ? order : QueueOrder{};
}

QueueOrder MoveDownOrder(const std::vector<bool>& selected) {
    std::vector<bool> marks = selected;
    QueueOrder order = Identity(marks.size());
    bool moved = false;
    for (std::size_t row = marks.size(); row-- > 1;)
        if (marks[row - 1] && !marks[row]) {
            std::swap(order[row], order[row - 1]);
            marks[row] = true;
            marks[row - 1] = false;
            moved = true;
        }
    return moved ? order : QueueOrder{};
}

std::vector<bool> Reordered(const std::vector<bool>& selected, const QueueOrder& order) {
    std::vector<bool> result(order.size(), false);
    for (std::size_t row = 0; row < order.size(); ++row)
        result[row] = order[row] < selected.size() && selected[order[row]];
    return result;
}

std::size_t NewPosition(std::size_t position, const QueueOrder& order) {
    const auto found = std::find(order.begin(), order.end(), position);
    return found == order.end() ? position : static_cast<std::size_t>(found - order.begin());
}

}  // namespace reelwright
