#include "demo/DemoText.h"

#include <array>
#include <cstdint>

#include "core/Text.h"

namespace reelwright {
namespace {

// Windows-1252 from 0x80 to 0x9F; 0 marks the five bytes it leaves unassigned.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::optional<std::string_view> InfoValue(std::string_view info, std::string_view key) {
    if (!info.empty() && info.front() == '\\') info.remove_prefix(1);
    while (!info.empty()) {
        const std::size_t keyEnd = info.find('\\');
        if (keyEnd == std::string_view::npos) return std::nullopt;
        const std::string_view thisKey = info.substr(0, keyEnd);
        info.remove_prefix(keyEnd + 1);
        const std::size_t valueEnd = info.find('\\');
        const std::string_view value = info.substr(0, valueEnd);
        if (EqualIgnoringAsciiCase(thisKey, key)) return value;
        if (valueEnd == std::string_view::npos) return std::nullopt;
        info.remove_prefix(valueEnd + 1);
    }
    return std::nullopt;
}

std::string DemoDisplayText(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '^' && i + 1 < raw.size() && raw[i + 1] != '^') {
            ++i;
            continue;
        }
        const auto byte = static_cast<std::uint8_t>(raw[i]);
        if (byte < 0x20 || byte == 0x7F) continue;
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else if (byte < 0xA0) {
            if (const char16_t code = kWindows1252High[byte - 0x80]) AppendUtf8(text, code);
        } else {
            AppendUtf8(text, byte);
        }
    }
    return text;
}

}  // namespace reelwright
