#include "prefs/KeyNames.h"

#include <gtest/gtest.h>

#include <string>

using basFunctions::KeyCodeToBindName;

namespace {

TEST(KeyCodeToBindName, NamedKeysKeepTheirExactCase) {
    const struct {
        std::int16_t code;
        const char* name;
    } keys[] = {
        {8, "Back"},       {9, "Tab"},       {12, "KP_5"},           {13, "enter"},     {16, "Shift"},
        {17, "Ctrl"},      {18, "alt"},      {19, "Pause"},          {20, "Caps"},      {27, "Esc"},
        {32, "Space"},     {33, "PGUP"},     {34, "PGDN"},           {35, "End"},       {36, "Home"},
        {37, "leftarrow"}, {38, "uparrow"},  {39, "rightarrow"},     {40, "downarrow"}, {45, "Ins"},
        {46, "del"},       {47, "Help"},
    };
    for (const auto& key : keys) EXPECT_EQ(KeyCodeToBindName(key.code), key.name) << "code " << key.code;
}

TEST(KeyCodeToBindName, DigitsAndLettersAreTheirOwnCharacter) {
    for (std::int16_t code = '0'; code <= '9'; ++code)
        EXPECT_EQ(KeyCodeToBindName(code), std::string(1, static_cast<char>(code)));
    for (std::int16_t code = 'A'; code <= 'Z'; ++code)
        EXPECT_EQ(KeyCodeToBindName(code), std::string(1, static_cast<char>(code)));
    // Lower-case character codes are other keys (the keypad and F-keys), not letters.
    EXPECT_EQ(KeyCodeToBindName('a'), "KP_END");
}

TEST(KeyCodeToBindName, KeypadKeysAreNamedByTheirFunctionWithNumLockOff) {
    const char* const names[] = {"KP_INS",  "KP_END",        "KP_DOWNARROW", "KP_PGDN",    "KP_LEFTARROW",
                                 "KP_5",    "KP_RIGHTARROW", "KP_HOME",      "KP_UPARROW", "KP_PGUP"};
    for (std::int16_t code = 96; code <= 105; ++code) EXPECT_EQ(KeyCodeToBindName(code), names[code - 96]);
    EXPECT_EQ(KeyCodeToBindName(106), "*");
    EXPECT_EQ(KeyCodeToBindName(107), "+");
    EXPECT_EQ(KeyCodeToBindName(108), "");  // separator key
    EXPECT_EQ(KeyCodeToBindName(109), "-");
    EXPECT_EQ(KeyCodeToBindName(110), ".");
    EXPECT_EQ(KeyCodeToBindName(111), "/");
    // The top-row digit and the keypad digit differ; Clear and keypad 5 agree.
    EXPECT_EQ(KeyCodeToBindName(48), "0");
    EXPECT_EQ(KeyCodeToBindName(12), KeyCodeToBindName(101));
}

TEST(KeyCodeToBindName, FunctionKeysRunFromF1ToF16) {
    for (std::int16_t code = 112; code <= 127; ++code) {
        std::string name = "F";
        name += std::to_string(code - 111);
        EXPECT_EQ(KeyCodeToBindName(code), name);
    }
    EXPECT_EQ(KeyCodeToBindName(128), "");  // F17
    EXPECT_EQ(KeyCodeToBindName(135), "");  // F24
}

TEST(KeyCodeToBindName, KeysOutsideTheTableGiveTheEmptyText) {
    const std::int16_t codes[] = {0,   1,   7,   10,  11,  14,  15,  21,  26,  28,  31,  41,  44,  58,
                                  64,  91,  92,  93,  95,  144, 145, 186, 189, 192, 219, 222, 255, 256,
                                  -1,  -111, -32768, 32767, 112 + 256};
    for (const auto code : codes) EXPECT_EQ(KeyCodeToBindName(code), "") << "code " << code;
}

}  // namespace
