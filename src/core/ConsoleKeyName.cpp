#include "core/ConsoleKeyName.h"

#include <algorithm>

namespace reelwright {

bool IsConsoleKeyName(std::string_view name) {
    if (name.empty()) return false;
    const bool printable = std::all_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x21 && byte <= 0x7E && c != ';' && c != '"';
    });
    return printable && name.find("//") == std::string_view::npos && name.find("/*") == std::string_view::npos;
}

}  // namespace reelwright
