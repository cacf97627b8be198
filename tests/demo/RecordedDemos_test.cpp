// Demos that a real engine of the family recorded (tests/demo/data, made by
// record-real-demos.sh there): what the reader gives for each, its length
// against the recording's own duration, and how few reads it takes.
#include "demo/DemoReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace reelwright {
namespace {

const std::filesystem::path kData = std::filesystem::path(REELWRIGHT_SOURCE_DIR) / "tests" / "demo" / "data";

// recordings.txt: "<name> <seconds>" for each demo.
std::map<std::string, double> RecordedSeconds() {
    std::map<std::string, double> seconds;
    std::ifstream list(kData / "recordings.txt");
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        double value = 0;
        fields >> name >> value;
        seconds[name] = value;
    }
    return seconds;
}

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Counts the reads that the reader asks of its input.
class CountingInput final : public DemoInput {
public:
    explicit CountingInput(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* into, std::size_t count) override {
        ++reads;
        return bytes_.Read(into, count);
    }
    bool Failed() const override { return false; }
    int reads = 0;

private:
    DemoBytesInput bytes_;
};

struct Expected {
    const char* name;
    const char* map;
    const char* gameType;
    std::vector<std::string> players;
};

TEST(RecordedDemos, HeadAndLengthAreWhatWasRecorded) {
    const std::string server = "Reelwright Test Server";
    const std::vector<Expected> demos = {
        {"ffa-oa_dm1", "oa_dm1", "ffa", {"Sarge", "Grism", "ReelTester"}},
        {"ctf-oa_ctf2", "oa_ctf2", "ctf", {"Angelyss", "Kyonshi", "ReelTester"}},
        {"tdm-oa_dm2", "oa_dm2", "tdm", {"Major", "Gargoyle", "ReelTester"}},
    };
    const std::map<std::string, double> recorded = RecordedSeconds();
    ASSERT_EQ(recorded.size(), demos.size());
    for (const Expected& demo : demos) {
        SCOPED_TRACE(demo.name);
        const std::filesystem::path file = kData / (std::string(demo.name) + ".dm_71");
        const DemoHead head = ReadDemoHead(file);
        ASSERT_TRUE(head.Readable()) << static_cast<int>(head.refusal);
        EXPECT_EQ(head.protocol, 71);
        EXPECT_EQ(head.map, demo.map);
        EXPECT_EQ(head.server, server);
        EXPECT_EQ(head.gameType, demo.gameType);
        EXPECT_EQ(head.players, demo.players);

        const DemoLength length = ReadDemoLength(file);
        ASSERT_TRUE(length.Readable()) << static_cast<int>(length.refusal);
        EXPECT_FALSE(length.cutShort);
        ASSERT_TRUE(recorded.count(demo.name));
        EXPECT_NEAR(length.milliseconds / 1000.0, recorded.at(demo.name), 1.0);
    }
}

TEST(RecordedDemos, TheHeadTakesOneReadAndTheLengthReadsInBlocks) {
    const std::string bytes = Bytes(kData / "ctf-oa_ctf2.dm_71");
    ASSERT_GT(bytes.size(), 16384u + 8);
    CountingInput head(bytes);
    EXPECT_TRUE(ReadDemoHead(head, "ctf-oa_ctf2.dm_71").Readable());
    EXPECT_EQ(head.reads, 1);

    // Hundreds of records; the whole file in one block, and the read that
    // finds its end.
    CountingInput length(bytes);
    EXPECT_GT(ReadDemoLength(length, "ctf-oa_ctf2.dm_71").milliseconds, 0);
    EXPECT_LE(length.reads, 2);
}

}  // namespace
}  // namespace reelwright
