// The queue's operations grow in proportion to the rows: the cost per row at
// 32767 rows stays within a generous factor of the cost per row at 1000. A
// quadratic operation would cost about 33 times more per row there.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "queue/DemoDrop.h"
#include "queue/QueueOrder.h"
#include "support/FakeServices.h"

namespace reelwright {
namespace {

using namespace reelwright::testing;

constexpr std::size_t kSmall = 1000;
constexpr std::size_t kLarge = DemoQueue::kMaxEntries;
// Allows for caches and a busy machine; far below 33.
constexpr double kAllowedFactor = 10.0;

constexpr const char* kDemos = "C:\\Games\\SOF2\\base\\mp\\demos";

// Texts short enough to live inside their strings: the time then goes to the
// operation, not to the heap, whose cost per block grows with its size.
DemoQueue Filled(std::size_t rows) {
    DemoQueue queue;
    for (std::size_t i = 0; i < rows; ++i) queue.Append({"m" + std::to_string(100000 - i), "base\\mp", "C:\\d"});
    return queue;
}

std::vector<bool> EveryThird(std::size_t rows) {
    std::vector<bool> selected(rows, false);
    for (std::size_t row = 0; row < rows; row += 3) selected[row] = true;
    return selected;
}

// Seconds per row of `operation` on `rows` rows: the best of a few trials,
// each running it often enough to touch kLarge rows in all. `prepare` runs
// before each timed run and is not counted.
double SecondsPerRow(std::size_t rows, const std::function<void(std::size_t)>& prepare,
                     const std::function<void(std::size_t)>& operation) {
    const std::size_t runs = std::max<std::size_t>(1, kLarge / rows);
    double best = 1e9;
    for (int trial = 0; trial < 3; ++trial) {
        std::chrono::duration<double> total{0};
        for (std::size_t run = 0; run < runs; ++run) {
            prepare(rows);
            const auto start = std::chrono::steady_clock::now();
            operation(rows);
            total += std::chrono::steady_clock::now() - start;
        }
        best = std::min(best, total.count() / static_cast<double>(runs * rows));
    }
    return best;
}

void ExpectLinear(const char* what, const std::function<void(std::size_t)>& prepare,
                  const std::function<void(std::size_t)>& operation, double extraGrowth = 1.0) {
    const double small = SecondsPerRow(kSmall, prepare, operation);
    const double large = SecondsPerRow(kLarge, prepare, operation);
    EXPECT_LT(large, small * kAllowedFactor * extraGrowth)
        << what << ": " << small * 1e9 << " ns per row at " << kSmall << " rows, " << large * 1e9 << " ns at "
        << kLarge;
}

TEST(QueueGrowth, DropRemoveMoveClearAreLinearAndSortIsNLogN) {
    DemoQueue queue;
    std::vector<bool> selected;
    std::vector<std::size_t> rows;

    FakeFileSystem files;
    ExpectLinear(
        "expanding a dropped folder",
        [&](std::size_t n) {
            if (files.files.size() == n) return;
            files.files.clear();
            files.folders = {kDemos};
            for (std::size_t i = 0; i < n; ++i) files.files[std::string(kDemos) + "\\d" + std::to_string(i) + ".dm_2004"];
        },
        [&](std::size_t) { ExpandDroppedPaths(files, {kDemos}, "C:\\Games\\SOF2"); },
        // The fake's map costs log n per file.
        std::log2(static_cast<double>(kLarge)) / std::log2(static_cast<double>(kSmall)));

    FakeServices fakes;
    fakes.store.Put(kSectionSettings, kKeyGamePath, "C:\\Games\\SOF2");
    std::vector<std::string> paths;
    ExpectLinear(
        "adding dropped demos",
        [&](std::size_t n) {
            queue = DemoQueue();
            paths.clear();
            for (std::size_t i = 0; i < n; ++i) paths.push_back(std::string(kDemos) + "\\d" + std::to_string(i) + ".dm_2004");
        },
        [&](std::size_t) { DropDemos(fakes.services, queue, paths); });

    ExpectLinear(
        "removing every third row",
        [&](std::size_t n) {
            queue = Filled(n);
            rows.clear();
            for (std::size_t row = 0; row < n; row += 3) rows.push_back(row);
        },
        [&](std::size_t) { queue.RemoveRows(rows); });

    ExpectLinear(
        "moving every third row up",
        [&](std::size_t n) {
            if (queue.Count() != n) queue = Filled(n);
            selected = EveryThird(n);
        },
        [&](std::size_t) {
            const QueueOrder order = MoveUpOrder(selected);
            queue.Reorder(order);
            selected = Reordered(selected, order);
        });

    ExpectLinear(
        "clearing", [&](std::size_t n) { queue = Filled(n); }, [&](std::size_t) { queue.Clear(); });

    ExpectLinear(
        "sorting by name", [&](std::size_t n) { queue = Filled(n); },
        [&](std::size_t) { queue.Reorder(NameOrder(queue)); },
        std::log2(static_cast<double>(kLarge)) / std::log2(static_cast<double>(kSmall)));
}

}  // namespace
}  // namespace reelwright
