#include "core/AppInfo.h"

#include "core/Version.h"

namespace reelwright {

ProgramVersion CurrentVersion() {
    return {REELWRIGHT_VERSION_MAJOR, REELWRIGHT_VERSION_MINOR, REELWRIGHT_VERSION_REVISION};
}

std::string VersionText(const ProgramVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

std::string AppKey(const ProgramVersion& version) { return "Reelwright_" + VersionText(version); }

}  // namespace reelwright
