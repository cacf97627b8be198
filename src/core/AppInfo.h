// Names and version texts that several windows share.
#pragma once

#include <string>

namespace reelwright {

struct ProgramVersion {
    int major;
    int minor;
    int revision;
};

// The running program's version, from Version.h.
ProgramVersion CurrentVersion();

// "major.minor.revision", plain decimal without leading zeros: "1.0.15".
std::string VersionText(const ProgramVersion& version = CurrentVersion());

// The application name under which every setting is stored: "Reelwright_1.0.15".
std::string AppKey(const ProgramVersion& version = CurrentVersion());

// The product name, also the title of message boxes without a title of their own.
inline constexpr const char* kAppTitle = "Reelwright";

}  // namespace reelwright
