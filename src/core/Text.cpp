#include "core/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace reelwright {

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

namespace {

// Parses an optional sign, digits and an optional fraction; the whole text
// (blanks aside) must be used.
std::optional<double> ParseNumber(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) return std::nullopt;
    std::size_t i = 0;
    if (trimmed[i] == '+' || trimmed[i] == '-') ++i;
    bool digits = false;
    while (i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9') { ++i; digits = true; }
    if (i < trimmed.size() && trimmed[i] == '.') {
        ++i;
        while (i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9') { ++i; digits = true; }
    }
    if (!digits || i != trimmed.size()) return std::nullopt;
    return std::strtod(trimmed.c_str(), nullptr);
}

}  // namespace

std::optional<long long> WholeNumber(std::string_view text) {
    const auto value = ParseNumber(text);
    if (!value || std::fabs(*value) > 9.0e18) return std::nullopt;
    return static_cast<long long>(std::floor(*value));
}

std::optional<std::int16_t> Int16Number(std::string_view text) {
    const auto value = ParseNumber(text);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace reelwright
