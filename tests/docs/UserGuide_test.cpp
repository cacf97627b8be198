// The user's guide (shipped as README.txt) and the README state facts of the
// program: its pictures, its key defaults, its version. These checks read the
// documents and compare them with the program's own tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/AppInfo.h"
#include "launch/Launch.h"
#include "prefs/PropertiesDialog.h"

namespace reelwright {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = REELWRIGHT_SOURCE_DIR;
const fs::path kGuide = kSourceDir / "docs" / "user-guide.md";
const fs::path kReadme = kSourceDir / "README.md";

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The cells of a Markdown table row, trimmed, without the outer bars and
// without the backticks of code spans.
std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::string inner = row.substr(row.find('|') + 1);
    if (const auto end = inner.find_last_of('|'); end != std::string::npos) inner.erase(end);
    std::istringstream in(inner);
    for (std::string cell; std::getline(in, cell, '|');) {
        cell.erase(std::remove(cell.begin(), cell.end(), '`'), cell.end());
        const auto first = cell.find_first_not_of(' ');
        const auto last = cell.find_last_not_of(' ');
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    }
    return cells;
}

// Where the pictures of a Markdown file point, relative to its folder.
std::vector<std::string> PictureReferences(const std::string& markdown) {
    std::vector<std::string> targets;
    const std::regex picture(R"re(!\[[^\]]*\]\(([^)\s]+)\)|<img[^>]*\ssrc="([^"]+)")re");
    for (std::sregex_iterator it(markdown.begin(), markdown.end(), picture), end; it != end; ++it)
        targets.push_back((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
    return targets;
}

bool IsPng(const fs::path& path) {
    const std::string bytes = ReadText(path);
    return bytes.size() > 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}

TEST(UserGuide, EveryPictureOfTheGuideAndTheReadmeExists) {
    for (const fs::path& document : {kGuide, kReadme}) {
        const std::string text = ReadText(document);
        ASSERT_FALSE(text.empty()) << document;
        const auto targets = PictureReferences(text);
        EXPECT_FALSE(targets.empty()) << document << " shows no picture";
        for (const std::string& target : targets) {
            const fs::path picture = document.parent_path() / target;
            EXPECT_TRUE(fs::is_regular_file(picture)) << document << " shows a missing picture: " << target;
            if (fs::is_regular_file(picture)) {
                EXPECT_TRUE(IsPng(picture)) << target << " is not a PNG file";
            }
        }
    }
}

TEST(UserGuide, ShowsEveryPictureOfItsFolder) {
    std::set<std::string> shown;
    for (const std::string& target : PictureReferences(ReadText(kGuide)))
        shown.insert(fs::path(target).lexically_normal().generic_string());
    for (const auto& entry : fs::directory_iterator(kSourceDir / "docs" / "images")) {
        const std::string picture = "images/" + entry.path().filename().string();
        EXPECT_TRUE(shown.count(picture)) << picture << " is in docs/images but the guide does not show it";
    }
}

TEST(UserGuide, KeyTableStatesTheProgramsDefaults) {
    const auto lines = Lines(ReadText(kGuide));
    // The table whose header names both kinds of default.
    auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("|", 0) == 0 && line.find("Properties dialog default") != std::string::npos &&
               line.find("Launch fallback") != std::string::npos;
    });
    ASSERT_NE(header, lines.end()) << "the guide has no table of the keys' defaults";
    const auto columns = Cells(*header);
    auto column = [&](const std::string& start) {
        const auto found = std::find_if(columns.begin(), columns.end(),
                                        [&](const std::string& cell) { return cell.rfind(start, 0) == 0; });
        return static_cast<std::size_t>(found - columns.begin());
    };
    const std::size_t setting = column("Setting");
    const std::size_t dialog = column("Properties dialog default");
    const std::size_t fallback = column("Launch fallback");
    ASSERT_LT(setting, columns.size());

    std::set<int> seen;
    for (auto row = header + 2; row != lines.end() && row->rfind("|", 0) == 0; ++row) {
        const auto cells = Cells(*row);
        ASSERT_EQ(cells.size(), columns.size()) << *row;
        std::smatch bind;
        ASSERT_TRUE(std::regex_match(cells[setting], bind, std::regex("Bind([0-7])"))) << *row;
        const int index = std::stoi(bind[1]);
        EXPECT_TRUE(seen.insert(index).second) << "Bind" << index << " is listed twice";
        EXPECT_EQ(cells[dialog], kDialogBindDefaults[index]) << *row;
        EXPECT_EQ(cells[fallback], LaunchBindFallback(index)) << *row;
    }
    EXPECT_EQ(seen.size(), 8u) << "the key table must list Bind0 to Bind7";
}

TEST(UserGuide, VersionedNamesAreThoseOfThisVersion) {
    const std::regex settingsKey(R"(Reelwright_[0-9]+\.[0-9]+\.[0-9]+)");
    const std::regex zip(R"(Reelwright-[0-9]+\.[0-9]+\.[0-9]+-win64\.zip)");
    for (const fs::path& document : {kGuide, kReadme}) {
        const std::string text = ReadText(document);
        for (std::sregex_iterator it(text.begin(), text.end(), settingsKey), end; it != end; ++it)
            EXPECT_EQ(it->str(), AppKey()) << document;
        for (std::sregex_iterator it(text.begin(), text.end(), zip), end; it != end; ++it)
            EXPECT_EQ(it->str(), "Reelwright-" + VersionText() + "-win64.zip") << document;
    }
}

// README.txt is read in Notepad, which shows any other byte as a stray letter
// on older Windows.
TEST(UserGuide, IsPlainAscii) {
    const std::string text = ReadText(kGuide);
    const auto odd = std::find_if(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 126 || (byte < 32 && c != '\n' && c != '\r');
    });
    EXPECT_TRUE(odd == text.end()) << "a byte that is not printable ASCII at offset " << (odd - text.begin());
}

}  // namespace
}  // namespace reelwright
