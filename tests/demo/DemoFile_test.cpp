// The demo file input of the system the tests run on (open(2) natively,
// CreateFileW under Wine): a real file by a UTF-8 path with non-ASCII
// characters, its bytes, size and last write time; what it refuses to open.
#include "demo/DemoFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace reelwright {
namespace {

namespace fs = std::filesystem;

class DemoFileTest : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The UTF-8 path of a file in the test's folder, written with `bytes`.
    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path file = folder_ / fs::path(std::u8string(name.begin(), name.end()));
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Utf8(file);
    }
    static std::string Utf8(const fs::path& path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    // One folder per test: CTest may run them at the same time.
    const fs::path folder_ =
        fs::temp_directory_path() /
        (std::string("reelwright-demo-file-") + testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(DemoFileTest, ReadsAFileByANonAsciiPathWithItsSizeAndTimeWritten) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7 % 251);
    const std::string path = Write("D\xC3\xA9mo \xCE\xA9 ctf.dm_2004", bytes);
    // Noon in June 2021, as the file system's clock counts it.
    const std::time_t noon = 1623760496;
    fs::last_write_time(fs::path(std::u8string(path.begin(), path.end())),
                        std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(noon)));

    const auto file = OpenDemoFile(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Size(), bytes.size());
    std::tm local{};
#ifdef _WIN32
    ASSERT_EQ(localtime_s(&local, &noon), 0);
#else
    ASSERT_TRUE(localtime_r(&noon, &local));
#endif
    EXPECT_EQ(file->Written(),
              (LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min}));

    // Reads fill what they are asked for until the end, then give 0.
    std::string read(bytes.size() + 10, '\0');
    EXPECT_EQ(file->Read(read.data(), 100), 100u);
    EXPECT_EQ(file->Read(read.data() + 100, read.size() - 100), bytes.size() - 100);
    read.resize(bytes.size());
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(file->Read(read.data(), 10), 0u);
    EXPECT_FALSE(file->Failed());

    const auto empty = OpenDemoFile(Write("empty.dm_2004", ""));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Size(), 0u);
    EXPECT_EQ(empty->Read(read.data(), 10), 0u);
}

TEST_F(DemoFileTest, AnOpenFileCanStillBeWrittenRenamedAndDeleted) {
    const std::string path = Write("held.dm_2004", "abc");
    const auto file = OpenDemoFile(path);
    ASSERT_TRUE(file);
    const fs::path held(std::u8string(path.begin(), path.end()));
    EXPECT_TRUE(std::ofstream(held, std::ios::binary | std::ios::app) << "d");
    std::error_code error;
    fs::rename(held, folder_ / "moved.dm_2004", error);
    EXPECT_FALSE(error) << error.message();
    EXPECT_TRUE(fs::remove(folder_ / "moved.dm_2004", error)) << error.message();
}

TEST_F(DemoFileTest, WhatIsNotAFileDoesNotOpen) {
    const std::string written = Write("a.dm_2004", "x");
    EXPECT_TRUE(OpenDemoFile(written));
    for (const std::string& path : {Utf8(folder_ / "missing.dm_2004"), Utf8(folder_), std::string(),
                                    written + std::string(1, '\0') + "tail"})
        EXPECT_FALSE(OpenDemoFile(path)) << path;
}

}  // namespace
}  // namespace reelwright
