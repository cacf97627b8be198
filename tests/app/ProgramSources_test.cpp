// What the program's own sources, from which Reelwright.exe is built, leave
// to tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace reelwright {
namespace {

namespace fs = std::filesystem;

std::size_t Occurrences(const std::string& text, const std::string& word) {
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++count;
    return count;
}

// The windows' exception test hook is set by test code alone: the program's
// sources hold the setter's definition (with its own declaration beside it)
// and never call it, and no header of the program declares it.
TEST(ProgramSources, NeverSetTheWindowsExceptionTestHook) {
    const fs::path sources = fs::path(REELWRIGHT_SOURCE_DIR) / "src";
    const fs::path definition = sources / "core" / "win" / "BaseWindow.cpp";
    std::size_t filesRead = 0;
    for (const auto& entry : fs::recursive_directory_iterator(sources)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        ++filesRead;
        const std::size_t named = Occurrences(text.str(), "SetMessageTestHook(");
        if (fs::equivalent(entry.path(), definition))
            EXPECT_EQ(named, 2u) << "the declaration and the definition only";
        else
            EXPECT_EQ(named, 0u) << entry.path().string();
    }
    EXPECT_GT(filesRead, 50u);
}

}  // namespace
}  // namespace reelwright
