// The game console's names of keyboard keys, for the demo-control binds.
#pragma once

#include <cstdint>
#include <string>

namespace basFunctions {

// The game's name of the key with the Windows virtual-key code `code` ("F1",
// "enter", "KP_UPARROW", "A", ...), or the empty text for a key the game's
// bind names do not cover. The modifier state plays no part: Shift+A and A
// both give "A".
std::string KeyCodeToBindName(std::int16_t code);

}  // namespace basFunctions
