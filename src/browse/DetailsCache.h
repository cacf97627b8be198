// What the demo reader found in each demo file, kept from one opening of the
// demo browser to the next, so that thousands of demos need not be read
// again. An entry is found by the file's path, size and time written: a file
// that changed since is read again.
//
// The file starts with "RWDEMOCACHE" and a version number; then one record
// per demo, oldest first. It is written through a new file that is renamed
// over the old one (never left half written). A file that cannot be read as
// this version (broken, cut short, another version) is set aside under the
// name with ".old" added, and the cache starts empty: nothing is fatal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/FileSystem.h"
#include "demo/DemoReader.h"

namespace reelwright {

class DetailsCache {
public:
    static constexpr std::uint32_t kVersion = 1;
    // The file never grows past this; the entries used longest ago go first.
    static constexpr std::size_t kDefaultLimit = std::size_t{64} << 20;

    enum class LoadOutcome { Loaded, Missing, SetAside };

    explicit DetailsCache(std::size_t limitBytes = kDefaultLimit) : limit_(limitBytes) {}

    // Reads the file at `path`; a file that cannot be read as this version is
    // renamed to `path` + ".old" (replacing an earlier one) and the cache
    // starts empty.
    LoadOutcome Load(FileSystem& files, const std::string& path);
    // Writes every entry, the newest kept when they would pass the limit.
    FileResult Save(FileSystem& files, const std::string& path) const;

    // The details of the file at `path` when they were kept for this very
    // stamp; nullptr otherwise. A found entry counts as just used.
    const DemoHeadAndLength* Find(const std::string& path, const FileStamp& stamp);
    // Keeps (or replaces) the details of the file at `path` as it is at `stamp`.
    void Store(const std::string& path, const FileStamp& stamp, const DemoHeadAndLength& details);
    void Forget(const std::string& path) { entries_.erase(path); }

    std::size_t Count() const { return entries_.size(); }

    // The bytes the file would hold (for the tests of its format and limit).
    std::string Serialise() const;
    // False, and nothing kept, when `bytes` is not a cache of this version.
    bool Deserialise(std::string_view bytes);

private:
    struct Entry {
        FileStamp stamp;
        DemoHeadAndLength details;
        std::uint64_t used = 0;  // larger: used more recently
    };
    std::size_t limit_;
    std::uint64_t clock_ = 0;
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace reelwright
