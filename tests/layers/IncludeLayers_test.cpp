// The folders of src/ are layers: src/layers.txt says which folders the code of
// each folder may use, and the build links each folder's library to theirs.
// Every library includes from src/ itself, so it is these checks that keep an
// #include from reaching into a folder it may not use, and the README's table
// in step with the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace reelwright {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = REELWRIGHT_SOURCE_DIR;
const fs::path kSrc = kSourceDir / "src";
const fs::path kLayersFile = kSrc / "layers.txt";

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Words(const std::string& text, char separator = ' ') {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; std::getline(in, word, separator);) {
        const auto first = word.find_first_not_of(" \t");
        const auto last = word.find_last_not_of(" \t");
        if (first != std::string::npos) words.push_back(word.substr(first, last - first + 1));
    }
    return words;
}

std::string Join(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "nothing" : text;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

struct LayerTable {
    std::vector<std::string> folders;                    // in the file's order
    std::map<std::string, std::set<std::string>> uses;   // "*" expanded
    std::map<std::string, bool> usesEverything;          // written as "*"
    std::vector<std::string> problems;
};

LayerTable ReadLayerTable() {
    LayerTable table;
    const std::vector<std::string> lines = Lines(kLayersFile);
    if (lines.empty()) table.problems.push_back("src/layers.txt is missing or empty");
    for (std::size_t number = 1; number <= lines.size(); ++number) {
        const std::string& line = lines[number - 1];
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            table.problems.push_back("src/layers.txt:" + std::to_string(number) + ": \"" + line +
                                     "\" is not \"<folder>: <folders it may use>\"");
            continue;
        }
        const std::string folder = line.substr(0, colon);
        table.folders.push_back(folder);
        const std::vector<std::string> uses = Words(line.substr(colon + 1));
        table.usesEverything[folder] = uses == std::vector<std::string>{"*"};
        table.uses[folder].insert(uses.begin(), uses.end());
    }
    for (auto& [folder, uses] : table.uses)
        if (table.usesEverything[folder]) {
            uses = std::set<std::string>(table.folders.begin(), table.folders.end());
            uses.erase(folder);
        }
    return table;
}

// A path below src/ with "/" separators, or empty when it lies outside src/.
std::string BelowSrc(const fs::path& path) {
    const fs::path relative = path.lexically_normal().lexically_relative(kSrc.lexically_normal());
    if (relative.empty() || *relative.begin() == "..") return {};
    return relative.generic_string();
}

std::string FirstFolder(const std::string& belowSrc) { return belowSrc.substr(0, belowSrc.find('/')); }

// The name in an `#include "name"` line, or empty for any other line.
std::string QuotedInclude(const std::string& line) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return {};
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0) return {};
    at = line.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || line[at] != '"') return {};
    const auto end = line.find('"', at + 1);
    return end == std::string::npos ? std::string() : line.substr(at + 1, end - at - 1);
}

bool InWindowsLayer(const std::string& belowSrc) { return belowSrc.find("/win/") != std::string::npos; }

TEST(IncludeLayers, TableNamesEveryFolderOfSrcAndHasNoCycle) {
    const LayerTable table = ReadLayerTable();
    std::vector<std::string> problems = table.problems;

    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(kSrc))
        if (entry.is_directory()) onDisk.insert(entry.path().filename().string());
    const std::set<std::string> listed(table.folders.begin(), table.folders.end());
    for (const std::string& folder : onDisk)
        if (!listed.count(folder)) problems.push_back("src/" + folder + "/ has no line in src/layers.txt");
    for (const std::string& folder : listed)
        if (!onDisk.count(folder)) problems.push_back("src/layers.txt names " + folder + ", which is not a folder of src/");
    if (listed.size() != table.folders.size()) problems.push_back("src/layers.txt names a folder twice");

    for (const auto& [folder, uses] : table.uses)
        for (const std::string& used : uses)
            if (!listed.count(used))
                problems.push_back("src/layers.txt: " + folder + " uses " + used + ", which has no line of its own");

    // Layers stack: no folder may reach itself through the folders it uses.
    for (const std::string& start : table.folders) {
        std::set<std::string> reached;
        std::function<void(const std::string&)> walk = [&](const std::string& folder) {
            const auto found = table.uses.find(folder);
            if (found == table.uses.end()) return;
            for (const std::string& used : found->second)
                if (reached.insert(used).second) walk(used);
        };
        walk(start);
        if (reached.count(start)) problems.push_back("src/layers.txt: " + start + " uses itself through the folders it uses");
    }
    EXPECT_TRUE(problems.empty()) << Join(problems);
}

TEST(IncludeLayers, EveryIncludeUnderSrcKeepsToTheTable) {
    const LayerTable table = ReadLayerTable();
    ASSERT_TRUE(table.problems.empty()) << Join(table.problems);

    std::vector<std::string> problems;
    std::size_t includes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        const std::string file = BelowSrc(entry.path());
        const std::string from = FirstFolder(file);
        const std::vector<std::string> lines = Lines(entry.path());
        for (std::size_t number = 1; number <= lines.size(); ++number) {
            const std::string name = QuotedInclude(lines[number - 1]);
            if (name.empty()) continue;
            ++includes;
            const std::string where = "src/" + file + ":" + std::to_string(number) + ": #include \"" + name + "\": ";

            // The compiler looks beside the including file first, then in src/.
            fs::path target = entry.path().parent_path() / name;
            if (!fs::exists(target)) target = kSrc / name;
            const std::string reached = fs::exists(target) ? BelowSrc(target) : std::string();
            if (reached.empty()) {
                problems.push_back(where + "names no file under src/");
                continue;
            }
            const std::string to = FirstFolder(reached);
            if (!table.uses.count(from))
                problems.push_back(where + from + " has no line in src/layers.txt");
            else if (to != from && !table.uses.at(from).count(to))
                problems.push_back(where + from + " may not use " + to + " (src/layers.txt lets " + from + " use " +
                                   Join(table.uses.at(from)) + ")");
            if (InWindowsLayer(reached) && !InWindowsLayer(file))
                problems.push_back(where + "portable code may not include the Windows layer (win/)");
        }
    }
    EXPECT_GT(includes, 100u) << "the walk over src/ found too few includes to mean anything";
    EXPECT_TRUE(problems.empty()) << Join(problems);
}

// The README's table of folders says in its "may use" column what the layer
// file says: "nothing else of ours", "everything", or the folders' names.
TEST(IncludeLayers, ReadmeTableSaysWhatTheTableSays) {
    const LayerTable table = ReadLayerTable();
    ASSERT_TRUE(table.problems.empty()) << Join(table.problems);

    std::vector<std::string> problems;
    std::set<std::string> described;
    bool inTable = false;
    for (const std::string& line : Lines(kSourceDir / "README.md")) {
        if (line.empty() || line[0] != '|') {
            inTable = false;
            continue;
        }
        std::string row = line.substr(1, line.find_last_of('|') - 1);
        row.erase(std::remove(row.begin(), row.end(), '`'), row.end());
        const std::vector<std::string> cells = Words(row, '|');
        if (cells.size() == 3 && cells[0] == "folder" && cells[2] == "may use") inTable = true;
        std::smatch match;
        static const std::regex folderCell(R"(^src/([a-z0-9_]+)/$)");
        if (!inTable || cells.empty() || !std::regex_match(cells[0], match, folderCell)) continue;
        const std::string folder = match[1];
        described.insert(folder);
        const auto uses = table.uses.find(folder);
        if (uses == table.uses.end()) {
            problems.push_back("README.md describes src/" + folder + "/, which src/layers.txt does not name");
            continue;
        }
        const std::string said = cells.size() == 3 ? cells[2] : std::string();
        const std::string expected = table.usesEverything.at(folder) ? "everything"
                                     : uses->second.empty()         ? "nothing else of ours"
                                                                    : Join(uses->second);
        const std::vector<std::string> saidNames = Words(said, ',');
        const bool agrees = said == expected ||
                            (!uses->second.empty() && !table.usesEverything.at(folder) &&
                             std::set<std::string>(saidNames.begin(), saidNames.end()) == uses->second);
        if (!agrees)
            problems.push_back("README.md: src/" + folder + "/ may use \"" + said + "\", src/layers.txt says \"" +
                               expected + "\"");
    }
    for (const std::string& folder : table.folders)
        if (!described.count(folder)) problems.push_back("README.md's table of folders has no row for src/" + folder + "/");
    EXPECT_TRUE(problems.empty()) << Join(problems);
}

}  // namespace
}  // namespace reelwright
