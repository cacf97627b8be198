// The records of a demo file: a little-endian 32-bit sequence number, a
// little-endian 32-bit length and that many bytes of one server message; a
// length of -1, or the end of the file, ends the demo. The bytes come in
// blocks, so that walking a whole file costs one read per block, not one
// per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string_view>

namespace reelwright {

// Where the bytes of a demo come from.
class DemoInput {
public:
    virtual ~DemoInput() = default;
    // Up to `count` bytes into `into`; fewer only at the end or on a failure.
    virtual std::size_t Read(char* into, std::size_t count) = 0;
    // True once reading failed for another reason than the end of the input.
    virtual bool Failed() const = 0;
};

// The bytes of a demo held in memory.
class DemoBytesInput final : public DemoInput {
public:
    explicit DemoBytesInput(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* into, std::size_t count) override;
    bool Failed() const override { return false; }

private:
    std::string_view bytes_;
};

enum class RecordStatus {
    Message,      // one whole message
    End,          // the end marker, or the end of the input between records
    CutShort,     // the input ends inside a record
    TooLong,      // a length over the engine's largest message
    BadLength,    // a length of 0, or negative other than the end marker
    ReadFailed,   // the input could not be read
    Stopped,      // a stop was asked before the next block was read
};

class DemoRecords {
public:
    // Reads `blockBytes` at a time, and never fewer than one whole record of
    // the largest size with its header: the first read of a demo takes its
    // first record whole. Before each read it looks at `stop`.
    DemoRecords(DemoInput& input, std::size_t blockBytes, std::stop_token stop = {});

    // The next record's message in `message`, valid until the next call.
    RecordStatus Next(std::string_view& message);

    // Records longer than this are refused from now on (at first, the
    // largest message of any protocol).
    void LimitMessages(std::int32_t maxMessageBytes) { maxMessageBytes_ = maxMessageBytes; }

private:
    // True when `count` bytes are buffered, reading more as needed.
    bool Have(std::size_t count);

    DemoInput& input_;
    std::stop_token stop_;
    std::int32_t maxMessageBytes_;
    std::size_t capacity_;
    // Left uninitialised: only the pages that the input fills are touched.
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool inputEnded_ = false;
    bool stopped_ = false;
};

}  // namespace reelwright
