#include "launch/GameCommandLine.h"

#include "core/Text.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

namespace {

constexpr std::string_view kDemosFolder = "\\demos";

std::string CommonStart(std::string_view gameFolder, std::string_view gameType) {
    std::string text = "+set fs_basepath \"";
    text += gameFolder;
    text += "\" +set fs_game ";
    text += gameType;
    text += "+demo ";
    return text;
}

}  // namespace

std::optional<DemoLocation> LocateDemoInGameFolder(std::string_view gameFolder, std::string_view demoPath) {
    if (demoPath.substr(0, gameFolder.size()) != gameFolder) return std::nullopt;
    // The game folder must be followed by a separator: "C:\Games\SOF2X\..." is
    // not inside "C:\Games\SOF2".
    if (demoPath.size() <= gameFolder.size() || demoPath[gameFolder.size()] != '\\') return std::nullopt;

    // The first "\demos" after the game folder (one inside the folder's own
    // name does not count).
    const std::size_t demos = demoPath.find(kDemosFolder, gameFolder.size());
    if (demos == std::string_view::npos) return std::nullopt;

    DemoLocation location;
    // "\demos" right after the game folder: the game folder's own demos folder.
    if (demos > gameFolder.size()) location.gameType = demoPath.substr(gameFolder.size() + 1, demos - gameFolder.size() - 1);
    const std::size_t demoStart = demos + kDemosFolder.size() + 1;
    if (demoStart <= demoPath.size()) location.demo = demoPath.substr(demoStart);
    return location;
}

std::string DirectPlaybackParameters(std::string_view gameFolder, const DemoLocation& location) {
    return CommonStart(gameFolder, location.gameType) + "\"" + location.demo + "\"";
}

std::string OneDemoParameters(std::string_view gameFolder, std::string_view gameType, std::string_view name,
                              std::string_view optionalParameters) {
    std::string text = CommonStart(gameFolder, gameType);
    text += name;
    const std::string optional = TrimBlanks(optionalParameters);
    if (!optional.empty()) text += " " + optional;
    return text;
}

std::string ManyDemosParameters(std::string_view gameFolder, std::string_view gameType, std::string_view name) {
    std::string text = CommonStart(gameFolder, gameType);
    text += name;
    text += "+exec ";
    text += kScriptFileName;
    return text;
}

std::string DemoPathFromCommandLineTail(std::string_view tail) {
    std::string path = TrimBlanks(tail);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = TrimBlanks(path.substr(1, path.size() - 2));
    return path;
}

}  // namespace reelwright
