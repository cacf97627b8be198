// The texts of the About box: the ones it sets when it loads, and the credits.
#pragma once

#include <array>
#include <string>

#include "core/AppInfo.h"

namespace reelwright {

struct AboutTexts {
    std::string caption;      // "About Reelwright"
    std::string version;      // "Version 1.0.15"
    std::string title;        // "Reelwright"
    std::string description;  // "App Description :", then the two sentences, CR LF between
};

// The texts for the program of `version`.
AboutTexts MakeAboutTexts(const ProgramVersion& version = CurrentVersion());

// The credits block: "- <role> : <name> (<nickname>)".
inline constexpr std::array<const char*, 4> kCreditLines{
    "- Lead Developer : Tom Vale (Reel)",
    "- Graphics : Ida Kell (Pix)",
    "- Scripts : Max Orr (Cue)",
    "- Publicist : Eve Lunn (Buzz)",
};
inline constexpr const char* kDevelopmentTeamHeading = "Development Team";
inline constexpr const char* kVisitHeading = "Visit:";
inline constexpr const char* kWebAddress = "www.reelwright.example";

}  // namespace reelwright
