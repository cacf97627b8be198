#include "demo/DemoRecords.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "demo/DemoProtocol.h"

namespace reelwright {
namespace {

constexpr std::size_t kHeaderBytes = 8;

std::int32_t LittleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::size_t DemoBytesInput::Read(char* into, std::size_t count) {
    const std::size_t taken = std::min(count, bytes_.size());
    std::memcpy(into, bytes_.data(), taken);
    bytes_.remove_prefix(taken);
    return taken;
}

DemoRecords::DemoRecords(DemoInput& input, std::size_t blockBytes, std::stop_token stop)
    : input_(input),
      stop_(std::move(stop)),
      maxMessageBytes_(kLargestMessageBytes),
      capacity_(std::max(blockBytes, kHeaderBytes + kLargestMessageBytes)),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

bool DemoRecords::Have(std::size_t count) {
    if (end_ - begin_ >= count) return true;
    if (inputEnded_) return false;
    // What is left of the last block moves to the front; the rest of the
    // buffer fills with the next block.
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < count && !inputEnded_) {
        if (stop_.stop_requested()) {
            stopped_ = inputEnded_ = true;
            break;
        }
        const std::size_t got = input_.Read(buffer_.get() + end_, capacity_ - end_);
        end_ += got;
        if (got == 0 || input_.Failed()) inputEnded_ = true;
    }
    return end_ >= count;
}

RecordStatus DemoRecords::Next(std::string_view& message) {
    message = {};
    if (!Have(kHeaderBytes)) {
        if (stopped_) return RecordStatus::Stopped;
        if (input_.Failed()) return RecordStatus::ReadFailed;
        return begin_ == end_ ? RecordStatus::End : RecordStatus::CutShort;
    }
    const std::int32_t length = LittleEndian32(buffer_.get() + begin_ + 4);
    if (length == -1) return RecordStatus::End;
    if (length <= 0) return RecordStatus::BadLength;
    if (length > maxMessageBytes_) return RecordStatus::TooLong;
    if (!Have(kHeaderBytes + static_cast<std::size_t>(length))) {
        if (stopped_) return RecordStatus::Stopped;
        return input_.Failed() ? RecordStatus::ReadFailed : RecordStatus::CutShort;
    }
    message = std::string_view(buffer_.get() + begin_ + kHeaderBytes, static_cast<std::size_t>(length));
    begin_ += kHeaderBytes + static_cast<std::size_t>(length);
    return RecordStatus::Message;
}

}  // namespace reelwright
