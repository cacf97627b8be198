#include "shell/win/Win32GameShell.h"

#include <shlobj.h>

#include "core/win/basAPI.h"
#include "shell/win/basFunctions.h"

namespace reelwright::win {

std::uint32_t Win32GameShell::ShellOpen(const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showMode) {
    return basFunctions::ShellOpen(owner_, file, parameters, directory, showMode);
}

std::string Win32GameShell::ErrorText(std::uint32_t code) { return basAPI::Narrow(basAPI::SystemMessage(code)); }

bool Win32GameShell::FitsAnsiCodePage(const std::string& text) {
    const std::wstring wide = basAPI::Widen(text);
    if (wide.empty()) return true;
    const UINT codePage = ::GetACP();
    // UTF-8 as the ANSI code page holds every character; the other code pages
    // tell whether a character had to be replaced (no best-fit look-alikes).
    if (codePage == CP_UTF8) return true;
    BOOL replaced = FALSE;
    const int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                             nullptr, 0, nullptr, &replaced);
    return length > 0 && !replaced;
}

std::uint32_t Win32GameShell::ShowInFolder(const std::string& path) {
    // The shell's objects want COM on this thread; balanced on return.
    const basAPI::ComApartment apartment;
    basAPI::UniqueCoTaskMem<ITEMIDLIST> item;
    HRESULT result = ::SHParseDisplayName(basAPI::Widen(path).c_str(), nullptr, item.put(), 0, nullptr);
    if (SUCCEEDED(result)) result = ::SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0);
    if (SUCCEEDED(result)) return 0;
    return HRESULT_FACILITY(result) == FACILITY_WIN32 ? static_cast<std::uint32_t>(HRESULT_CODE(result))
                                                      : static_cast<std::uint32_t>(result);
}

}  // namespace reelwright::win
