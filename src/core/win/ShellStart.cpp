#include "core/win/ShellStart.h"

#include <shellapi.h>

#include "core/win/basAPI.h"

namespace reelwright::win {

ShellStart StartThroughShell(HWND owner, const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                             const std::wstring& directory, int showMode, bool keepProcess) {
    // The shell may start through COM; the start is over when the call
    // returns, before the apartment ends.
    const basAPI::ComApartment apartment;
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | (keepProcess ? SEE_MASK_NOCLOSEPROCESS : 0);
    request.hwnd = owner;
    request.lpVerb = verb;
    request.lpFile = file.c_str();
    request.lpParameters = parameters.c_str();
    request.lpDirectory = directory.c_str();
    request.nShow = showMode;
    ShellStart start;
    if (!::ShellExecuteExW(&request)) {
        const DWORD error = ::GetLastError();
        // A failure must never read as a start.
        start.error = error != 0 ? error : ERROR_GEN_FAILURE;
        return start;
    }
    if (keepProcess) start.process.reset(request.hProcess);
    return start;
}

}  // namespace reelwright::win
