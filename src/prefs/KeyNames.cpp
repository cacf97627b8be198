#include "prefs/KeyNames.h"

#include <string_view>

namespace basFunctions {

namespace {

struct NamedKey {
    std::int16_t code;
    std::string_view name;
};

// Keys whose name is not simply their character or their function-key number.
// The keypad rows name each key by its function with Num Lock off.
constexpr NamedKey kNamedKeys[] = {
    {8, "Back"},
    {9, "Tab"},
    {12, "KP_5"},  // Clear: keypad 5 with Num Lock off
    {13, "enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "alt"},
    {19, "Pause"},
    {20, "Caps"},
    {27, "Esc"},
    {32, "Space"},
    {33, "PGUP"},
    {34, "PGDN"},
    {35, "End"},
    {36, "Home"},
    {37, "leftarrow"},
    {38, "uparrow"},
    {39, "rightarrow"},
    {40, "downarrow"},
    {45, "Ins"},
    {46, "del"},
    {47, "Help"},
    {96, "KP_INS"},
    {97, "KP_END"},
    {98, "KP_DOWNARROW"},
    {99, "KP_PGDN"},
    {100, "KP_LEFTARROW"},
    {101, "KP_5"},
    {102, "KP_RIGHTARROW"},
    {103, "KP_HOME"},
    {104, "KP_UPARROW"},
    {105, "KP_PGUP"},
    {106, "*"},
    {107, "+"},
    {109, "-"},
    {110, "."},
    {111, "/"},
};

constexpr std::int16_t kF1 = 112;
constexpr std::int16_t kF16 = 127;

}  // namespace

std::string KeyCodeToBindName(std::int16_t code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    if (code >= kF1 && code <= kF16) {
        // Appended rather than "F" + ...: GCC 12 warns falsely (-Wrestrict)
        // on a literal joined to a temporary string.
        std::string name = "F";
        name += std::to_string(code - kF1 + 1);
        return name;
    }
    for (const auto& key : kNamedKeys) {
        if (key.code == code) return std::string(key.name);
    }
    return {};
}

}  // namespace basFunctions
