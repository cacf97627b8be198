// Which key names the game's console takes as one key in a bind line
// ("bind <key> "<script>""). The console splits a line into commands at ";"
// outside double quotes, and a command into words at blanks, at a double
// quote and at "//" or "/*" (comments); it reads text as signed characters,
// so a byte of 0x80 or above ends a word as a blank does. A name that breaks
// any of these binds another key, or runs another command ("F1;quit" quits
// the game).
#pragma once

#include <string_view>

namespace reelwright {

// True when every byte of `name` is printable ASCII (0x21 to 0x7E) other than
// ";" and the double quote, and the name holds neither "//" nor "/*". The
// empty text is not a key name.
bool IsConsoleKeyName(std::string_view name);

}  // namespace reelwright
