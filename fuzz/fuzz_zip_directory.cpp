// The zip directory reader, the entry names and the unpacking on any bytes
// taken as a zip file.
// Properties: nothing is read outside the file (the sanitizers watch, and the
// file refuses reads beyond its end), every entry's header and data lie
// before the central directory, an unpacked entry is whole only at its
// claimed size and never beyond the limit, and an accepted name is one
// plain file name in valid UTF-8 that leads nowhere else.
#include <algorithm>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "pack/ZipDirectory.h"
#include "pack/ZipEntryName.h"
#include "pack/ZipInflate.h"

using namespace reelwright;

namespace {

constexpr std::uint64_t kLimit = 1 << 16;

class BytesFile final : public ReadableFile {
public:
    explicit BytesFile(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    FileResult ReadAt(std::uint64_t offset, std::size_t count, std::string& bytes) override {
        bytes.clear();
        if (offset > bytes_.size() || count > bytes_.size() - offset) return FileResult{kErrorHandleEof};
        bytes.assign(bytes_.substr(static_cast<std::size_t>(offset), count));
        return {};
    }

private:
    std::string_view bytes_;
};

void CheckName(const ZipEntry& entry) {
    const EntryName name = JudgeZipEntryName(entry.rawName, entry.NameIsUtf8());
    if (!name.refusal.empty() || name.isFolder) return;
    FUZZ_CHECK(fuzzing::IsValidUtf8(name.path));
    FUZZ_CHECK(!name.fileName.empty());
    FUZZ_CHECK(name.fileName.find_first_of("/\\:<>\"|?*") == std::string::npos);
    FUZZ_CHECK(name.fileName != "." && name.fileName != "..");
    FUZZ_CHECK(std::none_of(name.fileName.begin(), name.fileName.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BytesFile file(fuzzing::AsText(data, size));
    const ZipDirectoryResult read = ReadZipDirectory(file);
    if (!read.Read()) return 0;
    const ZipDirectory& directory = read.directory;
    FUZZ_CHECK(directory.directoryOffset <= size);
    for (const ZipEntry& entry : directory.entries) {
        FUZZ_CHECK(entry.localHeaderOffset + 30 <= directory.directoryOffset);
        CheckName(entry);
        const ZipDataPlace place = LocateZipEntryData(file, directory, entry);
        if (!place.problem.empty()) continue;
        FUZZ_CHECK(place.offset + entry.compressedSize <= directory.directoryOffset);
        std::string bytes;
        const InflateResult inflated = InflateZipEntry(file, entry, place.offset, kLimit, bytes);
        if (inflated.outcome == InflateOutcome::Done) FUZZ_CHECK(bytes.size() == entry.size && bytes.size() <= kLimit);
        std::string start;
        if (InflateZipEntryStart(file, entry, place.offset, 4096, start)) FUZZ_CHECK(start.size() <= 4096);
    }
    return 0;
}
