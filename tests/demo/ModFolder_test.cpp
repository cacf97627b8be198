// Which mod names a demo may give that can be taken as a folder of the game.
#include "demo/ModFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reelwright {
namespace {

TEST(ModFolder, OnlyAPlainFolderNameIsSafe) {
    using Names = std::vector<std::string>;
    for (const std::string& name :
         Names{"mymod", "Gun Game 2", "h&s", "mod.v2", "a", "CONSOLE", "com", "com10", "lpt", "nul_mod", "x-(1)",
          std::string(kLongestModFolderName, 'm')})
        EXPECT_TRUE(IsSafeModFolderName(name)) << name;

    for (const std::string& name : Names{
             "",                                                        // the game itself
             ".", "..", "...", "a..b", "..\\x", "mod.", "mod ", " mod", ".mod",  // steps out, or renamed by Windows
             "a\\b", "a/b", "\\\\server\\share", "C:", "C:mod", "c:\\windows",  // separators and drives
             "con", "CON", "nul.txt", "Aux.mod", "prn", "com1", "COM9.x", "lpt0", "conin$", "CONOUT$",  // devices
             "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", std::string("a\0b", 3), "a\tb", "a\x7f" "b",  // refused
             "caf\xE9", "\xC3\xA9t\xC3\xA9",  // not plain ASCII
             std::string(kLongestModFolderName + 1, 'm'),
         })
        EXPECT_FALSE(IsSafeModFolderName(name)) << name;
}

}  // namespace
}  // namespace reelwright
