// The queue's operations do work in proportion to the rows (sorting n log n),
// counted, not timed: the queue runs on an entry type that counts every copy,
// move and destruction of an entry and every read of its name (two per
// comparison while sorting). The counts are the same on every run and every machine;
// a quadratic operation does about 33 times more work per row at 32767 rows
// than at 1000. The timings are in benchmarks/queue_bench.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "queue/QueueOrder.h"

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
    for (std::size_t i = 0; i < rows; ++i) queue.Append(CountedEntry("m" + std::to_string(100000 - i)));
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
