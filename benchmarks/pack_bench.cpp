// Unpacking a zip pack of 200 demos of 1.5 MiB each (the size of a match of
// some twenty minutes) into the game folder: planning (the directory, each
// demo's head for its mod) and the unpack with every CRC checked, over the
// in-memory file system, so that the figure is the program's own work. The
// demos' bytes are skewed random bytes that deflate poorly, as recorded demos
// do (the pack is about 84 % of what it holds).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/AppInfo.h"
#include "queue/DemoPack.h"
#include "queue/PackUnpack.h"
#include "support/DemoEncoder.h"
#include "support/Fakes.h"
#include "support/ZipWriter.h"

namespace {

using namespace reelwright;

constexpr int kDemos = 200;
constexpr std::size_t kDemoBytes = 1536 * 1024;
constexpr const char* kGame = "C:\\Games\\SOF2";
constexpr const char* kPack = "D:\\Downloads\\cup.zip";

std::string RealSizedDemo(int index) {
    test::GameStateParts parts;
    parts.serverInfo = "\\mapname\\mp_shop\\g_gametype\\ctf";
    if (index % 2) parts.systemInfo = "\\sv_serverid\\1\\fs_game\\mymod";
    std::string demo = test::Demo(parts, {1000, 2000});
    std::uint64_t state = 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(index + 1);
    while (demo.size() < kDemoBytes) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        // Two random bytes anded: a skewed distribution that deflate shrinks by a sixth.
        demo += static_cast<char>((state & 0xFF) & ((state >> 8) & 0xFF));
    }
    return demo;
}

const std::string& PackBytes() {
    static const std::string pack = [] {
        std::vector<test::ZipEntryLayout> entries;
        for (int i = 0; i < kDemos; ++i)
            entries.push_back({"cup/round" + std::to_string(i + 1) + ".dm_2004", RealSizedDemo(i)});
        return test::ZipFile(entries);
    }();
    return pack;
}

void BM_UnpackPackOf200Demos(benchmark::State& state) {
    const std::string& pack = PackBytes();
    for (auto _ : state) {
        state.PauseTiming();
        test::FakeFileSystem files;
        files.folders.insert(std::string(kGame) + "\\base\\mp\\demos");
        files.folders.insert(std::string(kGame) + "\\mymod\\demos");
        files.files[kPack] = pack;
        state.ResumeTiming();
        PackPlan plan = PlanPack(files, kGame, kPack);
        const PackUnpackResult result = UnpackPack(files, kGame, plan, {});
        if (result.outcome != UnpackOutcome::Done || plan.demos.size() != kDemos)
            state.SkipWithError("the pack was not unpacked whole");
        state.PauseTiming();
        files.files.clear();  // freed outside the timing
        state.ResumeTiming();
    }
    state.counters["pack MiB"] = static_cast<double>(pack.size()) / (1024 * 1024);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kDemos * kDemoBytes));
}
BENCHMARK(BM_UnpackPackOf200Demos)->Unit(benchmark::kMillisecond)->UseRealTime();

// The plan alone: what the user waits for before the question comes up.
void BM_PlanPackOf200Demos(benchmark::State& state) {
    test::FakeFileSystem files;
    files.folders.insert(std::string(kGame) + "\\base\\mp\\demos");
    files.folders.insert(std::string(kGame) + "\\mymod\\demos");
    files.files[kPack] = PackBytes();
    for (auto _ : state) {
        const PackPlan plan = PlanPack(files, kGame, kPack);
        if (plan.demos.size() != kDemos) state.SkipWithError("the pack was not planned whole");
    }
}
BENCHMARK(BM_PlanPackOf200Demos)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
