// The command-line tail and the direct playback's parameters:
// "<game folder>\n<tail>". The demo path is the trimmed tail without its
// quotes; a demo that the direct playback accepts reaches the game's console
// whole, with its game type and the game folder.
#include <string>

#include "FuzzSupport.h"
#include "core/GameFolder.h"
#include "queue/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "queue/DemoAdd.h"
#include "support/ConsoleInterpreter.h"

using namespace reelwright;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [folder, tail] = fuzzing::SplitFirstLine(fuzzing::AsText(data, size));

    const std::string path = DemoPathFromCommandLineTail(tail);
    FUZZ_CHECK(path.size() <= tail.size());
    FUZZ_CHECK(path.empty() || (path.front() != ' ' && path.back() != ' '));
    FUZZ_CHECK(tail.find(path) != std::string_view::npos);

    const DemoPlace place = CheckDemoFileForQueue(folder, path);
    if (!place.Accepted()) return 0;
    FUZZ_CHECK(fuzzing::IsWellFormedGameType(place.gameType));
    FUZZ_CHECK(fuzzing::IsWellFormedName(place.name));

    const std::string parameters = DirectPlaybackParameters(folder, place);
    FUZZ_CHECK(parameters.compare(0, 18, "+set fs_basepath \"") == 0);
    FUZZ_CHECK(parameters.size() >= place.name.size() + 2);
    FUZZ_CHECK(parameters.compare(parameters.size() - place.name.size() - 2, std::string::npos,
                                  "\"" + place.name + "\"") == 0);

    // What the game does with it, when the console rules let it through.
    DemoQueue alone;
    alone.Append({place.name, place.gameType, path});
    if (!FindConsoleNameProblems(alone, fuzzing::AsciiOnly).empty() || GameFolderBreakingCharacter(folder)) return 0;
    // A name the rules accept still must not close the quotes around it.
    FUZZ_CHECK(place.name.find('"') == std::string::npos);

    reelwright::test::ConsoleInterpreter console;
    console.ExecuteCommandLine(parameters);
    const auto demos = console.Take("demo");
    FUZZ_CHECK(demos.size() == 1 && demos[0] == "demo " + place.name);
    FUZZ_CHECK(console.Variable("fs_basepath") == GameFolderForGame(folder));
    if (!place.gameType.empty()) FUZZ_CHECK(console.Variable("fs_game") == place.gameType);
    return 0;
}
