#include "shell/win/basFunctions.h"

#include <shellapi.h>

#include "core/win/basAPI.h"

namespace basFunctions {

std::intptr_t ShellOpen(HWND owner, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showMode) {
    const HINSTANCE result =
        ::ShellExecuteW(owner, L"Open", basAPI::Widen(file).c_str(), basAPI::Widen(parameters).c_str(),
                        basAPI::Widen(directory).c_str(), showMode);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace basFunctions
