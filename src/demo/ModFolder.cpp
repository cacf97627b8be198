#include "demo/ModFolder.h"

#include "core/Text.h"

namespace reelwright {
namespace {

constexpr std::string_view kRefusedCharacters = "<>:\"/\\|?*";

// Windows opens a device for these names, whatever follows a dot.
bool IsDeviceName(std::string_view name) {
    const std::string_view stem = name.substr(0, name.find('.'));
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (EqualIgnoringAsciiCase(stem, device)) return true;
    if (stem.size() == 4 && (EqualIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
                             EqualIgnoringAsciiCase(stem.substr(0, 3), "LPT")))
        return stem[3] >= '0' && stem[3] <= '9';
    return false;
}

}  // namespace

bool IsSafeModFolderName(std::string_view name) {
    if (name.empty() || name.size() > kLongestModFolderName) return false;
    for (const char c : name)
        if (c < 0x20 || c > 0x7E || kRefusedCharacters.find(c) != std::string_view::npos) return false;
    if (name.find("..") != std::string_view::npos) return false;
    for (const char end : {name.front(), name.back()})
        if (end == ' ' || end == '.') return false;
    return !IsDeviceName(name);
}

}  // namespace reelwright
