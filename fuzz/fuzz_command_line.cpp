// The command-line tail and the direct playback's parameters:
// "<game folder>\n<tail>". The demo path is the trimmed tail without its
// quotes; a demo that the direct playback accepts reaches the game's console
// whole, with its game type and the game folder.
#include <string>

#include "FuzzSupport.h"
#include "core/GameFolder.h"
#include "launch/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "support/ConsoleInterpreter.h"

using namespace reelwright;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [folder, tail] = fuzzing::SplitFirstLine(fuzzing::AsText(data, size));

    const std::string path = DemoPathFromCommandLineTail(tail);
    FUZZ_CHECK(path.size() <= tail.size());
    FUZZ_CHECK(path.empty() || (path.front() != ' ' && path.back() != ' '));
    FUZZ_CHECK(tail.find(path) != std::string_view::npos);

    const auto location = LocateDemoInGameFolder(folder, path);
    if (!location) return 0;
    FUZZ_CHECK(fuzzing::IsWellFormedGameType(location->gameType));
    FUZZ_CHECK(fuzzing::IsWellFormedName(location->demo));

    const std::string parameters = DirectPlaybackParameters(folder, *location);
    FUZZ_CHECK(parameters.compare(0, 18, "+set fs_basepath \"") == 0);
    FUZZ_CHECK(parameters.size() >= location->demo.size() + 2);
    FUZZ_CHECK(parameters.compare(parameters.size() - location->demo.size() - 2, std::string::npos,
                                  "\"" + location->demo + "\"") == 0);

    // What the game does with it, when the console rules let it through.
    DemoQueue alone;
    alone.Append({location->demo, location->gameType, path});
    if (!FindConsoleNameProblems(alone, fuzzing::AsciiOnly).empty() || GameFolderBreakingCharacter(folder)) return 0;
    // A name the rules accept still must not close the quotes around it.
    FUZZ_CHECK(location->demo.find('"') == std::string::npos);

    reelwright::test::ConsoleInterpreter console;
    console.ExecuteCommandLine(parameters);
    const auto demos = console.Take("demo");
    FUZZ_CHECK(demos.size() == 1 && demos[0] == "demo " + location->demo);
    FUZZ_CHECK(console.Variable("fs_basepath") == GameFolderForGame(folder));
    if (!location->gameType.empty()) FUZZ_CHECK(console.Variable("fs_game") == location->gameType);
    return 0;
}
