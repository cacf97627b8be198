// The script entry builder: "<first><last><index>" as three 16-bit numbers in
// the first six bytes, then "<name>\n<game type>". An entry of names that the
// console rules accept holds exactly two double quotes, and in the console it
// sets the game type and plays the whole name.
#include <cstring>
#include <stdexcept>
#include <string>

#include "FuzzSupport.h"
#include "queue/ConsoleNames.h"
#include "script/basBuildConfigs.h"
#include "support/ConsoleInterpreter.h"

using namespace reelwright;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    std::int16_t numbers[3];
    std::memcpy(numbers, data, sizeof numbers);
    const auto [first, last, index] = numbers;
    const auto [name, gameType] = fuzzing::SplitFirstLine(fuzzing::AsText(data + 6, size - 6));

    std::string entry;
    try {
        entry = basBuildConfigs::BuildDemoEntry(first, last, index, name, gameType);
    } catch (const std::overflow_error&) {
        // Only a neighbour beyond the 16-bit range is refused.
        FUZZ_CHECK(index == 32767 || index == -32768);
        return 0;
    }
    FUZZ_CHECK(entry.size() >= 2 && entry.compare(entry.size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(entry.compare(0, 17, "seta fs_gametype ") == 0);

    // As Launch checks a queue of two or more: the entry's names go into the script.
    DemoQueue queue;
    queue.Append({"first.dm_2004", "base\\mp", ""});
    queue.Append({std::string(name), std::string(gameType), ""});
    if (!FindConsoleNameProblems(queue, fuzzing::AsciiOnly).empty()) return 0;

    std::size_t quotes = 0;
    for (char c : entry) quotes += c == '"';
    FUZZ_CHECK(quotes == 2);
    FUZZ_CHECK(entry.find('\n') == entry.size() - 1);

    reelwright::test::ConsoleInterpreter console;
    console.Execute(entry);
    FUZZ_CHECK(console.Take().empty());
    if (!gameType.empty()) FUZZ_CHECK(console.Variable("fs_gametype") == std::string(gameType));
    console.Execute("vstr demo" + std::to_string(index));
    const auto played = console.Take("demo");
    if (name.empty()) return 0;
    FUZZ_CHECK(played.size() == 1 && played[0] == "demo " + std::string(name));
    return 0;
}
