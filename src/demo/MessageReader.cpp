#include "demo/MessageReader.h"

#include "demo/MessageHuffman.h"

namespace reelwright {

std::optional<std::uint8_t> MessageReader::Byte() {
    if (broken_) return std::nullopt;
    // The next 11 bits start inside one byte and reach at most two more;
    // bytes past the end read as zeros and are caught by the length check.
    const std::size_t at = bit_ >> 3;
    std::uint32_t window = 0;
    for (std::size_t i = 0; i < 3 && at + i < bytes_.size(); ++i)
        window |= std::uint32_t{static_cast<std::uint8_t>(bytes_[at + i])} << (8 * i);
    const MessageHuffmanStep step = DecodeMessageHuffman(window >> (bit_ & 7));
    if (step.bits == 0 || bit_ + step.bits > bytes_.size() * 8) {
        broken_ = true;
        return std::nullopt;
    }
    bit_ += step.bits;
    return step.value;
}

std::optional<std::uint16_t> MessageReader::Short() {
    const auto low = Byte();
    const auto high = Byte();
    if (!low || !high) return std::nullopt;
    return static_cast<std::uint16_t>(*low | (*high << 8));
}

std::optional<std::int32_t> MessageReader::Long() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const auto byte = Byte();
        if (!byte) return std::nullopt;
        value |= std::uint32_t{*byte} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::string> MessageReader::String(bool keep) {
    std::string text;
    for (;;) {
        const auto byte = Byte();
        if (!byte) return std::nullopt;
        if (*byte == 0) return text;
        if (keep) text += static_cast<char>(*byte);
    }
}

}  // namespace reelwright
