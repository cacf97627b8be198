// The demo reader over whole folders: the head alone (one open, one read),
// the head and length (one open, one pass over every record in blocks) and a
// queued demo's details (as the details reader reads them: head and length,
// size and time written, from the same open) of 1 000 and 32 767 files,
// copies of the real demos in tests/demo/data. Cold: the files' cached pages
// are dropped before each pass, so every read goes to the disk; warm: the
// same files straight after.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo/DemoReader.h"
#include "queue/DemoDetails.h"

namespace {

namespace fs = std::filesystem;
using namespace reelwright;

// A folder of `count` demos, removed when the program ends.
class DemoFolder {
public:
    explicit DemoFolder(std::int64_t count) {
        std::vector<fs::path> originals;
        for (const auto& entry : fs::directory_iterator(fs::path(REELWRIGHT_SOURCE_DIR) / "tests" / "demo" / "data"))
            if (entry.path().extension() == ".dm_71") originals.push_back(entry.path());
        if (originals.empty()) throw std::runtime_error("no demos in tests/demo/data");
        folder_ = fs::temp_directory_path() / ("reelwright-demo-bench-" + std::to_string(::getpid()) + "-" +
                                               std::to_string(count));
        fs::create_directories(folder_);
        for (std::int64_t i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "demo%05lld.dm_71", static_cast<long long>(i));
            files_.push_back(folder_ / name);
            fs::copy_file(originals[static_cast<std::size_t>(i) % originals.size()], files_.back());
        }
        // Written back to the disk, so that dropping the pages really drops them.
        ::sync();
    }
    ~DemoFolder() { fs::remove_all(folder_); }

    const std::vector<fs::path>& Files() const { return files_; }

    void DropCachedPages() const {
        for (const fs::path& file : files_) {
            const int fd = ::open(file.c_str(), O_RDONLY);
            if (fd < 0) continue;
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }

private:
    fs::path folder_;
    std::vector<fs::path> files_;
};

const DemoFolder& Folder(std::int64_t count) {
    static std::map<std::int64_t, std::unique_ptr<DemoFolder>> folders;
    auto& folder = folders[count];
    if (!folder) folder = std::make_unique<DemoFolder>(count);
    return *folder;
}

template <bool Cold, typename Read>
void ReadFolder(benchmark::State& state, Read read) {
    const DemoFolder& folder = Folder(state.range(0));
    std::int64_t readable = 0;
    for (auto _ : state) {
        if (Cold) {
            state.PauseTiming();
            folder.DropCachedPages();
            state.ResumeTiming();
        }
        readable = 0;
        for (const fs::path& file : folder.Files()) readable += read(file) ? 1 : 0;
    }
    if (readable != static_cast<std::int64_t>(folder.Files().size())) state.SkipWithError("a demo was not read");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <bool Cold>
void BM_Heads(benchmark::State& state) {
    ReadFolder<Cold>(state, [](const fs::path& file) { return ReadDemoFileHead(file.native()).Readable(); });
}

template <bool Cold>
void BM_Lengths(benchmark::State& state) {
    ReadFolder<Cold>(state, [](const fs::path& file) { return ReadDemoFile(file.native()).length.milliseconds > 0; });
}

template <bool Cold>
void BM_Details(benchmark::State& state) {
    ReadFolder<Cold>(state, [](const fs::path& file) { return ReadDemoDetails(file.native()).Readable(); });
}

}  // namespace

BENCHMARK_TEMPLATE(BM_Heads, true)->Name("BM_DemoHeads/cold")->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(BM_Heads, false)->Name("BM_DemoHeads/warm")->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(BM_Lengths, true)->Name("BM_DemoLengths/cold")->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(BM_Lengths, false)->Name("BM_DemoLengths/warm")->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(BM_Details, true)->Name("BM_DemoDetails/cold")->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(BM_Details, false)->Name("BM_DemoDetails/warm")->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);
