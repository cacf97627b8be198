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

QueueOrder ColumnOrder(const DemoQueue& queue, const DemoDetailsTable& details, QueueColumn column, bool descending) {
    const auto& entries = queue.Entries();
    QueueOrder order = Identity(entries.size());
    auto sortBy = [&](auto first, auto last, auto less) {
        std::stable_sort(first, last, [&](std::size_t a, std::size_t b) { return descending ? less(b, a) : less(a, b); });
    };
    auto byText = [&](auto field) {
        sortBy(order.begin(), order.end(),
               [&](std::size_t a, std::size_t b) { return NaturalLess(field(entries[a]), field(entries[b])); });
    };
    switch (column) {
        case QueueColumn::Name: byText([](const DemoQueueEntry& e) -> const std::string& { return e.Name; }); return order;
        case QueueColumn::GameType:
            byText([](const DemoQueueEntry& e) -> const std::string& { return e.GameType; });
            return order;
        case QueueColumn::Path: byText([](const DemoQueueEntry& e) -> const std::string& { return e.Path; }); return order;
        case QueueColumn::Map:
        case QueueColumn::Length: break;
    }

    // Rows with readable details first, the others after them as they were.
    std::vector<const DemoDetails*> known(entries.size(), nullptr);
    for (std::size_t row = 0; row < entries.size(); ++row)
        if (const auto found = details.find(queue.IdAt(row)); found != details.end() && found->second.Readable())
            known[row] = &found->second;
    const auto unknown = std::stable_partition(order.begin(), order.end(), [&](std::size_t row) { return known[row]; });
    if (column == QueueColumn::Map)
        sortBy(order.begin(), unknown,
               [&](std::size_t a, std::size_t b) { return NaturalLess(known[a]->head.map, known[b]->head.map); });
    else
        sortBy(order.begin(), unknown, [&](std::size_t a, std::size_t b) {
            return known[a]->length.milliseconds < known[b]->length.milliseconds;
        });
    return order;
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
