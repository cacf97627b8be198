#include "queue/DemoDetailsText.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

namespace reelwright {

namespace {

std::string TwoDigits(std::int64_t value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

// The names, at most kTipPlayerNames of them, and the count of the others.
std::string NameList(const std::vector<const DemoPlayer*>& players) {
    std::string text;
    const std::size_t shown = std::min(players.size(), kTipPlayerNames);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) text += ", ";
        text += players[i]->name;
    }
    if (players.size() > shown) text += " and " + std::to_string(players.size() - shown) + " more";
    return text;
}

// "Players (n): names" when no one has a team, else "Players (n):" and one
// line per team, in the order red, blue, no team, not known, spectators.
std::string PlayersLines(const DemoHead& head) {
    if (!head.players) return "Players: not known";
    const auto& players = *head.players;
    if (players.empty()) return "Players: none";
    const std::string count = "Players (" + std::to_string(players.size()) + "):";
    const auto on = [&](DemoTeam team) {
        std::vector<const DemoPlayer*> those;
        for (const DemoPlayer& player : players)
            if (player.team == team) those.push_back(&player);
        return those;
    };
    if (std::none_of(players.begin(), players.end(), [](const DemoPlayer& player) {
            return player.team == DemoTeam::Red || player.team == DemoTeam::Blue ||
                   player.team == DemoTeam::Spectator;
        })) {
        std::vector<const DemoPlayer*> all;
        for (const DemoPlayer& player : players) all.push_back(&player);
        return count + " " + NameList(all);
    }
    std::string text = count;
    const std::pair<DemoTeam, const char*> lines[] = {{DemoTeam::Red, "Red team: "},
                                                      {DemoTeam::Blue, "Blue team: "},
                                                      {DemoTeam::Free, "No team: "},
                                                      {DemoTeam::Unknown, "Team not known: "},
                                                      {DemoTeam::Spectator, "Spectators: "}};
    for (const auto& [team, label] : lines)
        if (const auto those = on(team); !those.empty()) text += std::string("\r\n") + label + NameList(those);
    return text;
}

}  // namespace

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
        case DemoReadRefusal::Stopped: return "its reading was stopped";
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
        line("Mode: " + head.mode);
        if (!head.mod.empty()) line("Mod: " + head.mod);
        line(PlayersLines(head));
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
