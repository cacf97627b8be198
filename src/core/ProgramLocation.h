// Where the running program lies, for the script file, the association's
// command and its icon.
#pragma once

#include <string>

namespace reelwright {

struct ProgramLocation {
    std::string folder;    // "C:\Games\Tools" (no trailing separator)
    std::string baseName;  // "Reelwright" (file name without extension)

    // folder + "\" + baseName + ".exe"
    std::string ProgramPath() const { return folder + "\\" + baseName + ".exe"; }
    // folder + "\Graphics\sof2.ico"
    std::string IconPath() const { return folder + "\\Graphics\\sof2.ico"; }
};

}  // namespace reelwright
