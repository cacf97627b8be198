#include "shell/win/basFunctions.h"

#include <shlobj.h>

#include "core/win/ShellStart.h"
#include "core/win/basAPI.h"

namespace basFunctions {

DWORD ShellOpen(HWND owner, const std::string& file, const std::string& parameters, const std::string& directory,
                int showMode) {
    return reelwright::win::StartThroughShell(owner, L"open", basAPI::Widen(file), basAPI::Widen(parameters),
                                              basAPI::Widen(directory), showMode, false)
        .error;
}

namespace {

// Only notes that the picker came up, so that a picker that never appeared
// can be told apart from a cancel.
int CALLBACK NotePickerShown(HWND, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) *reinterpret_cast<bool*>(data) = true;
    return 0;
}

}  // namespace

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title) {
    const std::wstring wideTitle = basAPI::Widen(title);
    bool shown = false;

    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.pidlRoot = nullptr;  // the desktop
    request.pszDisplayName = nullptr;
    request.lpszTitle = wideTitle.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = &NotePickerShown;
    request.lParam = reinterpret_cast<LPARAM>(&shown);

    // The picker is the shell's, and the shell is COM's.
    const basAPI::ComApartment apartment;
    basAPI::UniqueCoTaskMem<ITEMIDLIST> item(::SHBrowseForFolderW(&request));
    if (!item) {
        if (!shown) return std::nullopt;
        return std::string();
    }
    // A path longer than MAX_PATH or an item outside the file system leaves the
    // buffer empty, which reads as nothing chosen.
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(item.get(), path)) path[0] = L'\0';
    return basAPI::Narrow(path);
}

}  // namespace basFunctions
