#include <stdexcept>

#include "app/win/Win32Prompts.h"
#include "shell/win/basFunctionsBrowse.h"

namespace reelwright::win {

std::string Win32Prompts::BrowseForFolder(const std::string& title) {
    auto folder = basFunctions::TryBrowseForFolder(owner_, title);
    if (!folder) throw std::runtime_error("the folder picker could not be shown");
    return *folder;
}

}  // namespace reelwright::win
