#include "launch/GameCommandLine.h"

#include "core/GameFolder.h"
#include "core/Text.h"
#include "queue/ConsoleNames.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

namespace {

std::string CommonStart(std::string_view gameFolder, std::string_view gameType) {
    std::string text = "+set fs_basepath \"";
    text += GameFolderForGame(gameFolder);
    text += "\" +set fs_game ";
    text += gameType;
    text += "+demo ";
    return text;
}

}  // namespace

std::string DirectPlaybackParameters(std::string_view gameFolder, const DemoPlace& place) {
    return CommonStart(gameFolder, place.gameType) + "\"" + place.name + "\"";
}

std::string OneDemoParameters(std::string_view gameFolder, std::string_view gameType, std::string_view name,
                              std::string_view optionalParameters) {
    std::string text = CommonStart(gameFolder, gameType);
    if (NameNeedsQuotes(name)) {
        text += '"';
        text += name;
        text += '"';
    } else {
        text += name;
    }
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
