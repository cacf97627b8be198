#include "demo/DemoReader.h"

#include <charconv>
#include <map>
#include <memory>

#include "demo/DemoFile.h"
#include "demo/DemoProtocol.h"
#include "demo/DemoRecords.h"
#include "demo/DemoText.h"
#include "demo/MessageReader.h"

namespace reelwright {
namespace {

// The length walk reads this much at a time.
constexpr std::size_t kLengthBlockBytes = 64 * 1024;
// The head's one read: the largest first record with its header.
constexpr std::size_t kHeadBlockBytes = 8 + kMaxMessageBytes;

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

// Config strings the head needs: the server info and every slot that is a
// player's in some protocol.
bool HeadNeedsConfigString(int index) {
    if (index == 0) return true;
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

std::optional<std::vector<std::string>> PlayerNames(const std::map<int, std::string>& strings, int first) {
    std::vector<std::string> names;
    for (auto it = strings.lower_bound(first); it != strings.end() && it->first < first + kPlayerSlots; ++it) {
        const std::string& player = it->second;
        if (player.empty()) continue;  // a free slot
        if (player.rfind("n\\", 0) != 0) return std::nullopt;
        names.push_back(DemoDisplayText(InfoValue(player, "n").value_or("")));
    }
    return names;
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
    if (endOp != kOpBaseline && endOp != first.protocol->opEndOfMessage) {
        first.head = Refused(DemoReadRefusal::UnknownOperation);
        return first;
    }

    DemoHead& head = first.head;
    head.protocol = first.protocol->number;
    head.map = DemoDisplayText(InfoValue(serverInfo, "mapname").value_or(""));
    head.server = DemoDisplayText(InfoValue(serverInfo, "sv_hostname").value_or(""));
    head.gameType = GameTypeName(*first.protocol, InfoValue(serverInfo, "g_gametype").value_or(""));
    head.players = PlayerNames(strings, first.protocol->firstPlayerConfigString);
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

// The name after the last separator: the extension is the name's.
std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

DemoHead ReadDemoHead(DemoInput& input, std::string_view fileName) {
    DemoRecords records(input, kHeadBlockBytes);
    return ReadFirstMessage(records, fileName).head;
}

DemoLength ReadDemoLength(DemoInput& input, std::string_view fileName) {
    DemoLength length;
    DemoRecords records(input, kLengthBlockBytes);
    const FirstMessage first = ReadFirstMessage(records, fileName);
    if (!first.head.Readable()) {
        length.refusal = first.head.refusal;
        return length;
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
    return length;
}

DemoHead ReadDemoHead(std::string_view bytes, std::string_view fileName) {
    DemoBytesInput input(bytes);
    return ReadDemoHead(input, fileName);
}

DemoLength ReadDemoLength(std::string_view bytes, std::string_view fileName) {
    DemoBytesInput input(bytes);
    return ReadDemoLength(input, fileName);
}

DemoHead ReadDemoFileHead(std::string_view path) {
    const std::unique_ptr<DemoFileInput> file = OpenDemoFile(path);
    if (!file) return Refused(DemoReadRefusal::CannotOpen);
    return ReadDemoHead(*file, FileNameOf(path));
}

DemoLength ReadDemoFileLength(std::string_view path) {
    const std::unique_ptr<DemoFileInput> file = OpenDemoFile(path);
    if (!file) {
        DemoLength length;
        length.refusal = DemoReadRefusal::CannotOpen;
        return length;
    }
    return ReadDemoLength(*file, FileNameOf(path));
}

}  // namespace reelwright
