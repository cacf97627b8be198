// Small text helpers shared by the portable code. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reelwright {

// Removes leading and trailing blanks (spaces only, as the program's readers do).
std::string TrimBlanks(std::string_view text);

// True when the text is empty or holds nothing but blanks.
bool IsBlank(std::string_view text);

// Reads a stored on/off value as a number and takes its whole part ("1", " 2 ",
// "1.7" -> 1). Text that does not begin with a number gives nothing.
std::optional<long long> WholeNumber(std::string_view text);

// Launch's reading: trimmed text converted to a 16-bit signed integer; nothing
// when the text is not a number or does not fit.
std::optional<std::int16_t> Int16Number(std::string_view text);

// True when the texts are equal but for the case of ASCII letters, as Windows
// compares file and registry key names ("C:\Games" and "c:\GAMES").
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace reelwright
