#include "queue/DemoDetailsText.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace reelwright {

namespace {

std::string TwoDigits(std::int64_t value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

std::string SizeText(std::uintmax_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    const char* units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1023.95 && unit + 1 < std::size(units)) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string TimeText(const LocalTime& time) {
    return std::to_string(time.year) + "-" + TwoDigits(time.month) + "-" + TwoDigits(time.day) + " " +
           TwoDigits(time.hour) + ":" + TwoDigits(time.minute);
}

std::string PlayersLine(const DemoHead& head) {
    if (!head.players) return "Players: not known";
    const auto& names = *head.players;
    if (names.empty()) return "Players: none";
    std::string text = "Players (" + std::to_string(names.size()) + "): ";
    const std::size_t shown = std::min(names.size(), kTipPlayerNames);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) text += ", ";
        text += names[i];
    }
    if (names.size() > shown) text += " and " + std::to_string(names.size() - shown) + " more";
    return text;
}

}  // namespace

std::string LengthText(std::int64_t milliseconds) {
    const std::int64_t seconds = (std::max<std::int64_t>(milliseconds, 0) + 500) / 1000;
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const std::string tail = TwoDigits(seconds % 60);
    if (hours == 0) return std::to_string(minutes) + ":" + tail;
    return std::to_string(hours) + ":" + TwoDigits(minutes) + ":" + tail;
}

std::string MapCellText(const DemoDetails* details) {
    if (!details) return {};
    return details->Readable() ? details->head.map : "?";
}

std::string LengthCellText(const DemoDetails* details) {
    if (!details || !details->Readable()) return {};
    return LengthText(details->length.milliseconds);
}

std::string RefusalText(DemoReadRefusal refusal) {
    switch (refusal) {
        case DemoReadRefusal::None: return "it can be read";
        case DemoReadRefusal::CannotOpen: return "the file cannot be opened or read";
        case DemoReadRefusal::NotADemo: return "it is empty or does not begin with a game state";
        case DemoReadRefusal::Truncated: return "it ends inside its first record";
        case DemoReadRefusal::MessageTooLong: return "it holds a record longer than the game's largest message";
        case DemoReadRefusal::UnknownOperation: return "it holds an operation that its protocol does not have";
        case DemoReadRefusal::BrokenMessage: return "it holds a message that does not decode";
        case DemoReadRefusal::UnsupportedProtocol: return "it was recorded with a protocol this program does not know";
    }
    return "it cannot be read";
}

std::string DemoInfoTip(const DemoDetails* details) {
    if (!details) return "The details of this demo are being read.";
    std::string tip;
    auto line = [&](const std::string& text) {
        if (!tip.empty()) tip += "\r\n";
        tip += text;
    };
    if (details->Readable()) {
        const DemoHead& head = details->head;
        line("Map: " + head.map);
        line("Server: " + head.server);
        line("Game type: " + head.gameType);
        line(PlayersLine(head));
        std::string length = "Length: " + LengthText(details->length.milliseconds);
        if (details->length.cutShort) length += " (the recording was cut off)";
        line(length);
    } else {
        line("This file cannot be read as a demo: " + RefusalText(details->Refusal()) + ".");
    }
    line("Size: " + (details->size ? SizeText(*details->size) : std::string("not known")));
    line("Written: " + (details->written ? TimeText(*details->written) : std::string("not known")));
    return tip;
}

}  // namespace reelwright
