#include "shell/win/basFunctions.h"

#include <shellapi.h>

#include "core/win/basAPI.h"

namespace basFunctions {

DWORD ShellOpen(HWND owner, const std::string& file, const std::string& parameters, const std::string& directory,
                int showMode) {
    const std::wstring wideFile = basAPI::Widen(file);
    const std::wstring wideParameters = basAPI::Widen(parameters);
    const std::wstring wideDirectory = basAPI::Widen(directory);
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner;
    request.lpVerb = L"open";
    request.lpFile = wideFile.c_str();
    request.lpParameters = wideParameters.c_str();
    request.lpDirectory = wideDirectory.c_str();
    request.nShow = showMode;
    if (::ShellExecuteExW(&request)) return 0;
    const DWORD error = ::GetLastError();
    // A failure must never read as a start.
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

}  // namespace basFunctions
