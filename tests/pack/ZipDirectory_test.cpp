#include "pack/ZipDirectory.h"

#include <gtest/gtest.h>

#include "pack/ZipInflate.h"
#include "support/Fakes.h"
#include "support/ZipWriter.h"

namespace reelwright {
namespace {

class ZipTest : public ::testing::Test {
protected:
    std::unique_ptr<ReadableFile> Open(const std::string& bytes) {
        files.files["C:\\p.zip"] = bytes;
        FileResult error;
        return files.OpenToRead("C:\\p.zip", error);
    }
    test::FakeFileSystem files;
};

TEST_F(ZipTest, ReadsTheDirectoryAndEachEntrysDataBehindItsCheckedLocalHeader) {
    const std::string big(300000, 'x');  // more than one piece of input and output
    const auto file = Open(test::ZipFile({{"a.dm_2004", "first"}, {"sub/b.dm_2004", big}, {"c.txt", "note", false}},
                                         "a comment \x50\x4b\x05\x06 with a signature in it"));
    const ZipDirectoryResult read = ReadZipDirectory(*file);
    ASSERT_TRUE(read.Read()) << read.problem;
    ASSERT_EQ(read.directory.entries.size(), 3u);
    const std::vector<std::string> expected = {"first", big, "note"};
    for (std::size_t i = 0; i < 3; ++i) {
        const ZipEntry& entry = read.directory.entries[i];
        const ZipDataPlace place = LocateZipEntryData(*file, read.directory, entry);
        ASSERT_TRUE(place.problem.empty()) << entry.rawName;
        std::string bytes;
        EXPECT_EQ(InflateZipEntry(*file, entry, place.offset, 1 << 20, bytes).outcome, InflateOutcome::Done);
        EXPECT_EQ(bytes, expected[i]);
    }
    EXPECT_EQ(read.directory.entries[1].rawName, "sub/b.dm_2004");
    EXPECT_EQ(read.directory.entries[2].method, kZipStored);
}

TEST_F(ZipTest, BrokenFilesAreRefusedWithTheirReason) {
    const std::string good = test::ZipFile({{"a.dm_2004", std::string(5000, 'a')}, {"b.dm_2004", "bb"}});
    const std::size_t end = good.size() - 22;
    const auto patched = [&](std::size_t at, std::string bytes) {
        std::string copy = good;
        copy.replace(at, bytes.size(), bytes);
        return copy;
    };
    struct Case {
        const char* what;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"empty", "", kZipNotAZip},
        {"text", std::string(100, 'z'), kZipNotAZip},
        {"cut before its directory", good.substr(0, good.size() / 2), kZipTruncated},
        {"cut inside its end record", good.substr(0, good.size() - 5), kZipTruncated},
        {"directory beyond the end record", patched(end + 16, std::string("\xFF\xFF\x00\x00", 4)), kZipTruncated},
        {"directory size beyond the file", patched(end + 12, std::string("\x00\x00\x01\x00", 4)), kZipTruncated},
        {"more entries than the directory holds", patched(end + 8, std::string("\x09\x00\x09\x00", 4)),
         kZipTruncated},
        {"a second disk", patched(end + 4, std::string("\x01\x00", 2)), kZipMultiDisk},
        {"ZIP64 entry count", patched(end + 8, std::string("\xFF\xFF\xFF\xFF", 4)), kZipUsesZip64},
        {"ZIP64 directory offset", patched(end + 16, std::string("\xFF\xFF\xFF\xFF", 4)), kZipUsesZip64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = Open(c.bytes);
        EXPECT_EQ(ReadZipDirectory(*file).problem, c.problem);
    }
}

TEST_F(ZipTest, ALocalHeaderThatDisagreesWithTheDirectoryIsDamaged) {
    const std::string good = test::ZipFile({{"a.dm_2004", "hello"}});
    struct Case {
        const char* what;
        std::size_t at;
        std::string bytes;
    } cases[] = {
        {"signature", 0, "PK\x03\x05"},
        {"method", 8, std::string("\x00\x00", 2)},
        {"crc", 14, "XXXX"},
        {"name", 30, "b"},
        {"name length beyond the directory", 26, std::string("\xFF\x7F", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        bytes.replace(c.at, c.bytes.size(), c.bytes);
        const auto file = Open(bytes);
        const ZipDirectoryResult read = ReadZipDirectory(*file);
        ASSERT_TRUE(read.Read());
        EXPECT_EQ(LocateZipEntryData(*file, read.directory, read.directory.entries[0]).problem, kZipTruncated);
    }
}

TEST_F(ZipTest, UnpackingCountsTheBytesItGivesAndChecksTheCrc) {
    const std::string content(10000, 'q');
    struct Case {
        const char* what;
        test::ZipEntryLayout entry;
        std::uint64_t limit;
        InflateOutcome outcome;
    } cases[] = {
        {"whole", {"a", content}, 10000, InflateOutcome::Done},
        {"stored", {"a", content, false}, 10000, InflateOutcome::Done},
        {"claims less than it holds, within the limit", {"a", content, true, 0, 0xFFFF, 100}, 1 << 20,
         InflateOutcome::Damaged},
        {"claims less than it holds, beyond the limit", {"a", content, true, 0, 0xFFFF, 100}, 5000,
         InflateOutcome::TooLarge},
        {"stored beyond the limit", {"a", content, false, 0, 0xFFFF, 100}, 5000, InflateOutcome::TooLarge},
        {"claims more than it holds", {"a", content, true, 0, 0xFFFF, 20000}, 1 << 20, InflateOutcome::Damaged},
        {"wrong crc", {"a", content, true, 0, 0xFFFF, std::nullopt, 1234}, 1 << 20, InflateOutcome::Damaged},
        {"bzip2", {"a", content, true, 0, 12}, 1 << 20, InflateOutcome::Unsupported},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = Open(test::ZipFile({c.entry}));
        const ZipDirectoryResult read = ReadZipDirectory(*file);
        ASSERT_TRUE(read.Read());
        const ZipDataPlace place = LocateZipEntryData(*file, read.directory, read.directory.entries[0]);
        ASSERT_TRUE(place.problem.empty());
        std::string bytes;
        EXPECT_EQ(InflateZipEntry(*file, read.directory.entries[0], place.offset, c.limit, bytes).outcome, c.outcome);
        EXPECT_LE(bytes.size(), c.limit + 256 * 1024);
    }
}

TEST_F(ZipTest, DeflateDataCutShortOrGarbledIsDamaged) {
    std::string bytes = test::ZipFile({{"a", std::string(50000, 'r') + "tail"}});
    const auto read = [&](const std::string& zip) {
        const auto file = Open(zip);
        const ZipDirectoryResult directory = ReadZipDirectory(*file);
        const ZipDataPlace place = LocateZipEntryData(*file, directory.directory, directory.directory.entries[0]);
        std::string out;
        return InflateZipEntry(*file, directory.directory.entries[0], place.offset, 1 << 20, out).outcome;
    };
    std::string garbled = bytes;
    garbled[31] = '\xFF', garbled[32] = '\xFF';  // the deflate block header
    EXPECT_EQ(read(garbled), InflateOutcome::Damaged);
    // Stopping from the progress call ends the unpack at once.
    const auto file = Open(bytes);
    const ZipDirectoryResult directory = ReadZipDirectory(*file);
    const ZipDataPlace place = LocateZipEntryData(*file, directory.directory, directory.directory.entries[0]);
    std::string out;
    EXPECT_EQ(InflateZipEntry(*file, directory.directory.entries[0], place.offset, 1 << 20, out,
                              [](std::uint64_t) { return false; })
                  .outcome,
              InflateOutcome::Stopped);
}

}  // namespace
}  // namespace reelwright
