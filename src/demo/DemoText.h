// The texts inside a demo: server info strings ("\key\value\...") and names
// in the engine's bytes, with colour codes, turned into UTF-8 for display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace reelwright {

// The value of `key` in an info string ("\mapname\mp_shop\sv_hostname\x"; the
// first "\" may be missing). Keys compare without regard to ASCII letter case,
// as the engine compares them; the first match counts.
std::optional<std::string_view> InfoValue(std::string_view info, std::string_view key);

// The text as a player reads it: colour codes removed (a "^" and the character
// after it, unless that is another "^" or there is none), control characters
// dropped, and the rest read as Windows-1252 and given as UTF-8.
std::string DemoDisplayText(std::string_view raw);

}  // namespace reelwright
