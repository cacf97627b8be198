#include "pack/ZipEntryName.h"

#include <array>
#include <cstdint>

namespace reelwright {

namespace {

// Code page 437's characters 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kCodePage437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC,
    0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310,
    0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C,
    0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF,
    0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2,
    0x25A0, 0x00A0,
};

void AppendUtf8(std::string& text, char16_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t low = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, low = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, low = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, low = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        std::uint32_t code = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsDeviceName(std::string_view part) {
    // The device is named by what comes before the first dot, trailing
    // blanks ignored ("nul.txt", "COM1 .dm_2004").
    std::string_view stem = part.substr(0, part.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string lower;
    for (const char c : stem) lower += LowerAscii(c);
    if (lower == "con" || lower == "prn" || lower == "aux" || lower == "nul" || lower == "conin$" ||
        lower == "conout$")
        return true;
    return lower.size() == 4 && (lower.starts_with("com") || lower.starts_with("lpt")) && lower[3] >= '1' &&
           lower[3] <= '9';
}

bool HasRefusedCharacter(std::string_view part) {
    for (const char c : part) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
        switch (c) {
            case '<': case '>': case '"': case '|': case '?': case '*': return true;
            default: break;
        }
    }
    return false;
}

// The longest file name Windows takes, in UTF-16 units.
constexpr std::size_t kMostNameUnits = 255;

std::size_t Utf16Units(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;   // a character begins
        if ((byte & 0xF8) == 0xF0) ++units;  // beyond the basic plane: a surrogate pair
    }
    return units;
}

const char* JudgeParts(std::string_view path) {
    if (path.starts_with('/') || path.starts_with('\\')) return kEntryNameAbsolute;
    if (path.find(':') != std::string_view::npos) return kEntryNameDrive;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of("/\\", start);
        const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
        const bool last = end == std::string_view::npos || end + 1 == path.size();
        if (part == "..") return kEntryNameParent;
        if (part.empty()) {
            if (!last || start == 0) return kEntryNameEmptyPart;
        } else if (part != ".") {
            if (HasRefusedCharacter(part)) return kEntryNameCharacter;
            if (IsDeviceName(part)) return kEntryNameDevice;
            if (part.back() == '.' || part.back() == ' ') return kEntryNameTrailing;
            if (Utf16Units(part) > kMostNameUnits) return kEntryNameTooLong;
        }
        if (end == std::string_view::npos) return nullptr;
        start = end + 1;
    }
}

}  // namespace

std::optional<std::string> DecodeZipEntryName(std::string_view raw, bool utf8) {
    if (utf8) {
        if (!IsValidUtf8(raw)) return std::nullopt;
        return std::string(raw);
    }
    std::string text;
    text.reserve(raw.size());
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(text, byte < 0x80 ? static_cast<char16_t>(byte) : kCodePage437High[byte - 0x80]);
    }
    return text;
}

EntryName JudgeZipEntryName(std::string_view raw, bool utf8) {
    EntryName name;
    const std::optional<std::string> decoded = DecodeZipEntryName(raw, utf8);
    if (!decoded) {
        name.path = DecodeZipEntryName(raw, false).value_or(std::string());
        name.refusal = kEntryNameNotUtf8;
        return name;
    }
    name.path = *decoded;
    if (name.path.empty()) {
        name.refusal = kEntryNameEmpty;
        return name;
    }
    name.isFolder = name.path.back() == '/' || name.path.back() == '\\';
    if (const char* refusal = JudgeParts(name.path)) name.refusal = refusal;
    const std::string_view path = name.path;
    const std::size_t slash = path.find_last_of("/\\");
    name.fileName = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    // "a/." names a folder, not a file.
    if (name.refusal.empty() && !name.isFolder && name.fileName == ".") name.refusal = kEntryNameEmpty;
    return name;
}

}  // namespace reelwright
