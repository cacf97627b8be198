// Building and writing the playback script, and Launch's whole work for many
// queued demos (against in-memory fakes, without starting a game).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/SettingsStore.h"
#include "launch/Launch.h"
#include "script/basBuildConfigs.h"
#include "support/FakeClassesRegistry.h"
#include "support/FakeSessionPlatform.h"
#include "support/Fakes.h"
#include "LocalFileSystem.h"

namespace {

using namespace reelwright;
using bench::LocalFileSystem;

std::string DemoName(std::int64_t i) { return "match" + std::to_string(i) + ".dm_2004"; }

void BM_BuildAndWriteScript(benchmark::State& state) {
    const auto count = static_cast<std::int16_t>(state.range(0));
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "reelwright_bench";
    std::filesystem::create_directories(folder);
    LocalFileSystem files;

    for (auto _ : state) {
        std::string chain;
        chain.reserve(static_cast<std::size_t>(count) * 120);
        for (int i = 1; i <= count; ++i)
            basBuildConfigs::AppendDemoEntry(chain, 1, count, static_cast<std::int16_t>(i), DemoName(i),
                                             i % 2 ? "base\\mp" : "mymod");
        const std::string viewer = basBuildConfigs::BuildViewerScripts("F6", "F7", "F5", "F8", "F4", "F3");
        const std::string navigation = basBuildConfigs::BuildNavigationBinds("F2", "F1", chain, 1, count);
        benchmark::DoNotOptimize(basBuildConfigs::WriteDemoConfig(files, folder.string(), viewer, navigation));
    }
    state.SetComplexityN(state.range(0));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BuildAndWriteScript)->Arg(1)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity();

// The same script split into the files the game's console can take, each
// written: against the single file above.
void BM_BuildAndWriteScriptParts(benchmark::State& state) {
    const auto count = static_cast<std::int16_t>(state.range(0));
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "reelwright_bench_parts";
    std::filesystem::create_directories(folder);
    LocalFileSystem files;

    std::size_t partCount = 0;
    for (auto _ : state) {
        std::string chain;
        chain.reserve(static_cast<std::size_t>(count) * 120);
        for (int i = 1; i <= count; ++i)
            basBuildConfigs::AppendDemoEntry(chain, 1, count, static_cast<std::int16_t>(i), DemoName(i),
                                             i % 2 ? "base\\mp" : "mymod");
        const std::string viewer = basBuildConfigs::BuildViewerScripts("F6", "F7", "F5", "F8", "F4", "F3");
        const auto parts = basBuildConfigs::SplitDemoConfig(
            basBuildConfigs::ComposeDemoConfig(viewer, basBuildConfigs::BuildNavigationBinds("F2", "F1", chain, 1, count)));
        for (const auto& part : parts)
            benchmark::DoNotOptimize(basBuildConfigs::WriteDemoConfigText(files, folder.string(), part.text, part.fileName));
        partCount = parts.size();
    }
    state.counters["parts"] = static_cast<double>(partCount);
    state.SetComplexityN(state.range(0));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BuildAndWriteScriptParts)->Arg(1)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity();

// The answers Launch without a journal is given: No to the long-queue
// question (all demos), then Yes to the demo-keys question (play anyway).
std::deque<MessageAnswer> LaunchAnswers(std::int64_t demos) {
    if (demos > static_cast<std::int64_t>(kSafeDemosPerSession)) return {MessageAnswer::No, MessageAnswer::Yes};
    return {MessageAnswer::Yes};
}

void BM_LaunchWithFakes(benchmark::State& state) {
    test::FakeSettingsStore store;
    test::FakePrompts prompts;
    test::FakeFileSystem files;
    test::FakeGameShell shell;
    test::FakeClassesRegistry classes;
    test::FakeElevatedRunner elevation;
    AppServices services{store, prompts, files, shell, classes, elevation, {"C:\\Tools", "Reelwright"}};
    // Without a journal: Launch alone is measured.
    test::FakeSessionPlatform sessions(files);
    sessions.journalPath.clear();
    store.Put(kSectionSettings, kKeyGamePath, "C:\\Games\\SOF2");
    files.files["C:\\Games\\SOF2\\mymod\\SOF2MP.exe"] = "";
    files.files["C:\\Games\\SOF2\\mymod\\SOF2MP.cfg"] = "";

    DemoQueue queue;
    for (std::int64_t i = 1; i <= state.range(0); ++i)
        queue.Append({DemoName(i), i % 2 ? "base\\mp" : "mymod", "C:\\Games\\SOF2\\base\\mp\\demos"});

    for (auto _ : state) {
        // A queue above the session limit: all of it; without a journal,
        // played anyway.
        prompts.messageAnswers = LaunchAnswers(state.range(0));
        benchmark::DoNotOptimize(Launch(services, sessions, queue, ""));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LaunchWithFakes)->Arg(200)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

namespace {

// Launch with real files: the script written into a program folder and copied
// into two game-type folders below a game folder (one holding the executable).
void BM_LaunchWritingFiles(benchmark::State& state) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "reelwright_bench_launch";
    std::filesystem::create_directories(root / "program");
    std::filesystem::create_directories(root / "game" / "base" / "mp");
    std::filesystem::create_directories(root / "game" / "mymod");
    std::ofstream(root / "game" / "mymod" / "SOF2MP.exe").put('x');

    test::FakeSettingsStore store;
    test::FakePrompts prompts;
    LocalFileSystem files;
    test::FakeGameShell shell;
    test::FakeClassesRegistry classes;
    test::FakeElevatedRunner elevation;
    AppServices services{store, prompts, files, shell, classes, elevation, {(root / "program").string(), "Reelwright"}};
    test::FakeFileSystem journalFiles;
    test::FakeSessionPlatform sessions(journalFiles);
    sessions.journalPath.clear();
    store.Put(kSectionSettings, kKeyGamePath, (root / "game").string());

    DemoQueue queue;
    for (std::int64_t i = 1; i <= state.range(0); ++i)
        queue.Append({DemoName(i), i % 2 ? "base\\mp" : "mymod", ""});

    for (auto _ : state) {
        prompts.messageAnswers = LaunchAnswers(state.range(0));
        benchmark::DoNotOptimize(Launch(services, sessions, queue, ""));
    }
    std::size_t parts = 0;
    while (std::filesystem::exists(root / "game" / "mymod" / basBuildConfigs::ScriptPartFileName(parts + 1))) ++parts;
    state.counters["parts"] = static_cast<double>(parts);
    state.SetComplexityN(state.range(0));
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_LaunchWritingFiles)->Arg(200)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
