// Writes zip files for tests of the pack reader: entries deflated with zlib
// or stored, with the directory fields a test wants to lie about.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reelwright::test {

struct ZipEntryLayout {
    std::string name;   // the name's bytes as stored
    std::string bytes;  // what the entry holds
    bool deflate = true;
    std::uint16_t flags = 0;  // 0x800: the name is UTF-8; 0x1: encrypted
    std::uint16_t method = 0xFFFF;  // 0xFFFF: 8 when deflated, else 0
    // Fields as written in both headers instead of the true ones.
    std::optional<std::uint32_t> claimedSize{};
    std::optional<std::uint32_t> claimedCrc{};
};

// The whole zip file: local headers with their data, the central directory
// and the end record (with `comment`).
std::string ZipFile(const std::vector<ZipEntryLayout>& entries, const std::string& comment = {});

// The CRC-32 of the bytes.
std::uint32_t Crc32(const std::string& bytes);

}  // namespace reelwright::test
