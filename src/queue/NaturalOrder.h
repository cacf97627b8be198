// Natural order of names, as file managers sort them: "demo2" before
// "demo10", letter case ignored.
#pragma once

#include <string_view>

namespace reelwright {

// Negative when `a` comes before `b`, zero when they are alike, positive when
// it comes after. Runs of digits compare by their value (leading zeros do not
// count); other characters compare one by one with the ASCII letters' case
// ignored; a name that is the beginning of another comes first. Characters
// beyond ASCII compare by their UTF-8 bytes.
int NaturalCompare(std::string_view a, std::string_view b);

inline bool NaturalLess(std::string_view a, std::string_view b) { return NaturalCompare(a, b) < 0; }

}  // namespace reelwright
