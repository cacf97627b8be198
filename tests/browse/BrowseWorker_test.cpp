#include "browse/BrowseWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "support/Fakes.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using Strings = std::vector<std::string>;

constexpr const char* kGame = "C:\\G";
constexpr const char* kDemos = "C:\\G\\base\\mp\\demos";
constexpr const char* kCache = "C:\\Cache\\demo-details.cache";

std::string Demo(const std::string& name) { return std::string(kDemos) + "\\" + name; }

// The fake lists the sub-folders it was told of: each file's folders are.
void Put(FakeFileSystem& files, const std::string& path, const std::string& bytes) {
    files.Put(path, bytes);
    for (std::size_t slash = path.rfind('\\'); slash > std::string(kGame).size(); slash = path.rfind('\\', slash - 1))
        files.folders.insert(path.substr(0, slash));
}

// Applies the worker's events to a catalog as the window does, and waits for
// the worker to have nothing left to do.
class BrowseWorkerTest : public ::testing::Test {
protected:
    BrowseWorkerTest() {
        Put(files, Demo("a.dm_2004"), "aaaa");
        Put(files, Demo("cup\\b.dm_2004"), "bb");
        Put(files, "C:\\G\\mymod\\demos\\c.dm_2004", "c");
    }

    void Start() {
        worker = std::make_unique<BrowseWorker>(
            files, kGame, cache, kCache,
            [this] {
                const std::lock_guard lock(mutex);
                ++notices;
                wake.notify_all();
            },
            [this](const std::string& path, std::stop_token) {
                const std::lock_guard lock(mutex);
                read.push_back(path);
                DemoHeadAndLength details;
                details.head.map = "map of " + path.substr(path.rfind('\\') + 1);
                return details;
            });
    }

    // Takes events until the worker is idle (a generous bound, never a guess).
    void Settle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            for (BrowseWorker::Event& event : worker->TakeEvents()) Apply(event);
            if (worker->Idle()) break;
            std::unique_lock lock(mutex);
            const int seen = notices;
            wake.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)),
                            [&] { return notices != seen; });
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the worker did not settle";
        }
        catalog.Refresh();
    }

    void Apply(BrowseWorker::Event& event) {
        switch (event.kind) {
            case BrowseWorker::Event::Kind::Folder: catalog.ReplaceFolder(std::move(event.rows)); break;
            case BrowseWorker::Event::Kind::FolderGone: catalog.RemoveFolderTree(event.folder); break;
            case BrowseWorker::Event::Kind::Details:
                catalog.SetDetails(event.path, event.stamp, std::move(event.details));
                break;
            case BrowseWorker::Event::Kind::WalkDone: ++walks; break;
        }
    }

    Strings Rows() {
        Strings rows;
        for (std::size_t row = 0; row < catalog.Shown(); ++row) {
            const BrowsedDemo& demo = catalog.ShownRow(row);
            rows.push_back(demo.demo.gameType + "|" + demo.demo.name + "|" +
                           (demo.details ? demo.details->head.map : std::string("-")));
        }
        return rows;
    }

    FakeFileSystem files;
    DetailsCache cache;
    DemoCatalog catalog;
    std::mutex mutex;
    std::condition_variable wake;
    int notices = 0;
    int walks = 0;
    Strings read;
    std::unique_ptr<BrowseWorker> worker;
};

TEST_F(BrowseWorkerTest, WalksEveryDemosFolderReadsEachFileOnceAndKeepsWhatItReadInTheCache) {
    Start();
    Settle();
    EXPECT_EQ(walks, 1);
    EXPECT_EQ(Rows(), (Strings{"base\\mp|a.dm_2004|map of a.dm_2004", "base\\mp|cup\\b.dm_2004|map of b.dm_2004",
                               "mymod|c.dm_2004|map of c.dm_2004"}));
    EXPECT_EQ(read.size(), 3u);
    worker.reset();
    ASSERT_TRUE(cache.Save(files, kCache));

    // The next opening finds every demo in the cache, but the one written since.
    files.Put(Demo("a.dm_2004"), "longer now");
    cache = DetailsCache();
    catalog.Clear();
    read.clear();
    Start();
    Settle();
    EXPECT_EQ(read, Strings{Demo("a.dm_2004")});
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(BrowseWorkerTest, AChangedFolderIsListedAgainAndWhatWentIsTold) {
    Start();
    Settle();
    Put(files, Demo("new.dm_2004"), "n");
    files.files.erase(Demo("a.dm_2004"));
    Put(files, Demo("later\\deep\\d.dm_2004"), "d");
    files.files.erase(Demo("cup\\b.dm_2004"));
    files.folders.erase(Demo("cup"));  // the sub-folder went with its only file
    worker->Rescan(kDemos, false);
    Settle();
    EXPECT_EQ(Rows(), (Strings{"base\\mp|later\\deep\\d.dm_2004|map of d.dm_2004", "base\\mp|new.dm_2004|map of new.dm_2004",
                               "mymod|c.dm_2004|map of c.dm_2004"}));

    // A walk of everything again drops a demos folder that went.
    for (auto file = files.files.begin(); file != files.files.end();)
        file = file->first.rfind("C:\\G\\mymod", 0) == 0 ? files.files.erase(file) : std::next(file);
    files.folders.erase("C:\\G\\mymod\\demos");
    files.folders.erase("C:\\G\\mymod");
    worker->WalkAll();
    Settle();
    EXPECT_EQ(walks, 2);
    EXPECT_EQ(catalog.Total(), 2u);
}

}  // namespace
}  // namespace reelwright
