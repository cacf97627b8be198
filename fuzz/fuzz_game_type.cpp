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
    const DemoPlace place = CheckDemoFileForQueue(path, folder);

    // The same answer for the folder in other letters or with a separator more.
    const DemoPlace lower = CheckDemoFileForQueue(path, fuzzing::FoldAscii(folder));
    FUZZ_CHECK(lower.refusal == place.refusal && lower.gameType == place.gameType && lower.name == place.name);
    const DemoPlace trailing = CheckDemoFileForQueue(path, std::string(folder) + "\\");
    FUZZ_CHECK(trailing.refusal == place.refusal && trailing.gameType == place.gameType && trailing.name == place.name);

    const std::string_view joining = GameFolderForJoining(folder);
    FUZZ_CHECK(joining.empty() || (joining.back() != '\\' && joining.back() != '/'));
    if (joining.empty()) FUZZ_CHECK(place.refusal == DemoRefusal::NoGameFolder);

    if (!place.Accepted()) {
        FUZZ_CHECK(place.gameType.empty() && place.name.empty());
        return 0;
    }
    FUZZ_CHECK(IsInsideFolder(path, folder));
    FUZZ_CHECK(fuzzing::IsWellFormedGameType(place.gameType));
    FUZZ_CHECK(fuzzing::IsWellFormedName(place.name));

    // Folder, game type, "demos" and name give the path back.
    std::string rebuilt(path.substr(0, joining.size()));
    rebuilt += '\\';
    if (!place.gameType.empty()) rebuilt += place.gameType + "\\";
    rebuilt += "demos\\" + place.name;
    FUZZ_CHECK(rebuilt == path);
    FUZZ_CHECK(fuzzing::FoldAscii(path.substr(0, joining.size())) == fuzzing::FoldAscii(joining));

    // The game type of the file is the game type of its folder.
    FUZZ_CHECK(GetGameTypeFromPath(path, folder) == place.gameType);
    return 0;
}
