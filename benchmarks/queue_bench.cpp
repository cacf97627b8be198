// The queue's operations at 1 000 and 32 767 rows: appending a dropped folder
// (listing, natural order, Add's rule), removing a selection, moving a
// selection, sorting by name and clearing. Each should cost in proportion
// to the rows (sorting n log n), whatever the queue holds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/AppInfo.h"
#include "core/SettingsStore.h"
#include "queue/DemoDrop.h"
#include "queue/QueueOrder.h"
#include "support/FakeServices.h"

namespace {

using namespace reelwright;

constexpr const char* kDemos = "C:\\Games\\SOF2\\base\\mp\\demos";

DemoQueueEntry Entry(std::int64_t i) {
    // Numbers in reverse, so that sorting has work to do.
    return {"match" + std::to_string(100000 - i) + ".dm_2004", "base\\mp", kDemos};
}

DemoQueue Filled(std::int64_t rows) {
    DemoQueue queue;
    for (std::int64_t i = 0; i < rows; ++i) queue.Append(Entry(i));
    return queue;
}

// Every third row selected: many separate blocks.
std::vector<bool> EveryThird(std::int64_t rows) {
    std::vector<bool> selected(static_cast<std::size_t>(rows), false);
    for (std::size_t row = 0; row < selected.size(); row += 3) selected[row] = true;
    return selected;
}

void BM_DropFolder(benchmark::State& state) {
    testing::FakeServices fakes;
    fakes.store.Put(kSectionSettings, kKeyGamePath, "C:\\Games\\SOF2");
    fakes.files.folders.insert(kDemos);
    for (std::int64_t i = 0; i < state.range(0); ++i)
        fakes.files.files[std::string(kDemos) + "\\" + Entry(i).Name] = "";
    for (auto _ : state) {
        DemoQueue queue;
        DropDemos(fakes.services, queue, {kDemos});
        benchmark::DoNotOptimize(queue.Count());
    }
    state.SetComplexityN(state.range(0));
}

void BM_RemoveSelection(benchmark::State& state) {
    const DemoQueue full = Filled(state.range(0));
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < full.Count(); row += 3) rows.push_back(row);
    for (auto _ : state) {
        state.PauseTiming();
        DemoQueue queue = full;
        state.ResumeTiming();
        benchmark::DoNotOptimize(queue.RemoveRows(rows));
    }
    state.SetComplexityN(state.range(0));
}

void BM_MoveSelectionUp(benchmark::State& state) {
    DemoQueue queue = Filled(state.range(0));
    const std::vector<bool> selected = EveryThird(state.range(0));
    for (auto _ : state) {
        const QueueOrder order = MoveUpOrder(selected);
        queue.Reorder(order);
        benchmark::DoNotOptimize(Reordered(selected, order));
    }
    state.SetComplexityN(state.range(0));
}

void BM_SortByName(benchmark::State& state) {
    const DemoQueue unsorted = Filled(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        DemoQueue queue = unsorted;
        state.ResumeTiming();
        queue.Reorder(NameOrder(queue));
    }
    state.SetComplexityN(state.range(0));
}

void BM_Clear(benchmark::State& state) {
    const DemoQueue full = Filled(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        DemoQueue queue = full;
        state.ResumeTiming();
        queue.Clear();
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_DropFolder)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_RemoveSelection)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
BENCHMARK(BM_MoveSelectionUp)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SortByName)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(BM_Clear)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
