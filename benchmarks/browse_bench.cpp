// The demo browser with 32 767 demos in the game folder (33 sub-folders of
// base\mp\demos), every file a real demo on disk: the first rows and every
// name from the start of the walk, as the window takes the worker's events;
// a keystroke's narrowing of the whole list; and a second opening, whose
// rows come with their details from the cache. The label names the machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "LocalFileSystem.h"
#include "browse/BrowseWorker.h"
#include "support/DemoEncoder.h"

namespace {

using namespace reelwright;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kDemos = 32767;

std::string CpuModel() {
    std::ifstream info("/proc/cpuinfo");
    for (std::string line; std::getline(info, line);)
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown";
}

// The game folder, written once.
const std::string& GameFolder() {
    static const std::string game = [] {
        const auto folder = std::filesystem::temp_directory_path() / "reelwright-browse-bench";
        const auto demos = folder / "base" / "mp" / "demos";
        std::vector<std::string> maps{"mp_shop", "mp_jor1", "mp_kam2", "mp_ancient", "mp_col1"};
        for (std::size_t i = 1; i <= kDemos; ++i) {
            const auto sub = demos / ("cup" + std::to_string(i % 33));
            const auto path = sub / ("match" + std::to_string(i) + ".dm_2004");
            if (std::filesystem::exists(path)) continue;
            std::filesystem::create_directories(sub);
            test::GameStateParts parts;
            parts.serverInfo = "\\sv_hostname\\Server " + std::to_string(i % 97) + "\\mapname\\" + maps[i % maps.size()] +
                               "\\g_gametype\\ctf\\protocol\\2004";
            parts.players = {"n\\Player" + std::to_string(i % 501) + "\\t\\1", "n\\Alice\\t\\2"};
            std::ofstream(path, std::ios::binary) << test::Demo(parts, {1000, 61000});
        }
        return folder.string();
    }();
    return game;
}

// Applies a worker's events to a catalog as the window does, one batch per
// wake-up, until `done` holds.
class Window {
public:
    explicit Window(DetailsCache& cache, const std::string& cachePath)
        : worker_(files_, GameFolder(), cache, cachePath, [this] {
              const std::lock_guard lock(mutex_);
              ++notices_;
              wake_.notify_all();
          },
          // The paths are Windows paths ("\\"): read as Linux paths.
          [](const std::string& path, std::stop_token stop) {
              std::string local = path;
              std::replace(local.begin(), local.end(), '\\', '/');
              return ReadDemoFile(local, std::move(stop));
          }) {}

    template <typename Done>
    void RunUntil(Done done) {
        while (!done()) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait_for(lock, std::chrono::milliseconds(5), [&] { return notices_ != seen_; });
                seen_ = notices_;
            }
            for (BrowseWorker::Event& event : worker_.TakeEvents()) {
                switch (event.kind) {
                    case BrowseWorker::Event::Kind::Folder: catalog.ReplaceFolder(std::move(event.rows)); break;
                    case BrowseWorker::Event::Kind::FolderGone: catalog.RemoveFolderTree(event.folder); break;
                    case BrowseWorker::Event::Kind::Details:
                        if (catalog.SetDetails(event.path, event.stamp, std::move(event.details))) ++detailed;
                        break;
                    case BrowseWorker::Event::Kind::WalkDone: walked = true; break;
                }
            }
            catalog.Refresh();
        }
    }
    std::size_t DetailedRows() const {
        std::size_t count = 0;
        for (std::size_t row = 0; row < catalog.Shown(); ++row) count += catalog.ShownRow(row).details ? 1 : 0;
        return count;
    }

    DemoCatalog catalog;
    bool walked = false;
    std::size_t detailed = 0;

private:
    bench::LocalFileSystem files_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int notices_ = 0;
    int seen_ = 0;
    BrowseWorker worker_;
};

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// A first opening, without a cache: the first rows, then every name.
void BM_BrowseFirstOpening(benchmark::State& state) {
    GameFolder();
    double firstRows = 0, allNames = 0;
    for (auto _ : state) {
        DetailsCache cache;
        const auto start = Clock::now();
        Window window(cache, "");
        window.RunUntil([&] { return window.catalog.Shown() > 0; });
        firstRows += Seconds(start);
        window.RunUntil([&] { return window.walked; });
        allNames += Seconds(start);
        if (window.catalog.Total() != kDemos) state.SkipWithError("not every demo was found");
    }
    state.counters["first_rows_s"] = firstRows / static_cast<double>(state.iterations());
    state.counters["all_names_s"] = allNames / static_cast<double>(state.iterations());
    state.SetLabel(CpuModel());
}
BENCHMARK(BM_BrowseFirstOpening)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// A second opening: the cache of the first is read from its file; every row
// comes with its details, the rows in view at once with the first rows.
void BM_BrowseSecondOpening(benchmark::State& state) {
    const std::string cachePath = GameFolder() + "/demo-details.cache";
    {
        DetailsCache cache;
        Window window(cache, "");
        window.RunUntil([&] { return window.walked && window.detailed == kDemos; });
        bench::LocalFileSystem files;
        cache.Save(files, cachePath);
        DetailsCache check;
        if (check.Load(files, cachePath) != DetailsCache::LoadOutcome::Loaded || check.Count() != kDemos) {
            state.SkipWithError(("the cache was not written whole: " + std::to_string(check.Count())).c_str());
            return;
        }
    }
    double allDetails = 0, firstRows = 0;
    for (auto _ : state) {
        DetailsCache cache;
        const auto start = Clock::now();
        Window window(cache, cachePath);
        // The first rows in view (14 at 96 DPI), with their details.
        window.RunUntil([&] { return window.catalog.Shown() >= 14; });
        for (std::size_t row = 0; row < 14; ++row)
            if (!window.catalog.ShownRow(row).details) state.SkipWithError("a row in view came without its details");
        firstRows += Seconds(start);
        window.RunUntil([&] { return window.walked; });
        allDetails += Seconds(start);
        if (window.DetailedRows() != kDemos) state.SkipWithError("details missing from the cache");
    }
    state.counters["all_details_s"] = allDetails / static_cast<double>(state.iterations());
    state.counters["first_rows_s"] = firstRows / static_cast<double>(state.iterations());
    state.SetLabel(CpuModel());
}
BENCHMARK(BM_BrowseSecondOpening)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// One keystroke: the whole list narrowed by the words typed so far.
void BM_BrowseKeystroke(benchmark::State& state) {
    DetailsCache cache;
    Window window(cache, "");
    window.RunUntil([&] { return window.walked && window.detailed == kDemos; });
    const std::vector<std::string> typed{"a", "al", "ali", "alic", "alice", "alice m", "alice mp", "alice mp_s",
                                         "alice mp_sh", "alice mp_sho", "alice mp_shop", "player4"};
    std::size_t next = 0;
    for (auto _ : state) {
        window.catalog.SetSearch(typed[next++ % typed.size()]);
        benchmark::DoNotOptimize(window.catalog.Shown());
    }
    state.SetLabel(CpuModel());
}
BENCHMARK(BM_BrowseKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
