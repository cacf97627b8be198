// The details reader's thread: every file handed over is read once, the rows
// in view first; forgotten files are not read; and stopping waits for no
// more than the file being read.
#include "queue/DemoDetailsReader.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace reelwright {
namespace {

// Reads nothing: holds each file until the test lets it go or the reader
// stops, and records the order of the files.
class Gate {
public:
    DemoDetails Read(const std::string& file, std::stop_token stop) {
        std::unique_lock lock(mutex_);
        started_.push_back(file);
        changed_.notify_all();
        changed_.wait(lock, stop, [&] { return open_ > 0 || closing_; });
        if (open_ > 0) --open_;
        DemoDetails details;
        details.head.map = file;
        return details;
    }
    void Let(int files) {
        std::lock_guard lock(mutex_);
        open_ += files;
        changed_.notify_all();
    }
    // Every file read from now on returns at once.
    void Close() {
        std::lock_guard lock(mutex_);
        closing_ = true;
        changed_.notify_all();
    }
    void WaitStarted(std::size_t files) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return started_.size() >= files; });
    }
    std::vector<std::string> Started() {
        std::lock_guard lock(mutex_);
        return started_;
    }

private:
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<std::string> started_;
    int open_ = 0;
    bool closing_ = false;
};

std::vector<DemoDetailsReader::Job> Jobs(DemoQueue::EntryId first, DemoQueue::EntryId last) {
    std::vector<DemoDetailsReader::Job> jobs;
    for (DemoQueue::EntryId id = first; id <= last; ++id) {
        std::string path = "f";
        path += std::to_string(id);
        jobs.push_back({id, path});
    }
    return jobs;
}

TEST(DemoDetailsReader, PreferredFilesFirstThenTheRestInOrderEachOnce) {
    Gate gate;
    std::mutex signals;
    int notices = 0;
    std::vector<DemoDetailsReader::Result> results;
    {
        DemoDetailsReader reader([&] { std::lock_guard lock(signals); ++notices; },
                                 [&](const std::string& file, std::stop_token stop) { return gate.Read(file, stop); });
        reader.Add(Jobs(1, 8));
        gate.WaitStarted(1);  // f1 is being read
        reader.Prefer({6, 5, 99});
        // 3 and 7 leave the queue before they are read.
        reader.Retain({1, 2, 4, 5, 6, 8});
        reader.Add(Jobs(8, 8));  // handed over twice, read once
        EXPECT_EQ(reader.Waiting(), 5u);
        gate.Let(6);
        gate.WaitStarted(6);
        gate.Close();
        while (results.size() < 6) {
            auto taken = reader.TakeResults();
            results.insert(results.end(), taken.begin(), taken.end());
        }
        EXPECT_EQ(reader.Waiting(), 0u);
    }
    EXPECT_EQ(gate.Started(), (std::vector<std::string>{"f1", "f6", "f5", "f2", "f4", "f8"}));
    ASSERT_EQ(results.size(), 6u);
    EXPECT_EQ(results[1].id, 6u);
    EXPECT_EQ(results[1].details.head.map, "f6");
    std::lock_guard lock(signals);
    EXPECT_GE(notices, 1);
}

TEST(DemoDetailsReader, StoppingWaitsOnlyForTheFileBeingRead) {
    Gate gate;
    auto reader = std::make_unique<DemoDetailsReader>(
        [] {}, [&](const std::string& file, std::stop_token stop) { return gate.Read(file, stop); });
    reader->Add(Jobs(1, 32767));
    gate.WaitStarted(1);
    // Stopping while f1 is held: the read of f1 sees the stop and ends, and
    // the 32766 files after it are never started.
    reader.reset();
    EXPECT_EQ(gate.Started(), std::vector<std::string>{"f1"});
}

TEST(DemoDetailsReader, AFileThatThrowsCountsAsUnreadable) {
    std::mutex mutex;
    std::condition_variable ready;
    bool notified = false;
    DemoDetailsReader reader(
        [&] {
            std::lock_guard lock(mutex);
            notified = true;
            ready.notify_all();
        },
        [](const std::string&, std::stop_token) -> DemoDetails { throw std::runtime_error("disk gone"); });
    reader.Add(Jobs(1, 1));
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return notified; });
    const auto results = reader.TakeResults();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].details.Refusal(), DemoReadRefusal::CannotOpen);
}

}  // namespace
}  // namespace reelwright
