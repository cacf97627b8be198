#include "session/SessionJournal.h"

#include <algorithm>
#include <charconv>

#include "core/Text.h"
#include "session/PlayerConfig.h"

namespace reelwright {

namespace {

constexpr std::string_view kFirstLine = "Reelwright demo session journal, format ";

std::string Escape(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        if (c == '%') text += "%25";
        else if (c == '\r') text += "%0D";
        else if (c == '\n') text += "%0A";
        else text += c;
    }
    return text;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            value += text[i];
            continue;
        }
        const std::string_view code = text.substr(i + 1, 2);
        if (code == "25") value += '%';
        else if (code == "0D") value += '\r';
        else if (code == "0A") value += '\n';
        else return std::nullopt;
        i += 2;
    }
    return value;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return number;
}

void Field(std::string& text, std::string_view name, std::string_view value) {
    text += name;
    text += ' ';
    text += Escape(value);
    text += '\n';
}

bool SameName(std::string_view a, std::string_view b) { return EqualIgnoringAsciiCase(a, b); }

bool Listed(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& listed) { return SameName(listed, name); });
}

}  // namespace

std::string FormatJournal(const SessionJournal& journal) {
    std::string text(kFirstLine);
    text += std::to_string(kJournalFormat);
    text += '\n';
    for (const SessionEntry& entry : journal.entries) {
        Field(text, "entry", entry.folder);
        for (const auto& key : entry.names.keys) Field(text, "key", key);
        for (const auto& command : entry.names.commands) Field(text, "command", command);
        for (const auto& variable : entry.names.variables) Field(text, "variable", variable);
        for (const auto& process : entry.processes)
            Field(text, "process", std::to_string(process.id) + " " + std::to_string(process.creationTime));
        if (entry.reported) Field(text, "reported", "1");
        if (entry.unreachableSince != 0) Field(text, "unreachable", std::to_string(entry.unreachableSince));
        for (const ConfigRecord& config : entry.configs) {
            Field(text, "config", config.path);
            Field(text, "existed", config.existed ? "1" : "0");
            Field(text, "attributes", std::to_string(config.attributes));
            for (const auto& line : config.playerLines) Field(text, "line", line);
        }
        text += "end\n";
    }
    return text;
}

std::optional<SessionJournal> ParseJournal(std::string_view text) {
    SessionJournal journal;
    if (text.empty()) return journal;

    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) return std::nullopt;  // every line ends in LF
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.empty() || (lines[0] != std::string(kFirstLine) + std::to_string(kJournalFormat) &&
                          lines[0] != std::string(kFirstLine) + "1"))
        return std::nullopt;

    SessionEntry* entry = nullptr;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line == "end") {
            if (!entry) return std::nullopt;
            entry = nullptr;
            continue;
        }
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) return std::nullopt;
        const std::string_view name = line.substr(0, space);
        const auto value = Unescape(line.substr(space + 1));
        if (!value) return std::nullopt;

        if (name == "entry") {
            if (entry) return std::nullopt;
            entry = &journal.entries.emplace_back();
            entry->folder = *value;
            continue;
        }
        if (!entry) return std::nullopt;
        ConfigRecord* config = entry->configs.empty() ? nullptr : &entry->configs.back();
        if (name == "key") {
            entry->names.keys.push_back(*value);
        } else if (name == "command") {
            entry->names.commands.push_back(*value);
        } else if (name == "variable") {
            entry->names.variables.push_back(*value);
        } else if (name == "process") {
            const std::size_t blank = value->find(' ');
            if (blank == std::string::npos) return std::nullopt;
            const auto id = ParseNumber<std::uint32_t>(std::string_view(*value).substr(0, blank));
            const auto created = ParseNumber<std::uint64_t>(std::string_view(*value).substr(blank + 1));
            if (!id || !created) return std::nullopt;
            entry->processes.push_back({*id, *created});
        } else if (name == "reported") {
            entry->reported = *value == "1";
        } else if (name == "unreachable") {
            const auto since = ParseNumber<std::uint64_t>(*value);
            if (!since) return std::nullopt;
            entry->unreachableSince = *since;
        } else if (name == "config") {
            entry->configs.push_back({*value, false, 0, {}});
        } else if (name == "existed" && config) {
            config->existed = *value == "1";
        } else if (name == "attributes" && config) {
            const auto attributes = ParseNumber<std::uint32_t>(*value);
            if (!attributes) return std::nullopt;
            config->attributes = *attributes;
        } else if (name == "line" && config) {
            config->playerLines.push_back(*value);
        } else {
            return std::nullopt;
        }
    }
    if (entry) return std::nullopt;  // cut short
    return journal;
}

void AddSession(SessionJournal& journal, SessionEntry fresh) {
    const auto pending = std::find_if(journal.entries.begin(), journal.entries.end(),
                                      [&](const SessionEntry& entry) { return SameName(entry.folder, fresh.folder); });
    if (pending == journal.entries.end()) {
        journal.entries.push_back(std::move(fresh));
        return;
    }
    // The script commands of every session so far: a key bound to one of
    // them still holds a session's line.
    SessionNames all = pending->names;
    MergeSessionNames(all, fresh.names);
    for (ConfigRecord& config : fresh.configs) {
        const auto kept = std::find_if(pending->configs.begin(), pending->configs.end(),
                                       [&](const ConfigRecord& record) { return SameName(record.path, config.path); });
        if (kept == pending->configs.end()) {
            pending->configs.push_back(std::move(config));
            continue;
        }
        // The names whose lines the fresh record takes over: those the
        // pending sessions did not use, and those where it found the
        // player's line (or none) rather than a session's.
        SessionNames taken;
        for (const auto& key : fresh.names.keys) {
            if (!Listed(pending->names.keys, key)) {
                taken.keys.push_back(key);
                continue;
            }
            const auto found = PlayerLines(config.playerLines, SessionNames{{key}, {}, {}});
            const bool sessionLine = std::any_of(found.begin(), found.end(), [&](const std::string& line) {
                return IsSessionLine(line, all);
            });
            if (!sessionLine) taken.keys.push_back(key);
        }
        for (const auto& variable : fresh.names.variables) {
            if (!Listed(pending->names.variables, variable) ||
                PlayerLines(config.playerLines, SessionNames{{}, {}, {variable}}).empty())
                taken.variables.push_back(variable);
        }
        std::vector<std::string> lines;
        for (auto& line : kept->playerLines)
            if (PlayerLines(std::vector<std::string>{line}, taken).empty()) lines.push_back(std::move(line));
        for (auto& line : PlayerLines(config.playerLines, taken)) lines.push_back(std::move(line));
        kept->playerLines = std::move(lines);
    }
    MergeSessionNames(pending->names, fresh.names);
    pending->processes.insert(pending->processes.end(), fresh.processes.begin(), fresh.processes.end());
}

void ReplaceProcess(SessionJournal& journal, const SessionProcess& from, const std::optional<SessionProcess>& to) {
    for (SessionEntry& entry : journal.entries) {
        const auto found = std::find(entry.processes.begin(), entry.processes.end(), from);
        if (found == entry.processes.end()) continue;
        if (to) *found = *to;
        else entry.processes.erase(found);
    }
}

}  // namespace reelwright
