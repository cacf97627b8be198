#include "script/ScriptReader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>

namespace basBuildConfigs {

namespace {

// The builder is run with these control characters in place of every key and
// of every entry's name and game type: the text it gives is the script's
// pattern, and the characters mark its holes. No key name, demo name or folder
// name holds a control character, so a hole never contains one.
constexpr char kGameTypeMark = '\x0e';  // after the tab, line feed and carriage return
constexpr char kNameMark = '\x0f';
constexpr char kFirstKeyMark = '\x10';
constexpr std::size_t kKeyCount = 8;

bool IsMark(char c) { return c >= kGameTypeMark && c < kFirstKeyMark + static_cast<char>(kKeyCount); }

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::size_t LineCount(std::string_view text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

std::string Pattern(std::size_t entryCount) {
    ScriptKeys keys;
    std::array<std::string*, kKeyCount> slots{&keys.slow, &keys.fast,  &keys.pause,    &keys.thirdPerson,
                                              &keys.play, &keys.stop, &keys.previous, &keys.next};
    for (std::size_t i = 0; i < kKeyCount; ++i) *slots[i] = std::string(1, static_cast<char>(kFirstKeyMark + i));
    static constexpr char kGameType[] = {kGameTypeMark, 0};
    static constexpr char kName[] = {kNameMark, 0};
    const std::vector<ScriptEntry> entries(entryCount, ScriptEntry{kName, kGameType});
    return BuildScript(keys, entries);
}

}  // namespace

std::optional<ScriptContents> ReadOwnScript(std::string_view bytes) {
    try {
        // Every entry adds the same number of lines: the script's line count
        // tells how many entries it holds.
        const std::string two = Pattern(2);
        const std::size_t perEntry = LineCount(Pattern(3)) - LineCount(two);
        const std::size_t head = LineCount(two) - 2 * perEntry;
        const std::size_t lines = LineCount(bytes);
        if (perEntry == 0 || lines < head || (lines - head) % perEntry != 0) return std::nullopt;
        const std::size_t count = (lines - head) / perEntry;
        if (count < 2) return std::nullopt;

        // Walks the pattern: its text must stand in the bytes as it is, and
        // each hole takes the bytes up to the pattern's next piece of text.
        const std::string pattern = Pattern(count);
        std::array<std::optional<std::string_view>, kKeyCount> keys;
        std::vector<std::string_view> names, gameTypes;
        std::size_t at = 0;
        std::size_t in = 0;
        while (at < pattern.size()) {
            if (!IsMark(pattern[at])) {
                const std::size_t end = std::find_if(pattern.begin() + at, pattern.end(), IsMark) - pattern.begin();
                const std::string_view piece(pattern.data() + at, end - at);
                if (bytes.substr(in, piece.size()) != piece) return std::nullopt;
                in += piece.size();
                at = end;
                continue;
            }
            const char mark = pattern[at++];
            // The hole ends where the next piece of text begins (or the bytes
            // end); two holes never touch in the script.
            if (at < pattern.size() && IsMark(pattern[at])) return std::nullopt;
            const std::size_t next = std::find_if(pattern.begin() + at, pattern.end(), IsMark) - pattern.begin();
            const std::string_view following(pattern.data() + at, next - at);
            const std::size_t end = following.empty() ? bytes.size() : bytes.find(following, in);
            if (end == std::string_view::npos) return std::nullopt;
            const std::string_view value = bytes.substr(in, end - in);
            if (HasControlCharacter(value)) return std::nullopt;
            in = end;
            if (mark == kNameMark) {
                names.push_back(value);
            } else if (mark == kGameTypeMark) {
                gameTypes.push_back(value);
            } else {
                auto& key = keys[static_cast<std::size_t>(mark - kFirstKeyMark)];
                if (key && *key != value) return std::nullopt;
                key = value;
            }
        }
        if (in != bytes.size() || names.size() != count || gameTypes.size() != count) return std::nullopt;
        if (std::any_of(keys.begin(), keys.end(), [](const auto& key) { return !key; })) return std::nullopt;

        ScriptContents contents;
        contents.keys = {std::string(*keys[0]), std::string(*keys[1]), std::string(*keys[2]), std::string(*keys[3]),
                         std::string(*keys[4]), std::string(*keys[5]), std::string(*keys[6]), std::string(*keys[7])};
        contents.entries.reserve(count);
        for (std::size_t i = 0; i < count; ++i) contents.entries.push_back({names[i], gameTypes[i]});
        // The walk read every byte; building the script again from what it
        // found is the proof that the text is the builder's own.
        if (BuildScript(contents.keys, contents.entries) != bytes) return std::nullopt;
        return contents;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace basBuildConfigs
