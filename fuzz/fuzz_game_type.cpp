// Game-type derivation with the inside test: "<game folder>\n<demo path>".
// An accepted path gives a well-formed game type and name that put the path
// together again; letter case and trailing separators of the folder change
// nothing.
#include <string>

#include "FuzzSupport.h"
#include "core/GameFolder.h"
#include "queue/DemoAdd.h"
#include "queue/GameType.h"

using namespace reelwright;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [folder, path] = fuzzing::SplitFirstLine(fuzzing::AsText(data, size));
    const DemoPlace place = CheckDemoFileForQueue(folder, path);

    // The same answer for the folder in other letters or with a separator more.
    const DemoPlace lower = CheckDemoFileForQueue(fuzzing::FoldAscii(folder), path);
    FUZZ_CHECK(lower.refusal == place.refusal && lower.gameType == place.gameType && lower.name == place.name);
    const DemoPlace trailing = CheckDemoFileForQueue(std::string(folder) + "\\", path);
    FUZZ_CHECK(trailing.refusal == place.refusal && trailing.gameType == place.gameType && trailing.name == place.name);

    const std::string_view joining = GameFolderForJoining(folder);
    FUZZ_CHECK(joining.empty() || (joining.back() != '\\' && joining.back() != '/'));
    if (joining.empty()) FUZZ_CHECK(place.refusal == DemoRefusal::NoGameFolder);

    if (!place.Accepted()) {
        FUZZ_CHECK(place.gameType.empty() && place.name.empty());
        return 0;
    }
    // Accepted paths are judged as the system opens them: "/" read as "\"
    // and "." and ".." steps resolved, in the path and in the folder.
    const std::string opened = WithoutDotSteps(path);
    const std::string openedFolder = WithoutDotSteps(folder);
    const std::string_view openedJoining = GameFolderForJoining(openedFolder);
    FUZZ_CHECK(IsInsideFolder(opened, openedFolder));
    FUZZ_CHECK(fuzzing::IsWellFormedGameType(place.gameType));
    FUZZ_CHECK(fuzzing::IsWellFormedName(place.name));

    // Folder, game type, "demos" and name give the path back.
    std::string rebuilt(opened.substr(0, openedJoining.size()));
    rebuilt += '\\';
    if (!place.gameType.empty()) rebuilt += place.gameType + "\\";
    rebuilt += "demos\\" + place.name;
    FUZZ_CHECK(rebuilt == opened);
    FUZZ_CHECK(fuzzing::FoldAscii(opened.substr(0, openedJoining.size())) == fuzzing::FoldAscii(openedJoining));

    // The game type of the file is the game type of its folder.
    FUZZ_CHECK(GetGameTypeFromPath(path, folder) == place.gameType);
    return 0;
}
