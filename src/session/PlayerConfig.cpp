#include "session/PlayerConfig.h"

#include <algorithm>

#include "core/Text.h"

namespace reelwright {

namespace {

struct Line {
    std::string_view text;  // without its line end
    std::string_view end;   // "\r\n", "\n", or empty for a last line without one
};

std::vector<Line> SplitLines(std::string_view config) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < config.size()) {
        const std::size_t feed = config.find('\n', start);
        if (feed == std::string_view::npos) {
            lines.push_back({config.substr(start), {}});
            break;
        }
        const std::size_t textEnd = feed > start && config[feed - 1] == '\r' ? feed - 1 : feed;
        lines.push_back({config.substr(start, textEnd - start), config.substr(textEnd, feed + 1 - textEnd)});
        start = feed + 1;
    }
    return lines;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The words of the line's first command, as the console splits them.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size() || line[i] == ';' || line.compare(i, 2, "//") == 0) break;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            words.emplace_back(line.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? line.size() : close + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != '"' && line[i] != ';' &&
               line.compare(i, 2, "//") != 0)
            ++i;
        words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

bool SameWords(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const std::string& x, const std::string& y) { return EqualIgnoringAsciiCase(x, y); });
}

bool Listed(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& listed) { return EqualIgnoringAsciiCase(listed, name); });
}

enum class Kind { Other, Bind, Variable };

struct ParsedLine {
    Kind kind = Kind::Other;
    std::string name;                    // the key or the variable
    std::vector<std::string> command;    // a bind's command, as words
};

ParsedLine Parse(std::string_view text) {
    const auto words = Words(text);
    ParsedLine parsed;
    if (words.size() < 2) return parsed;
    if (EqualIgnoringAsciiCase(words[0], "bind")) {
        parsed.kind = Kind::Bind;
        // "bind F1 "vstr x"" and "bind F1 vstr x" bind the same command.
        if (words.size() == 3) parsed.command = Words(words[2]);
        else parsed.command.assign(words.begin() + 2, words.end());
    } else if (EqualIgnoringAsciiCase(words[0], "set") || EqualIgnoringAsciiCase(words[0], "seta")) {
        parsed.kind = Kind::Variable;
    } else {
        return parsed;
    }
    parsed.name = words[1];
    return parsed;
}

bool BindsScriptCommand(const ParsedLine& line, const SessionNames& names) {
    return std::any_of(names.commands.begin(), names.commands.end(),
                       [&](const std::string& command) { return SameWords(line.command, Words(command)); });
}

// The session's lines of the config, and where the first of each kind lay.
struct Removal {
    std::vector<bool> removed;  // per line
    std::vector<std::string> keys, variables;
    std::size_t firstBind = std::string::npos, firstVariable = std::string::npos;
};

Removal FindSessionLines(const std::vector<Line>& lines, const SessionNames& names) {
    Removal removal;
    removal.removed.assign(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine line = Parse(lines[i].text);
        if (line.kind == Kind::Bind && Listed(names.keys, line.name) && BindsScriptCommand(line, names)) {
            removal.removed[i] = true;
            removal.keys.push_back(line.name);
            if (removal.firstBind == std::string::npos) removal.firstBind = i;
        } else if (line.kind == Kind::Variable && Listed(names.variables, line.name)) {
            removal.removed[i] = true;
            removal.variables.push_back(line.name);
            if (removal.firstVariable == std::string::npos) removal.firstVariable = i;
        }
    }
    return removal;
}

// The player's lines for the keys and variables whose session lines go: a key
// the player bound to something else during the session keeps that bind.
void SelectPutBack(const Removal& removal, const std::vector<std::string>& playerLines,
                   std::vector<std::string>& binds, std::vector<std::string>& variables) {
    for (const std::string& text : playerLines) {
        const ParsedLine line = Parse(text);
        if (line.kind == Kind::Bind && Listed(removal.keys, line.name)) binds.push_back(text);
        else if (line.kind == Kind::Variable && Listed(removal.variables, line.name)) variables.push_back(text);
    }
}

}  // namespace

std::vector<std::string> PlayerLines(std::string_view config, const SessionNames& names) {
    std::vector<std::string> found;
    for (const Line& line : SplitLines(config)) {
        const ParsedLine parsed = Parse(line.text);
        if ((parsed.kind == Kind::Bind && Listed(names.keys, parsed.name)) ||
            (parsed.kind == Kind::Variable && Listed(names.variables, parsed.name)))
            found.emplace_back(line.text);
    }
    return found;
}

std::vector<std::string> PlayerLines(const std::vector<std::string>& lines, const SessionNames& names) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        const ParsedLine parsed = Parse(line);
        if ((parsed.kind == Kind::Bind && Listed(names.keys, parsed.name)) ||
            (parsed.kind == Kind::Variable && Listed(names.variables, parsed.name)))
            found.push_back(line);
    }
    return found;
}

bool IsSessionLine(std::string_view line, const SessionNames& names) {
    const ParsedLine parsed = Parse(line);
    return (parsed.kind == Kind::Bind && Listed(names.keys, parsed.name) && BindsScriptCommand(parsed, names)) ||
           (parsed.kind == Kind::Variable && Listed(names.variables, parsed.name));
}

std::vector<std::string> LinesToPutBack(std::string_view config, const SessionNames& names,
                                        const std::vector<std::string>& playerLines) {
    const Removal removal = FindSessionLines(SplitLines(config), names);
    std::vector<std::string> binds, variables;
    SelectPutBack(removal, playerLines, binds, variables);
    binds.insert(binds.end(), variables.begin(), variables.end());
    return binds;
}

std::optional<std::string> RestoreConfig(std::string_view config, const SessionNames& names,
                                         const std::vector<std::string>& playerLines) {
    const std::vector<Line> lines = SplitLines(config);
    const Removal removal = FindSessionLines(lines, names);
    std::vector<std::string> binds, variables;
    SelectPutBack(removal, playerLines, binds, variables);

    std::string_view lineEnd = "\r\n";
    for (const Line& line : lines)
        if (!line.end.empty()) {
            lineEnd = line.end;
            break;
        }

    std::string result;
    result.reserve(config.size());
    bool endsWithPutBack = false;
    auto putBack = [&](const std::vector<std::string>& group) {
        for (const std::string& text : group) {
            result += text;
            result += lineEnd;
            endsWithPutBack = true;
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == removal.firstBind) putBack(binds);
        if (i == removal.firstVariable) putBack(variables);
        if (removal.removed[i]) continue;
        result += lines[i].text;
        result += lines[i].end;
        endsWithPutBack = false;
    }
    // A kind with no removed line to stand in for: at the end, after a line end.
    const bool bindsAtEnd = removal.firstBind == std::string::npos && !binds.empty();
    const bool variablesAtEnd = removal.firstVariable == std::string::npos && !variables.empty();
    if ((bindsAtEnd || variablesAtEnd) && !result.empty() && result.back() != '\n') result += lineEnd;
    if (bindsAtEnd) putBack(binds);
    if (variablesAtEnd) putBack(variables);
    // A file that ended without a line end still does when a put-back line is
    // its last.
    if (endsWithPutBack && !lines.empty() && lines.back().end.empty()) result.resize(result.size() - lineEnd.size());

    if (result == config) return std::nullopt;
    return result;
}

}  // namespace reelwright
