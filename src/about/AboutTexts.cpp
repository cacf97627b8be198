#include "about/AboutTexts.h"

namespace reelwright {

AboutTexts MakeAboutTexts(const ProgramVersion& version) {
    AboutTexts texts;
    texts.title = kAppTitle;
    texts.caption = "About " + texts.title;
    texts.version = "Version " + VersionText(version);
    // The first sentence has always read "Solder"; it is kept as it stands.
    texts.description =
        "App Description :\r\n"
        "This program was designed to allow Solder Of Fortune 2 demos to be played back without the hassle of "
        "loading the game first.\r\n"
        "This program allows you to also play back demo's that have been recorded using Soldier Of Fortune 2 mods.";
    return texts;
}

}  // namespace reelwright
