#include "shell/win/Win32ClassesRegistry.h"

#include <shlobj.h>

#include <limits>

namespace reelwright::win {

bool Win32ClassesRegistry::CreateKey(const std::string& subkey, KeyId& key) {
    basAPI::UniqueRegKey handle;
    DWORD disposition = 0;
    const LSTATUS status = ::RegCreateKeyExW(root_, basAPI::Widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, handle.put(), &disposition);
    if (status != ERROR_SUCCESS) return false;
    key = nextKey_++;
    open_[key] = std::move(handle);
    return true;
}

bool Win32ClassesRegistry::SetDefaultValue(KeyId key, const std::string& text) {
    const auto open = open_.find(key);
    if (open == open_.end()) return false;
    const std::wstring wide = basAPI::Widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);  // terminating NUL included
    if (bytes > std::numeric_limits<DWORD>::max()) return false;
    return ::RegSetValueExW(open->second.get(), L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                            static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

void Win32ClassesRegistry::CloseKey(KeyId key) { open_.erase(key); }

bool Win32ClassesRegistry::DeleteKey(const std::string& subkey) {
    // RegDeleteKeyW removes only a key without subkeys.
    return ::RegDeleteKeyW(root_, basAPI::Widen(subkey).c_str()) == ERROR_SUCCESS;
}

void Win32ClassesRegistry::NotifyAssociationsChanged() {
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace reelwright::win
