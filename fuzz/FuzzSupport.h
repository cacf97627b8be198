// What the fuzz targets share: a property check that stops the run with the
// property's text, and the split of an input into lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "property does not hold: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)

namespace fuzzing {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The text before the first line feed, and the rest after it (empty when there
// is none): seeds stay readable as "<game folder>\n<path>".
inline std::pair<std::string_view, std::string_view> SplitFirstLine(std::string_view text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return {text, {}};
    return {text.substr(0, end), text.substr(end + 1)};
}

// ASCII letters folded to lower case.
inline std::string FoldAscii(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// The components of a "\"-separated text, empty ones included.
inline std::vector<std::string_view> Components(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\\', start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// A game type as an accepted demo path must give it: empty, or components
// that are neither empty nor named "demos".
inline bool IsWellFormedGameType(std::string_view gameType) {
    if (gameType.empty()) return true;
    for (std::string_view part : Components(gameType))
        if (part.empty() || part == "demos") return false;
    return true;
}

// A demo name: components that are not empty.
inline bool IsWellFormedName(std::string_view name) {
    if (name.empty()) return false;
    for (std::string_view part : Components(name))
        if (part.empty()) return false;
    return true;
}

// The ANSI test of the fuzz targets: ASCII only (a strict code page).
inline bool AsciiOnly(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// True when the text is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing past U+10FFFF.
inline bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t code = 0;
        if (lead < 0x80) { ++i; continue; }
        if (lead >= 0xC2 && lead <= 0xDF) { extra = 1; code = lead & 0x1F; }
        else if (lead >= 0xE0 && lead <= 0xEF) { extra = 2; code = lead & 0x0F; }
        else if (lead >= 0xF0 && lead <= 0xF4) { extra = 3; code = lead & 0x07; }
        else return false;
        if (i + extra >= text.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace fuzzing
