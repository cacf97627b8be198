#include "browse/DemoSearch.h"

#include <algorithm>
#include <cstdint>

namespace reelwright {

namespace {

// The lower-case letter of a code point (the code point itself when it has
// none in the covered blocks).
char32_t LowerCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;  // Latin-1, not the multiplication sign
    if (c >= 0x100 && c <= 0x137) return c | 1;       // Latin Extended-A pairs: even upper, odd lower
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177) return c | 1;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;  // Greek
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;                 // Cyrillic
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    std::size_t index = 0;
    while (index < text.size()) {
        const auto lead = static_cast<unsigned char>(text[index]);
        if (lead < 0x80) {
            folded += static_cast<char>(lead >= 'A' && lead <= 'Z' ? lead + 0x20 : lead);
            ++index;
            continue;
        }
        // Only the two- and three-byte forms hold letters that fold here.
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : (lead >= 0xE0 && lead <= 0xEF ? 3 : 0);
        bool valid = length != 0 && index + length <= text.size();
        char32_t c = length == 2 ? lead & 0x1F : lead & 0x0F;
        for (std::size_t next = 1; valid && next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[index + next]);
            valid = (byte & 0xC0) == 0x80;
            c = (c << 6) | (byte & 0x3F);
        }
        if (!valid || (length == 3 && c < 0x800)) {
            folded += text[index];  // kept as it is, byte by byte
            ++index;
            continue;
        }
        AppendUtf8(folded, LowerCase(c));
        index += length;
    }
    return folded;
}

std::vector<std::string> SearchWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t index = 0;
    while (index < text.size()) {
        while (index < text.size() && IsBlankByte(text[index])) ++index;
        const std::size_t start = index;
        while (index < text.size() && !IsBlankByte(text[index])) ++index;
        if (index > start) words.push_back(FoldCase(text.substr(start, index - start)));
    }
    return words;
}

std::string SearchableText(const std::vector<std::string_view>& texts) {
    std::string joined;
    for (const std::string_view text : texts) {
        if (text.empty()) continue;
        if (!joined.empty()) joined += '\n';
        joined += text;
    }
    return FoldCase(joined);
}

bool MatchesAllWords(std::string_view searchable, const std::vector<std::string>& words) {
    return std::all_of(words.begin(), words.end(),
                       [&](const std::string& word) { return searchable.find(word) != std::string_view::npos; });
}

}  // namespace reelwright
