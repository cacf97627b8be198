#include "browse/DetailsCache.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace reelwright {

namespace {

constexpr std::string_view kMagic = "RWDEMOCACHE";

// Little-endian numbers and length-prefixed texts.
class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void Number(std::uint64_t value, int bytes) {
        for (int index = 0; index < bytes; ++index) out_ += static_cast<char>((value >> (8 * index)) & 0xFF);
    }
    void Text(std::string_view text) {
        Number(text.size(), 4);
        out_ += text;
    }

private:
    std::string& out_;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool Number(std::uint64_t& value, int bytes) {
        if (bytes_.size() - at_ < static_cast<std::size_t>(bytes)) return false;
        value = 0;
        for (int index = 0; index < bytes; ++index)
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + static_cast<std::size_t>(index)])}
                     << (8 * index);
        at_ += static_cast<std::size_t>(bytes);
        return true;
    }
    bool Text(std::string& text) {
        std::uint64_t length = 0;
        if (!Number(length, 4) || bytes_.size() - at_ < length) return false;
        text.assign(bytes_.substr(at_, length));
        at_ += length;
        return true;
    }
    // An enumeration's value, refused above `last`.
    template <typename Enum>
    bool Choice(Enum& value, Enum last) {
        std::uint64_t raw = 0;
        if (!Number(raw, 1) || raw > static_cast<std::uint64_t>(last)) return false;
        value = static_cast<Enum>(raw);
        return true;
    }
    bool Flag(bool& value) {
        std::uint64_t raw = 0;
        if (!Number(raw, 1) || raw > 1) return false;
        value = raw == 1;
        return true;
    }
    // The next `count` bytes, taken whole.
    bool Bytes(std::size_t count, std::string_view& taken) {
        if (bytes_.size() - at_ < count) return false;
        taken = bytes_.substr(at_, count);
        at_ += count;
        return true;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }
    std::size_t Left() const { return bytes_.size() - at_; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

void WriteEntry(Writer& out, const std::string& path, const FileStamp& stamp, const DemoHeadAndLength& details) {
    out.Text(path);
    out.Number(stamp.size, 8);
    out.Number(stamp.written, 8);
    const DemoHead& head = details.head;
    out.Number(static_cast<std::uint64_t>(head.refusal), 1);
    out.Number(static_cast<std::uint32_t>(head.protocol), 4);
    out.Text(head.map);
    out.Text(head.server);
    out.Text(head.gameType);
    out.Text(head.mode);
    out.Text(head.mod);
    out.Number(head.modFolder ? 1 : 0, 1);
    if (head.modFolder) out.Text(*head.modFolder);
    out.Number(head.players ? 1 : 0, 1);
    if (head.players) {
        out.Number(head.players->size(), 4);
        for (const DemoPlayer& player : *head.players) {
            out.Text(player.name);
            out.Number(static_cast<std::uint64_t>(player.team), 1);
        }
    }
    const DemoLength& length = details.length;
    out.Number(static_cast<std::uint64_t>(length.refusal), 1);
    out.Number(static_cast<std::uint64_t>(length.milliseconds), 8);
    out.Number(length.cutShort ? 1 : 0, 1);
}

bool ReadEntry(Reader& in, std::string& path, FileStamp& stamp, DemoHeadAndLength& details) {
    std::uint64_t protocol = 0, milliseconds = 0, count = 0;
    bool hasModFolder = false, hasPlayers = false;
    DemoHead& head = details.head;
    DemoLength& length = details.length;
    if (!in.Text(path) || !in.Number(stamp.size, 8) || !in.Number(stamp.written, 8) ||
        !in.Choice(head.refusal, DemoReadRefusal::Stopped) || !in.Number(protocol, 4) || !in.Text(head.map) ||
        !in.Text(head.server) || !in.Text(head.gameType) || !in.Text(head.mode) || !in.Text(head.mod) ||
        !in.Flag(hasModFolder))
        return false;
    head.protocol = static_cast<int>(static_cast<std::int32_t>(protocol));
    if (hasModFolder && !in.Text(head.modFolder.emplace())) return false;
    if (!in.Flag(hasPlayers)) return false;
    if (hasPlayers) {
        // Each player takes at least five bytes: a count beyond what is left is broken.
        if (!in.Number(count, 4) || count > in.Left() / 5) return false;
        auto& players = head.players.emplace();
        players.resize(count);
        for (DemoPlayer& player : players)
            if (!in.Text(player.name) || !in.Choice(player.team, DemoTeam::Unknown)) return false;
    }
    if (!in.Choice(length.refusal, DemoReadRefusal::Stopped) || !in.Number(milliseconds, 8) ||
        !in.Flag(length.cutShort))
        return false;
    length.milliseconds = static_cast<std::int64_t>(milliseconds);
    return !path.empty();
}

}  // namespace

std::string DetailsCache::Serialise() const {
    // Oldest first, so that the next load gives them the same order of use.
    std::vector<const std::pair<const std::string, Entry>*> order;
    order.reserve(entries_.size());
    for (const auto& entry : entries_) order.push_back(&entry);
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->second.used < b->second.used; });

    std::vector<std::string> records(order.size());
    std::size_t total = kMagic.size() + 4 + 4;
    std::size_t first = order.size();
    // The newest records that fit under the limit.
    while (first > 0) {
        std::string& record = records[first - 1];
        Writer out(record);
        WriteEntry(out, order[first - 1]->first, order[first - 1]->second.stamp, order[first - 1]->second.details);
        if (total + 4 + record.size() > limit_) break;
        total += 4 + record.size();
        --first;
    }
    std::string bytes;
    bytes.reserve(total);
    bytes += kMagic;
    Writer out(bytes);
    out.Number(kVersion, 4);
    out.Number(order.size() - first, 4);
    for (std::size_t index = first; index < order.size(); ++index) {
        out.Number(records[index].size(), 4);
        bytes += records[index];
    }
    return bytes;
}

bool DetailsCache::Deserialise(std::string_view bytes) {
    entries_.clear();
    clock_ = 0;
    if (bytes.substr(0, kMagic.size()) != kMagic) return false;
    Reader in(bytes.substr(kMagic.size()));
    std::uint64_t version = 0, count = 0;
    if (!in.Number(version, 4) || version != kVersion || !in.Number(count, 4)) return false;
    std::unordered_map<std::string, Entry> read;
    for (std::uint64_t index = 0; index < count; ++index) {
        std::uint64_t size = 0;
        std::string_view record;
        if (!in.Number(size, 4) || !in.Bytes(size, record)) return false;
        // The record is read from its own bytes: it must end exactly there.
        Reader inside(record);
        std::string path;
        Entry entry;
        if (!ReadEntry(inside, path, entry.stamp, entry.details) || !inside.AtEnd()) return false;
        entry.used = ++clock_;
        read.insert_or_assign(std::move(path), std::move(entry));
    }
    if (!in.AtEnd()) return false;
    entries_ = std::move(read);
    return true;
}

DetailsCache::LoadOutcome DetailsCache::Load(FileSystem& files, const std::string& path) {
    std::string bytes;
    if (!files.ReadWholeFile(path, bytes)) {
        entries_.clear();
        return LoadOutcome::Missing;
    }
    if (Deserialise(bytes)) return LoadOutcome::Loaded;
    const std::string aside = path + ".old";
    files.RemoveFile(aside);
    if (!files.RenameFile(path, aside)) files.RemoveFile(path);
    return LoadOutcome::SetAside;
}

FileResult DetailsCache::Save(FileSystem& files, const std::string& path) const {
    return files.ReplaceFile(path, Serialise());
}

const DemoHeadAndLength* DetailsCache::Find(const std::string& path, const FileStamp& stamp) {
    const auto found = entries_.find(path);
    if (found == entries_.end() || found->second.stamp != stamp) return nullptr;
    found->second.used = ++clock_;
    return &found->second.details;
}

void DetailsCache::Store(const std::string& path, const FileStamp& stamp, const DemoHeadAndLength& details) {
    entries_.insert_or_assign(path, Entry{stamp, details, ++clock_});
}

}  // namespace reelwright
