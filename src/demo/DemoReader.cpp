#include "demo/DemoReader.h"

#include <charconv>
#include <map>
#include <memory>
#include <utility>

#include "demo/DemoFile.h"
#include "demo/DemoProtocol.h"
#include "demo/DemoRecords.h"
#include "demo/DemoText.h"
#include "demo/MessageReader.h"
#include "demo/ModFolder.h"

namespace reelwright {
namespace {

// The whole read takes this much at a time, and looks at its stop between.
constexpr std::size_t kBlockBytes = 64 * 1024;
// The head's one read: the largest first record with its header.
constexpr std::size_t kHeadBlockBytes = 8 + kLargestMessageBytes;

// Before the first message has shown which protocol it is, the game state is
// read by what the known protocols share: its config strings end with the
// first baseline or with an end operation of any of them.
bool EndsMessageInSomeProtocol(std::uint8_t op) {
    for (const DemoProtocol& protocol : KnownDemoProtocols())
        if (protocol.opEndOfMessage == op) return true;
    return false;
}

// An operation that some protocol has (and a first message does not begin with).
bool KnownInSomeProtocol(std::uint8_t op) {
    for (const DemoProtocol& protocol : KnownDemoProtocols())
        if (op >= kOpNop && op <= protocol.highestOperation) return true;
    return false;
}

// Config strings the head needs: the server and system infos and every slot
// that is a player's in some protocol.
bool HeadNeedsConfigString(int index) {
    if (index == 0 || index == kSystemInfoConfigString) return true;
    for (const DemoProtocol& protocol : KnownDemoProtocols())
        if (index >= protocol.firstPlayerConfigString && index < protocol.firstPlayerConfigString + kPlayerSlots)
            return true;
    return false;
}

DemoReadRefusal RefusalOf(RecordStatus status, bool firstRecord) {
    switch (status) {
    case RecordStatus::Message: return DemoReadRefusal::None;
    case RecordStatus::End: return firstRecord ? DemoReadRefusal::NotADemo : DemoReadRefusal::None;
    case RecordStatus::CutShort: return firstRecord ? DemoReadRefusal::Truncated : DemoReadRefusal::None;
    case RecordStatus::TooLong: return DemoReadRefusal::MessageTooLong;
    case RecordStatus::BadLength: return DemoReadRefusal::BrokenMessage;
    case RecordStatus::ReadFailed: return DemoReadRefusal::CannotOpen;
    case RecordStatus::Stopped: return DemoReadRefusal::Stopped;
    }
    return DemoReadRefusal::BrokenMessage;
}

struct FirstMessage {
    DemoHead head;
    const DemoProtocol* protocol = nullptr;
};

DemoHead Refused(DemoReadRefusal refusal) {
    DemoHead head;
    head.refusal = refusal;
    return head;
}

DemoTeam TeamOf(std::string_view value) {
    if (value.size() != 1) return DemoTeam::Unknown;
    switch (value[0]) {
    case '0': return DemoTeam::Free;
    case '1': return DemoTeam::Red;
    case '2': return DemoTeam::Blue;
    case '3': return DemoTeam::Spectator;
    default: return DemoTeam::Unknown;
    }
}

// "n\<name>\t\<team>\...": a player's config string.
std::optional<std::vector<DemoPlayer>> Players(const std::map<int, std::string>& strings, int first) {
    std::vector<DemoPlayer> players;
    for (auto it = strings.lower_bound(first); it != strings.end() && it->first < first + kPlayerSlots; ++it) {
        const std::string& player = it->second;
        if (player.empty()) continue;  // a free slot
        if (player.rfind("n\\", 0) != 0) return std::nullopt;
        players.push_back({DemoDisplayText(InfoValue(player, "n").value_or("")),
                           TeamOf(InfoValue(player, "t").value_or(""))});
    }
    return players;
}

// The first record: optional server commands, then the game state, whose
// config strings come before its baselines.
FirstMessage ReadFirstMessage(DemoRecords& records, std::string_view fileName) {
    FirstMessage first;
    std::string_view bytes;
    const RecordStatus status = records.Next(bytes);
    if (status != RecordStatus::Message) {
        first.head = Refused(RefusalOf(status, true));
        return first;
    }
    MessageReader message(bytes);
    const auto broken = [&] {
        first.head = Refused(DemoReadRefusal::BrokenMessage);
        return first;
    };
    if (!message.Long()) return broken();  // the acknowledged command
    for (;;) {
        const auto op = message.Byte();
        if (!op) return broken();
        if (*op == kOpGameState) break;
        if (*op == kOpNop) continue;
        if (*op == kOpServerCommand) {
            if (!message.Long() || !message.String(false)) return broken();
            continue;
        }
        // A snapshot or the end before any game state: a recording that did
        // not begin where demos begin.
        first.head = Refused(KnownInSomeProtocol(*op) ? DemoReadRefusal::NotADemo : DemoReadRefusal::UnknownOperation);
        return first;
    }
    if (!message.Long()) return broken();  // the command sequence
    std::map<int, std::string> strings;
    std::uint8_t endOp = 0;
    for (;;) {
        const auto op = message.Byte();
        if (!op) return broken();
        if (*op == kOpConfigString) {
            const auto index = message.Short();
            if (!index) return broken();
            const bool keep = HeadNeedsConfigString(*index);
            auto text = message.String(keep);
            if (!text) return broken();
            if (keep) strings[*index] = std::move(*text);
            continue;
        }
        if (*op == kOpBaseline || EndsMessageInSomeProtocol(*op)) {
            endOp = *op;
            break;
        }
        first.head = Refused(DemoReadRefusal::UnknownOperation);
        return first;
    }

    const std::string_view serverInfo = strings[0];
    if (const auto number = InfoValue(serverInfo, "protocol")) {
        int value = 0;
        const auto [end, error] = std::from_chars(number->data(), number->data() + number->size(), value);
        if (error == std::errc{} && end == number->data() + number->size()) first.protocol = DemoProtocolByNumber(value);
    } else {
        first.protocol = DemoProtocolByExtension(fileName);
    }
    if (!first.protocol) {
        first.head = Refused(DemoReadRefusal::UnsupportedProtocol);
        return first;
    }
    // Read against the largest size of any protocol; now that the protocol is
    // known, against its own, here and in every later record.
    if (bytes.size() > static_cast<std::size_t>(first.protocol->maxMessageBytes)) {
        first.head = Refused(DemoReadRefusal::MessageTooLong);
        return first;
    }
    records.LimitMessages(first.protocol->maxMessageBytes);
    if (endOp != kOpBaseline && endOp != first.protocol->opEndOfMessage) {
        first.head = Refused(DemoReadRefusal::UnknownOperation);
        return first;
    }

    DemoHead& head = first.head;
    head.protocol = first.protocol->number;
    head.map = DemoDisplayText(InfoValue(serverInfo, "mapname").value_or(""));
    head.server = DemoDisplayText(InfoValue(serverInfo, "sv_hostname").value_or(""));
    const std::string_view gameType = InfoValue(serverInfo, "g_gametype").value_or("");
    head.gameType = GameTypeName(*first.protocol, gameType);
    head.mode = GameModeName(*first.protocol, gameType).value_or(head.gameType);
    const std::string_view mod = InfoValue(strings[kSystemInfoConfigString], "fs_game").value_or("");
    head.mod = DemoDisplayText(mod);
    if (IsSafeModFolderName(mod)) head.modFolder = std::string(mod);
    head.players = Players(strings, first.protocol->firstPlayerConfigString);
    return first;
}

// Game states and snapshot times of the records after the first.
class LengthCounter {
public:
    explicit LengthCounter(const DemoProtocol& protocol) : protocol_(protocol) {}

    // False, with the refusal, at the first message that cannot be read.
    bool Take(std::string_view bytes, DemoReadRefusal& refusal) {
        MessageReader message(bytes);
        if (!message.Long()) return Broken(refusal);
        for (;;) {
            const auto op = message.Byte();
            if (!op) return Broken(refusal);
            if (*op == kOpNop || *op == protocol_.opMapChange) continue;
            if (*op == kOpServerCommand) {
                if (!message.Long() || !message.String(false)) return Broken(refusal);
                continue;
            }
            if (*op == kOpGameState) {
                // A new map: what follows is the next game state's time.
                CloseGameState();
                return true;
            }
            if (*op == kOpSnapshot) {
                const auto time = message.Long();
                if (!time) return Broken(refusal);
                if (!inGameState_) first_ = *time;
                inGameState_ = true;
                last_ = *time;
                return true;
            }
            // The rest (the end, downloads, voice) come after the snapshot;
            // the length needs nothing from them.
            if (*op > kOpServerCommand && *op <= protocol_.highestOperation) return true;
            refusal = DemoReadRefusal::UnknownOperation;
            return false;
        }
    }

    std::int64_t Milliseconds() {
        CloseGameState();
        return total_;
    }

private:
    static bool Broken(DemoReadRefusal& refusal) {
        refusal = DemoReadRefusal::BrokenMessage;
        return false;
    }

    void CloseGameState() {
        // A server time that went back gives nothing rather than less.
        if (inGameState_ && last_ > first_) total_ += last_ - first_;
        inGameState_ = false;
    }

    const DemoProtocol& protocol_;
    bool inGameState_ = false;  // a snapshot of the current game state was seen
    std::int64_t first_ = 0;
    std::int64_t last_ = 0;
    std::int64_t total_ = 0;
};

}  // namespace

std::string_view DemoFileName(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

DemoHead ReadDemoHead(DemoInput& input, std::string_view fileName) {
    DemoRecords records(input, kHeadBlockBytes);
    return ReadFirstMessage(records, fileName).head;
}

DemoHeadAndLength ReadDemo(DemoInput& input, std::string_view fileName, std::stop_token stop) {
    DemoHeadAndLength read;
    DemoRecords records(input, kBlockBytes, std::move(stop));
    FirstMessage first = ReadFirstMessage(records, fileName);
    read.head = std::move(first.head);
    DemoLength& length = read.length;
    if (!read.head.Readable()) {
        length.refusal = read.head.refusal;
        return read;
    }
    LengthCounter counter(*first.protocol);
    for (;;) {
        std::string_view bytes;
        const RecordStatus status = records.Next(bytes);
        if (status != RecordStatus::Message) {
            length.refusal = RefusalOf(status, false);
            length.cutShort = status == RecordStatus::CutShort;
            break;
        }
        if (!counter.Take(bytes, length.refusal)) break;
    }
    if (length.Readable()) length.milliseconds = counter.Milliseconds();
    return read;
}

DemoHead ReadDemoHead(std::string_view bytes, std::string_view fileName) {
    DemoBytesInput input(bytes);
    return ReadDemoHead(input, fileName);
}

DemoHeadAndLength ReadDemo(std::string_view bytes, std::string_view fileName) {
    DemoBytesInput input(bytes);
    return ReadDemo(input, fileName);
}

DemoHead ReadDemoFileHead(std::string_view path) {
    const std::unique_ptr<DemoFileInput> file = OpenDemoFile(path);
    if (!file) return Refused(DemoReadRefusal::CannotOpen);
    return ReadDemoHead(*file, DemoFileName(path));
}

DemoHeadAndLength ReadDemoFile(std::string_view path, std::stop_token stop) {
    const std::unique_ptr<DemoFileInput> file = OpenDemoFile(path);
    if (!file) {
        DemoHeadAndLength read;
        read.head.refusal = read.length.refusal = DemoReadRefusal::CannotOpen;
        return read;
    }
    return ReadDemo(*file, DemoFileName(path), std::move(stop));
}

}  // namespace reelwright
