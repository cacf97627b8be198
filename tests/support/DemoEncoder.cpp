#include "support/DemoEncoder.h"

#include "demo/MessageHuffman.h"

namespace reelwright::test {

void MessageWriter::Bits(std::string_view bits) {
    for (const char bit : bits) {
        if (bit_ % 8 == 0) bytes_ += '\0';
        if (bit == '1') bytes_.back() = static_cast<char>(bytes_.back() | (1 << (bit_ % 8)));
        ++bit_;
    }
}

void MessageWriter::Byte(std::uint8_t value) { Bits(MessageHuffmanCode(value)); }

void MessageWriter::Short(std::uint16_t value) {
    Byte(static_cast<std::uint8_t>(value & 0xFF));
    Byte(static_cast<std::uint8_t>(value >> 8));
}

void MessageWriter::Long(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void MessageWriter::String(std::string_view text) {
    for (const char c : text) Byte(static_cast<std::uint8_t>(c));
    Byte(0);
}

std::string GameStateMessage(const GameStateParts& parts) {
    MessageWriter message;
    message.Long(7);  // the acknowledged command
    std::int32_t command = 1;
    for (const std::string& text : parts.commandsBefore) {
        message.Byte(5);
        message.Long(command++);
        message.String(text);
    }
    message.Byte(2);
    message.Long(command);
    message.Byte(3);
    message.Short(0);
    message.String(parts.serverInfo);
    if (parts.otherStrings) {
        message.Byte(3);
        message.Short(1);  // the system info
        message.String(parts.systemInfo);
    }
    for (std::size_t slot = 0; slot < parts.players.size(); ++slot) {
        if (parts.players[slot].empty()) continue;
        message.Byte(3);
        message.Short(static_cast<std::uint16_t>(parts.firstPlayer + slot));
        message.String(parts.players[slot]);
    }
    if (parts.otherStrings) {
        message.Byte(3);
        message.Short(700);  // a sound or model name
        message.String("sound/world/wind.wav");
    }
    for (std::size_t i = 0; i < parts.moreStrings.size(); ++i) {
        message.Byte(3);
        message.Short(static_cast<std::uint16_t>(800 + i));
        message.String(parts.moreStrings[i]);
    }
    message.Byte(parts.endOp);
    message.Long(0);           // the client number
    message.Long(0x1234567);   // the checksum feed
    if (parts.endOp == kEnd2004) {
        message.Long(0);  // the two fields the 2004 game state adds
        message.Long(0);
    }
    message.Byte(parts.endOp);
    return message.Bytes();
}

std::string SnapshotMessage(std::int32_t serverTime, const std::vector<std::string>& commands, std::uint8_t endOp) {
    MessageWriter message;
    message.Long(7);
    std::int32_t sequence = 2;
    for (const std::string& text : commands) {
        message.Byte(5);
        message.Long(sequence++);
        message.String(text);
    }
    message.Byte(7);
    message.Long(serverTime);
    for (int i = 0; i < 12; ++i) message.Byte(static_cast<std::uint8_t>(i * 37));
    message.Byte(endOp);
    return message.Bytes();
}

std::string Record(std::int32_t sequence, std::string_view message) {
    std::string record;
    for (const std::int32_t value : {sequence, static_cast<std::int32_t>(message.size())})
        for (int i = 0; i < 4; ++i) record += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    record += message;
    return record;
}

std::string EndMarker() { return std::string("\x00\x00\x00\x00\xff\xff\xff\xff", 8); }

std::string Demo(const GameStateParts& parts, const std::vector<std::int32_t>& snapshotTimes) {
    std::int32_t sequence = 100;
    std::string demo = Record(sequence++, GameStateMessage(parts));
    for (const std::int32_t time : snapshotTimes) demo += Record(sequence++, SnapshotMessage(time, {}, parts.endOp));
    return demo + EndMarker();
}

std::string DemoOfMod(const char* mod, std::int32_t time) {
    GameStateParts parts;
    parts.serverInfo = "\\mapname\\mp_shop\\g_gametype\\dm";
    if (mod) parts.systemInfo = std::string("\\sv_serverid\\1\\fs_game\\") + mod;
    return Demo(parts, {time});
}

}  // namespace reelwright::test
