// The details of a full queue: from the hand-over of 32 767 dropped demos to
// the reader until every row in view (the window shows 14 at 96 DPI) has its
// details, with every file a real demo on disk; and the hand-over alone,
// which is what a drop now costs the window's thread beyond the drop itself
// (compare BM_DropFolder/32767 in queue_bench). The label names the machine.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "queue/DemoDetailsReader.h"
#include "support/DemoEncoder.h"

namespace {

using namespace reelwright;

constexpr std::size_t kRows = DemoQueue::kMaxEntries;
constexpr std::size_t kRowsInView = 14;

std::string CpuModel() {
    std::ifstream info("/proc/cpuinfo");
    for (std::string line; std::getline(info, line);)
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown";
}

// 32 767 demos of two minutes each, written once.
const std::vector<std::string>& DemoFiles() {
    static const std::vector<std::string> files = [] {
        const auto folder = std::filesystem::temp_directory_path() / "reelwright-details-bench";
        std::filesystem::create_directories(folder);
        test::GameStateParts parts;
        parts.serverInfo = "\\sv_hostname\\Bench\\mapname\\mp_shop\\g_gametype\\ctf\\protocol\\2004";
        parts.players = {"n\\Alice\\t\\1", "n\\Bob\\t\\2"};
        std::vector<std::int32_t> times;
        for (std::int32_t t = 1000; t <= 121000; t += 50) times.push_back(t);
        const std::string demo = test::Demo(parts, times);
        std::vector<std::string> paths;
        for (std::size_t i = 1; i <= kRows; ++i) {
            const auto path = folder / ("match" + std::to_string(i) + ".dm_2004");
            if (!std::filesystem::exists(path)) std::ofstream(path, std::ios::binary) << demo;
            paths.push_back(path.string());
        }
        return paths;
    }();
    return files;
}

std::vector<DemoDetailsReader::Job> Jobs() {
    std::vector<DemoDetailsReader::Job> jobs;
    jobs.reserve(kRows);
    for (std::size_t i = 0; i < kRows; ++i) jobs.push_back({i + 1, DemoFiles()[i]});
    return jobs;
}

void BM_DropToRowsInViewDetailed(benchmark::State& state) {
    DemoFiles();
    for (auto _ : state) {
        std::mutex mutex;
        std::condition_variable arrived;
        bool waiting = false;
        state.PauseTiming();  // the window's reader runs from its start
        auto reader = std::make_unique<DemoDetailsReader>([&] {
            std::lock_guard lock(mutex);
            waiting = true;
            arrived.notify_all();
        });
        state.ResumeTiming();
        reader->Add(Jobs());
        std::vector<DemoQueue::EntryId> inView;
        for (std::size_t i = 1; i <= kRowsInView; ++i) inView.push_back(i);
        reader->Prefer(inView);
        std::size_t shown = 0;
        while (shown < kRowsInView) {
            std::unique_lock lock(mutex);
            arrived.wait(lock, [&] { return waiting; });
            waiting = false;
            lock.unlock();
            for (const auto& result : reader->TakeResults())
                if (result.id <= kRowsInView && result.details.Readable()) ++shown;
        }
        state.PauseTiming();  // the reader stops outside the measure
        reader.reset();
        state.ResumeTiming();
    }
    state.SetLabel("32767 demos, 14 rows in view; " + CpuModel() + ", " +
                   std::to_string(std::thread::hardware_concurrency()) + " cores");
}
BENCHMARK(BM_DropToRowsInViewDetailed)->Unit(benchmark::kMillisecond);

void BM_HandOverToTheReader(benchmark::State& state) {
    DemoFiles();
    for (auto _ : state) {
        state.PauseTiming();
        auto reader = std::make_unique<DemoDetailsReader>(
            [] {}, [](const std::string&, std::stop_token) { return DemoDetails{}; });
        state.ResumeTiming();
        reader->Add(Jobs());
        state.PauseTiming();
        reader.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HandOverToTheReader)->Unit(benchmark::kMillisecond);

}  // namespace
