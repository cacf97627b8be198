// Info strings and the display of the engine's texts.
#include "demo/DemoText.h"

#include <gtest/gtest.h>

namespace reelwright {
namespace {

TEST(InfoValue, FindsKeysAsTheEngineDoes) {
    const std::string_view info = "\\sv_hostname\\My Server\\MapName\\mp_shop\\empty\\\\last\\x";
    EXPECT_EQ(InfoValue(info, "sv_hostname"), "My Server");
    EXPECT_EQ(InfoValue(info, "mapname"), "mp_shop");  // keys compare without letter case
    EXPECT_EQ(InfoValue(info, "empty"), "");
    EXPECT_EQ(InfoValue(info, "last"), "x");
    EXPECT_FALSE(InfoValue(info, "My Server"));  // a value is not a key
    EXPECT_FALSE(InfoValue(info, "g_gametype"));
    EXPECT_EQ(InfoValue("n\\Sarge\\t\\1", "t"), "1");  // without the first "\"
    EXPECT_FALSE(InfoValue("\\dangling", "dangling"));
}

TEST(DemoDisplayText, RemovesColourCodesAndControlsAndReadsWindows1252) {
    EXPECT_EQ(DemoDisplayText("^1Red^7Team"), "RedTeam");
    // "^^" is no code: the first "^" stays and the second may begin one.
    EXPECT_EQ(DemoDisplayText("a^^1b"), "a^b");
    EXPECT_EQ(DemoDisplayText("end^"), "end^");
    // Any character after "^" goes with it, a Windows-1252 one as well.
    EXPECT_EQ(DemoDisplayText("^\xE9x"), "x");
    EXPECT_EQ(DemoDisplayText("\x80 \x9F \xA0\xFF"), "\u20AC \u0178 \u00A0\u00FF");
    // Bytes that Windows-1252 leaves unassigned and control characters go.
    EXPECT_EQ(DemoDisplayText("a\x81\x8D\x8F\x90\x9D" "b\n\t\x7F" "c"), "abc");
}

}  // namespace
}  // namespace reelwright
