// The central directory of a zip file, read by a reader of our own: the file
// is untrusted input, so every offset and length is checked against the
// file's size before it is used, and each entry's local header is checked
// against its directory entry before its data is read. Multi-disk archives
// and the ZIP64 extension are refused with the reason (a pack of demos needs
// neither: 65 535 entries and 4 GiB lie far beyond what the program unpacks).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/FileSystem.h"

namespace reelwright {

// General-purpose flag bits of an entry.
inline constexpr std::uint16_t kZipFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kZipFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kZipFlagStrongEncryption = 0x0040;
inline constexpr std::uint16_t kZipFlagUtf8 = 0x0800;

// Compression methods the program unpacks.
inline constexpr std::uint16_t kZipStored = 0;
inline constexpr std::uint16_t kZipDeflated = 8;

// The largest central directory read: 65 535 entries with names of 1 KiB.
inline constexpr std::uint64_t kMostZipDirectoryBytes = 64ull * 1024 * 1024;

struct ZipEntry {
    std::string rawName;  // the name's bytes as stored
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;  // as the directory claims it
    std::uint64_t localHeaderOffset = 0;
    std::uint32_t externalAttributes = 0;

    bool NameIsUtf8() const { return (flags & kZipFlagUtf8) != 0; }
    bool IsEncrypted() const { return (flags & (kZipFlagEncrypted | kZipFlagStrongEncryption)) != 0; }
};

struct ZipDirectory {
    std::vector<ZipEntry> entries;  // in the directory's order
    // Where the central directory starts: every entry's data lies before it.
    std::uint64_t directoryOffset = 0;
};

// Why a zip file cannot be read, as the user is told ("... because <reason>").
inline constexpr const char* kZipNotAZip = "it is not a zip file";
inline constexpr const char* kZipTruncated = "it is damaged or incomplete";
inline constexpr const char* kZipMultiDisk = "it is one part of a zip file split over several files";
inline constexpr const char* kZipUsesZip64 = "it uses the ZIP64 format, which Reelwright does not read";
inline constexpr const char* kZipDirectoryTooLarge = "its list of files is too large";

struct ZipDirectoryResult {
    ZipDirectory directory;
    std::string problem;  // empty when the directory was read
    std::uint32_t readError = 0;  // the system's error when the file could not be read

    bool Read() const { return problem.empty(); }
};

// Reads the directory: finds the end-of-central-directory record in the last
// 65 557 bytes (the latest one whose comment fits in the file), then each
// central header, all within the file and before the record.
ZipDirectoryResult ReadZipDirectory(ReadableFile& file);

struct ZipDataPlace {
    std::uint64_t offset = 0;  // where the entry's compressed data starts
    std::string problem;       // empty when the local header agrees with the directory
    std::uint32_t readError = 0;
};

// Checks the entry's local header (signature, name, method and, unless a data
// descriptor follows the data, CRC and sizes against the directory's) and
// that its data lies before the central directory.
ZipDataPlace LocateZipEntryData(ReadableFile& file, const ZipDirectory& directory, const ZipEntry& entry);

}  // namespace reelwright
