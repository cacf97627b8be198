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

namespace {

using namespace reelwright;

// Writes real files below a Linux folder; "\" in paths becomes "/".
class LocalFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override { return std::filesystem::is_regular_file(Local(path)); }
    FileResult SetReadOnly(const std::string&) override { return {}; }
    FileResult CopyFileOver(const std::string& from, const std::string& to) override {
        std::error_code error;
        std::filesystem::copy_file(Local(from), Local(to), std::filesystem::copy_options::overwrite_existing, error);
        return Result(!error);
    }
    FileResult WriteAnsiTextFile(const std::string& path, const std::string& text) override {
        std::ofstream file(Local(path), std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        return Result(static_cast<bool>(file));
    }
    FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) override {
        std::ifstream file(Local(path), std::ios::binary);
        bytes.assign(count, '\0');
        file.read(bytes.data(), static_cast<std::streamsize>(count));
        bytes.resize(static_cast<std::size_t>(file.gcount()));
        return Result(!file.bad());
    }
    FileResult ReadWholeFile(const std::string& path, std::string& bytes) override {
        return ReadFileStart(path, std::size_t{1} << 30, bytes);
    }
    FileResult ReplaceFile(const std::string& path, const std::string& bytes) override {
        return WriteAnsiTextFile(path, bytes);
    }
    std::optional<std::uint32_t> Attributes(const std::string& path) override {
        if (!FileExists(path)) return std::nullopt;
        return 0x20;
    }
    FileResult SetAttributes(const std::string&, std::uint32_t) override { return {}; }
    FileResult RemoveFile(const std::string& path) override {
        std::error_code error;
        return Result(std::filesystem::remove(Local(path), error));
    }
    FileResult RenameFile(const std::string& from, const std::string& to) override {
        std::error_code error;
        if (std::filesystem::exists(Local(to), error)) return FileResult{kErrorFileExists};
        std::filesystem::rename(Local(from), Local(to), error);
        return Result(!error);
    }
    std::string MakeTemporaryFile() override { return {}; }
    std::string ErrorText(std::uint32_t error) override { return "error " + std::to_string(error); }

    std::optional<FolderContents> ListFolder(const std::string& folder) override {
        std::error_code error;
        if (!std::filesystem::is_directory(Local(folder), error)) return std::nullopt;
        FolderContents contents;
        for (const auto& item : std::filesystem::directory_iterator(Local(folder), error))
            (item.is_directory() ? contents.folders : contents.files).push_back(item.path().filename().string());
        return contents;
    }

    // Launch without elevation never uses the rest; the benchmark has no
    // handles to hold and refuses them.
    bool IsReadOnly(const std::string&) override { return false; }
    std::unique_ptr<HeldItem> Hold(const std::string&, HoldMode, FileResult& error) override {
        error = FileResult{kErrorAccessDenied};
        return nullptr;
    }
    FileResult ReadHeldFile(const std::string&, std::size_t, std::string&, HeldFacts&) override {
        return FileResult{kErrorAccessDenied};
    }
    std::string TextFromAnsi(std::string_view bytes) override { return std::string(bytes); }
    bool IsLocalFixedDrive(const std::string&) override { return false; }
    std::string TemporaryFolder() override { return {}; }
    FileResult CreateFolder(const std::string&) override { return FileResult{kErrorAccessDenied}; }
    FileResult RemoveFolder(const std::string&) override { return FileResult{kErrorAccessDenied}; }
    FileResult WriteNewFile(const std::string&, std::string_view) override { return FileResult{kErrorAccessDenied}; }

private:
    // Failures here carry no system code of their own.
    static FileResult Result(bool succeeded) { return succeeded ? FileResult{} : FileResult{kErrorAccessDenied}; }
    static std::string Local(std::string path) {
        for (char& c : path)
            if (c == '\\') c = '/';
        return path;
    }
};

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
