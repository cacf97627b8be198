// The queue's operations at 1 000 and 32 767 rows: appending a dropped folder
// (listing, natural order, Add's rule), removing a selection, moving a
// selection, sorting by name and clearing. Each should cost in proportion
// to the rows (sorting n log n), whatever the queue holds. And a dropped tree
// outside the game folder, whose cost must not grow with the tree.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
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
    test::FakeServices fakes;
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

// A drive outside the game folder: 100 folders at its top, each holding the
// given number of demo files (listed on demand, as a disk would). The drop
// lists the top only, so its time stays flat however full the folders are.
class DriveOutsideTheGameFolder : public test::FakeFileSystem {
public:
    explicit DriveOutsideTheGameFolder(std::int64_t filesPerFolder) : filesPerFolder_(filesPerFolder) {}

    std::optional<FolderContents> ListFolder(const std::string& folder) override {
        FolderContents contents;
        if (folder == "D:\\") {
            for (int i = 0; i < 100; ++i) contents.folders.push_back("folder" + std::to_string(i));
        } else {
            for (std::int64_t i = 0; i < filesPerFolder_; ++i) contents.files.push_back("d" + std::to_string(i) + ".dm_2004");
        }
        return contents;
    }

private:
    std::int64_t filesPerFolder_;
};

void BM_DropDriveOutsideTheGameFolder(benchmark::State& state) {
    test::FakeSettingsStore store;
    store.Put(kSectionSettings, kKeyGamePath, "C:\\Games\\SOF2");
    test::FakePrompts prompts;
    DriveOutsideTheGameFolder files(state.range(0));
    test::FakeGameShell shell;
    test::FakeClassesRegistry classes;
    test::FakeElevatedRunner elevation;
    AppServices services{store, prompts, files, shell, classes, elevation, ProgramLocation{"C:\\Tools", "Reelwright"}};
    for (auto _ : state) {
        DemoQueue queue;
        DropDemos(services, queue, {"D:\\"});
        benchmark::DoNotOptimize(queue.Count());
    }
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
BENCHMARK(BM_DropDriveOutsideTheGameFolder)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RemoveSelection)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
BENCHMARK(BM_MoveSelectionUp)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SortByName)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(BM_Clear)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
