// Reads the values of one server message: bytes, 16- and 32-bit numbers and
// zero-ended strings, each 8-bit unit one code of the message Huffman code.
// Reading stops for good at the first fault: a code running past the end of
// the message or the bit path that no code uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reelwright {

class MessageReader {
public:
    explicit MessageReader(std::string_view message) : bytes_(message) {}

    std::optional<std::uint8_t> Byte();
    // Least significant byte first, as the engine writes them.
    std::optional<std::uint16_t> Short();
    std::optional<std::int32_t> Long();
    // The characters up to the zero byte, which is read but not kept; nothing
    // when the message ends first. `keep` false reads past them without
    // keeping any.
    std::optional<std::string> String(bool keep = true);

    // True once a read failed; every later read fails too.
    bool Broken() const { return broken_; }

private:
    std::string_view bytes_;
    std::size_t bit_ = 0;
    bool broken_ = false;
};

}  // namespace reelwright
