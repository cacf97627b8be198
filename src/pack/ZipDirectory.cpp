#include "pack/ZipDirectory.h"

#include <algorithm>
#include <string_view>

namespace reelwright {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kMostCommentBytes = 0xFFFF;

std::uint16_t Read16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(Read16(bytes, at)) | static_cast<std::uint32_t>(Read16(bytes, at + 2)) << 16;
}

ZipDirectoryResult Failed(const char* problem, std::uint32_t readError = 0) {
    ZipDirectoryResult result;
    result.problem = problem;
    result.readError = readError;
    return result;
}

// The offset of the end record in `tail` (the file's last bytes), or npos.
std::size_t FindEndRecord(std::string_view tail) {
    if (tail.size() < kEndSize) return std::string_view::npos;
    for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
        if (Read32(tail, at) != kEndSignature) continue;
        // Its comment must end within the file; a signature inside a comment
        // of a later record would have been found first.
        if (at + kEndSize + Read16(tail, at + 20) <= tail.size()) return at;
    }
    return std::string_view::npos;
}

}  // namespace

ZipDirectoryResult ReadZipDirectory(ReadableFile& file) {
    const std::uint64_t size = file.Size();
    if (size < kEndSize) return Failed(kZipNotAZip);
    const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndSize + kMostCommentBytes));
    const std::uint64_t tailStart = size - tailSize;
    std::string tail;
    if (const FileResult read = file.ReadAt(tailStart, tailSize, tail); !read) return Failed(kZipTruncated, read.error);
    const std::size_t end = FindEndRecord(tail);
    if (end == std::string_view::npos) {
        // A local header at the start and no end record: a zip cut short.
        std::string start;
        if (file.ReadAt(0, 4, start) && Read32(start, 0) == kLocalSignature) return Failed(kZipTruncated);
        return Failed(kZipNotAZip);
    }
    const std::uint64_t endOffset = tailStart + end;
    const std::uint16_t disk = Read16(tail, end + 4);
    const std::uint16_t directoryDisk = Read16(tail, end + 6);
    const std::uint16_t entriesHere = Read16(tail, end + 8);
    const std::uint16_t entryCount = Read16(tail, end + 10);
    const std::uint32_t directorySize = Read32(tail, end + 12);
    const std::uint32_t directoryOffset = Read32(tail, end + 16);
    if (entryCount == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF ||
        (end >= kZip64LocatorSize && Read32(tail, end - kZip64LocatorSize) == kZip64LocatorSignature))
        return Failed(kZipUsesZip64);
    if (disk != 0 || directoryDisk != 0 || entriesHere != entryCount) return Failed(kZipMultiDisk);
    if (directoryOffset > endOffset || directorySize > endOffset - directoryOffset) return Failed(kZipTruncated);
    if (directorySize > kMostZipDirectoryBytes) return Failed(kZipDirectoryTooLarge);
    if (static_cast<std::uint64_t>(entryCount) * kCentralSize > directorySize) return Failed(kZipTruncated);

    std::string bytes;
    if (const FileResult read = file.ReadAt(directoryOffset, directorySize, bytes); !read)
        return Failed(kZipTruncated, read.error);
    ZipDirectoryResult result;
    result.directory.directoryOffset = directoryOffset;
    result.directory.entries.reserve(entryCount);
    std::size_t at = 0;
    for (std::uint16_t i = 0; i < entryCount; ++i) {
        if (bytes.size() - at < kCentralSize || Read32(bytes, at) != kCentralSignature) return Failed(kZipTruncated);
        const std::size_t nameLength = Read16(bytes, at + 28);
        const std::size_t extraLength = Read16(bytes, at + 30);
        const std::size_t commentLength = Read16(bytes, at + 32);
        if (bytes.size() - at - kCentralSize < nameLength + extraLength + commentLength) return Failed(kZipTruncated);
        ZipEntry entry;
        entry.flags = Read16(bytes, at + 8);
        entry.method = Read16(bytes, at + 10);
        entry.crc = Read32(bytes, at + 16);
        const std::uint32_t compressedSize = Read32(bytes, at + 20);
        const std::uint32_t entrySize = Read32(bytes, at + 24);
        const std::uint16_t startDisk = Read16(bytes, at + 34);
        entry.externalAttributes = Read32(bytes, at + 38);
        const std::uint32_t localOffset = Read32(bytes, at + 42);
        if (compressedSize == 0xFFFFFFFF || entrySize == 0xFFFFFFFF || localOffset == 0xFFFFFFFF ||
            startDisk == 0xFFFF)
            return Failed(kZipUsesZip64);
        if (startDisk != 0) return Failed(kZipMultiDisk);
        entry.compressedSize = compressedSize;
        entry.size = entrySize;
        entry.localHeaderOffset = localOffset;
        if (entry.localHeaderOffset + kLocalSize > result.directory.directoryOffset) return Failed(kZipTruncated);
        entry.rawName.assign(bytes, at + kCentralSize, nameLength);
        result.directory.entries.push_back(std::move(entry));
        at += kCentralSize + nameLength + extraLength + commentLength;
    }
    return result;
}

ZipDataPlace LocateZipEntryData(ReadableFile& file, const ZipDirectory& directory, const ZipEntry& entry) {
    ZipDataPlace place;
    const auto fail = [&](std::uint32_t error = 0) {
        place.problem = kZipTruncated;
        place.readError = error;
        return place;
    };
    const std::uint64_t limit = directory.directoryOffset;
    if (entry.localHeaderOffset > limit || limit - entry.localHeaderOffset < kLocalSize) return fail();
    std::string header;
    if (const FileResult read = file.ReadAt(entry.localHeaderOffset, kLocalSize, header); !read)
        return fail(read.error);
    if (Read32(header, 0) != kLocalSignature) return fail();
    const std::size_t nameLength = Read16(header, 26);
    const std::size_t extraLength = Read16(header, 28);
    const std::uint64_t nameOffset = entry.localHeaderOffset + kLocalSize;
    const std::uint64_t dataOffset = nameOffset + nameLength + extraLength;
    if (dataOffset > limit || entry.compressedSize > limit - dataOffset) return fail();
    if (Read16(header, 8) != entry.method || nameLength != entry.rawName.size()) return fail();
    if (!(Read16(header, 6) & kZipFlagDataDescriptor) &&
        (Read32(header, 14) != entry.crc || Read32(header, 18) != entry.compressedSize ||
         Read32(header, 22) != entry.size))
        return fail();
    std::string name;
    if (const FileResult read = file.ReadAt(nameOffset, nameLength, name); !read) return fail(read.error);
    if (name != entry.rawName) return fail();
    place.offset = dataOffset;
    return place;
}

}  // namespace reelwright
