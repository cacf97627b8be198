#include "pack/ZipInflate.h"

#include <algorithm>

#include <zlib.h>

namespace reelwright {

namespace {

// How much compressed data is read at a time.
constexpr std::size_t kReadPiece = 256 * 1024;
// How much is unpacked at a time.
constexpr std::size_t kWritePiece = 256 * 1024;

// A raw-deflate stream (no zlib or gzip wrapper, as in zip files) that ends
// itself.
class RawInflater {
public:
    RawInflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~RawInflater() {
        if (ok_) inflateEnd(&stream_);
    }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    bool ok() const { return ok_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ok_ = false;
};

enum class Step { More, End, Damaged, TooLarge, ReadFailed, Stopped };

// Feeds the entry's compressed data through `inflater` (nothing: copied as
// stored) into `bytes` until the stream ends, the data runs out, more than
// `limit` come out, or `enough` says so.
struct Unpacker {
    ReadableFile& file;
    const ZipEntry& entry;
    std::uint64_t dataOffset;
    std::uint64_t limit;
    std::string& bytes;
    std::uint32_t readError = 0;

    Step Run(const InflateProgress& keepGoing, bool stopAtLimit) {
        RawInflater inflater;
        const bool deflated = entry.method == kZipDeflated;
        if (deflated && !inflater.ok()) return Step::Damaged;
        std::string input;
        std::uint64_t consumed = 0;
        bool streamEnded = false;
        while (!streamEnded) {
            const std::uint64_t left = entry.compressedSize - consumed;
            if (left == 0) break;
            const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, kReadPiece));
            if (const FileResult read = file.ReadAt(dataOffset + consumed, piece, input); !read) {
                readError = read.error;
                return Step::ReadFailed;
            }
            consumed += piece;
            if (!deflated) {
                const std::uint64_t room = limit - bytes.size();
                if (piece > room) {
                    if (stopAtLimit) {
                        bytes.append(input, 0, static_cast<std::size_t>(room));
                        return Step::End;
                    }
                    return Step::TooLarge;
                }
                bytes += input;
            } else {
                z_stream& stream = inflater.stream();
                stream.next_in = reinterpret_cast<Bytef*>(input.data());
                stream.avail_in = static_cast<uInt>(input.size());
                while (stream.avail_in > 0 && !streamEnded) {
                    const std::uint64_t room = limit - bytes.size();
                    // One byte past the limit tells that there is more.
                    const std::size_t out = static_cast<std::size_t>(std::min<std::uint64_t>(kWritePiece, room + 1));
                    const std::size_t before = bytes.size();
                    bytes.resize(before + out);
                    stream.next_out = reinterpret_cast<Bytef*>(bytes.data() + before);
                    stream.avail_out = static_cast<uInt>(out);
                    const int status = inflate(&stream, Z_NO_FLUSH);
                    bytes.resize(before + out - stream.avail_out);
                    if (status == Z_STREAM_END) {
                        streamEnded = true;
                    } else if (status != Z_OK && status != Z_BUF_ERROR) {
                        return Step::Damaged;
                    } else if (status == Z_BUF_ERROR && stream.avail_out != 0) {
                        break;  // needs more input
                    }
                    if (bytes.size() > limit) {
                        if (!stopAtLimit) return Step::TooLarge;
                        bytes.resize(static_cast<std::size_t>(limit));
                        return Step::End;
                    }
                }
            }
            if (keepGoing && !keepGoing(bytes.size())) return Step::Stopped;
        }
        if (deflated && !streamEnded) return Step::Damaged;
        return Step::End;
    }
};

}  // namespace

InflateResult InflateZipEntry(ReadableFile& file, const ZipEntry& entry, std::uint64_t dataOffset, std::uint64_t limit,
                              std::string& bytes, const InflateProgress& keepGoing) {
    bytes.clear();
    if (entry.method != kZipStored && entry.method != kZipDeflated) return {InflateOutcome::Unsupported};
    // Room for what the entry claims, within the limit; it may give more or less.
    bytes.reserve(static_cast<std::size_t>(std::min(entry.size, limit)));
    Unpacker unpacker{file, entry, dataOffset, limit, bytes};
    switch (unpacker.Run(keepGoing, false)) {
        case Step::TooLarge: return {InflateOutcome::TooLarge};
        case Step::Damaged: return {InflateOutcome::Damaged};
        case Step::ReadFailed: return {InflateOutcome::ReadFailed, unpacker.readError};
        case Step::Stopped: return {InflateOutcome::Stopped};
        case Step::More:
        case Step::End: break;
    }
    if (bytes.size() != entry.size) return {InflateOutcome::Damaged};
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::size_t at = 0; at < bytes.size(); at += 1u << 30) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - at, 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(piece));
    }
    if (static_cast<std::uint32_t>(crc) != entry.crc) return {InflateOutcome::Damaged};
    return {};
}

bool InflateZipEntryStart(ReadableFile& file, const ZipEntry& entry, std::uint64_t dataOffset, std::size_t count,
                          std::string& bytes) {
    bytes.clear();
    if (entry.method != kZipStored && entry.method != kZipDeflated) return false;
    Unpacker unpacker{file, entry, dataOffset, count, bytes};
    return unpacker.Run({}, true) == Step::End;
}

}  // namespace reelwright
