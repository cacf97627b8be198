// The fixed Huffman code of the engine's network messages: every 8-bit unit of
// a message (a byte, each byte of a wider value, each character of a string)
// is one code of this table. Bits are taken from each byte of the message
// least significant first, byte after byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace reelwright {

// The code of a byte value as '0'/'1' characters, first bit first.
std::string_view MessageHuffmanCode(std::uint8_t value);

// The longest code, in bits.
inline constexpr int kMessageHuffmanLongestCode = 11;

// One step of decoding: the byte value and the code's length in bits, or a
// length of 0 for the one bit path that no code uses.
struct MessageHuffmanStep {
    std::uint8_t value = 0;
    std::uint8_t bits = 0;
};

// Decodes the code at the start of `nextBits`: its lowest bit is the first bit
// of the stream. Bits past the code are ignored.
MessageHuffmanStep DecodeMessageHuffman(std::uint32_t nextBits);

}  // namespace reelwright
