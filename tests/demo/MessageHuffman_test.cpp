// The message Huffman code against its list of facts, and the reader's
// decoding of every byte value, alone and packed between others.
#include "demo/MessageHuffman.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "demo/MessageReader.h"
#include "support/DemoEncoder.h"

namespace reelwright {
namespace {

TEST(MessageHuffman, TheTableIsTheListedCode) {
    std::ifstream list(std::filesystem::path(REELWRIGHT_SOURCE_DIR) / "src" / "demo" / "message-huffman-codes.txt");
    ASSERT_TRUE(list.is_open());
    int listed = 0;
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int value = -1;
        std::string code;
        fields >> value >> code;
        ASSERT_EQ(value, listed) << line;
        EXPECT_EQ(MessageHuffmanCode(static_cast<std::uint8_t>(value)), code) << "byte " << value;
        ++listed;
    }
    EXPECT_EQ(listed, 256);
}

TEST(MessageHuffman, EveryByteDecodesBackAtEveryBitOffsetAndNothingPastTheEnd) {
    // n bytes of 1 (a 5-bit code) first put the codes at offsets 5n mod 8:
    // every offset inside a byte once for n = 0..7.
    for (int n = 0; n < 8; ++n) {
        test::MessageWriter writer;
        for (int i = 0; i < n; ++i) writer.Byte(1);
        for (int value = 0; value < 256; ++value) writer.Byte(static_cast<std::uint8_t>(value));
        writer.Short(0xBEEF);
        writer.Long(-2);
        writer.String("map\\mp_shop");
        MessageReader reader(writer.Bytes());
        for (int i = 0; i < n; ++i) ASSERT_EQ(reader.Byte(), 1);
        for (int value = 0; value < 256; ++value) ASSERT_EQ(reader.Byte(), value) << "after " << n;
        EXPECT_EQ(reader.Short(), 0xBEEF);
        EXPECT_EQ(reader.Long(), -2);
        EXPECT_EQ(reader.String(), "map\\mp_shop");
        // The zero bits that fill the last byte are no code.
        EXPECT_FALSE(reader.Byte());
        EXPECT_TRUE(reader.Broken());
    }
}

TEST(MessageHuffman, TheUnusedPathAndAStringWithoutItsEndBreakTheMessage) {
    test::MessageWriter unused;
    unused.Byte(65);
    unused.Bits("00000000100");
    unused.Byte(66);
    MessageReader reader(unused.Bytes());
    EXPECT_EQ(reader.Byte(), 65);
    EXPECT_FALSE(reader.Byte());
    // Broken for good: the next code is not read.
    EXPECT_FALSE(reader.Byte());

    test::MessageWriter open;
    open.Byte('a');
    open.Byte('b');
    MessageReader unended(open.Bytes());
    EXPECT_FALSE(unended.String());
}

}  // namespace
}  // namespace reelwright
