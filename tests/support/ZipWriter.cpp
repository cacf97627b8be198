#include "support/ZipWriter.h"

#include <zlib.h>

namespace reelwright::test {

namespace {

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string RawDeflate(const std::string& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::uint32_t Crc32(const std::string& bytes) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string ZipFile(const std::vector<ZipEntryLayout>& entries, const std::string& comment) {
    std::string out;
    std::string directory;
    for (const ZipEntryLayout& entry : entries) {
        const std::string data = entry.deflate ? RawDeflate(entry.bytes) : entry.bytes;
        const std::uint16_t method = entry.method != 0xFFFF ? entry.method : (entry.deflate ? 8 : 0);
        const std::uint32_t crc = entry.claimedCrc.value_or(Crc32(entry.bytes));
        const std::uint32_t size = entry.claimedSize.value_or(static_cast<std::uint32_t>(entry.bytes.size()));
        const auto offset = static_cast<std::uint32_t>(out.size());

        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, entry.flags);
        Put16(out, method);
        Put32(out, 0);  // time and date
        Put32(out, crc);
        Put32(out, static_cast<std::uint32_t>(data.size()));
        Put32(out, size);
        Put16(out, static_cast<std::uint32_t>(entry.name.size()));
        Put16(out, 0);
        out += entry.name;
        out += data;

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, entry.flags);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(data.size()));
        Put32(directory, size);
        Put16(directory, static_cast<std::uint32_t>(entry.name.size()));
        Put16(directory, 0);  // extra
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, 0);  // external attributes
        Put32(directory, offset);
        directory += entry.name;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, static_cast<std::uint32_t>(comment.size()));
    out += comment;
    return out;
}

}  // namespace reelwright::test
