#include "shell/win/Win32ClassesRegistry.h"

#include <shlobj.h>

#include <cwchar>
#include <limits>

namespace reelwright::win {

namespace {

// The registry key and path that `subkey` of `root` lies at.
struct Place {
    HKEY key;
    std::wstring path;
};

Place PlaceOf(ClassesRoot root, const std::string& subkey) {
    if (root == ClassesRoot::User) return {HKEY_CURRENT_USER, L"Software\\Classes\\" + basAPI::Widen(subkey)};
    return {HKEY_CLASSES_ROOT, basAPI::Widen(subkey)};
}

}  // namespace

RegistryError Win32ClassesRegistry::CreateKey(ClassesRoot root, const std::string& subkey, KeyId& key) {
    const Place place = PlaceOf(root, subkey);
    basAPI::UniqueRegKey handle;
    DWORD disposition = 0;
    const LSTATUS status = ::RegCreateKeyExW(place.key, place.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, handle.put(), &disposition);
    if (status != ERROR_SUCCESS) return status;
    key = nextKey_++;
    open_[key] = std::move(handle);
    return ERROR_SUCCESS;
}

RegistryError Win32ClassesRegistry::SetValue(KeyId key, const std::string& name, const std::string& text) {
    const auto open = open_.find(key);
    if (open == open_.end()) return ERROR_INVALID_HANDLE;
    const std::wstring wide = basAPI::Widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);  // terminating NUL included
    if (bytes > std::numeric_limits<DWORD>::max()) return ERROR_INVALID_PARAMETER;
    return ::RegSetValueExW(open->second.get(), basAPI::Widen(name).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(wide.c_str()), static_cast<DWORD>(bytes));
}

void Win32ClassesRegistry::CloseKey(KeyId key) { open_.erase(key); }

RegistryError Win32ClassesRegistry::ReadValue(ClassesRoot root, const std::string& subkey, const std::string& name,
                                              std::string& value) {
    const Place place = PlaceOf(root, subkey);
    const std::wstring valueName = basAPI::Widen(name);
    DWORD bytes = 0;
    LSTATUS status =
        ::RegGetValueW(place.key, place.path.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
    // The value may grow between the calls: ask again with the new size while it does.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = ::RegGetValueW(place.key, place.path.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr, text.data(),
                                &bytes);
        if (status == ERROR_SUCCESS) {
            text.resize(::wcsnlen(text.c_str(), text.size()));  // RegGetValueW ends the text with a NUL
            value = basAPI::Narrow(text);
            return ERROR_SUCCESS;
        }
    }
    return status == ERROR_UNSUPPORTED_TYPE ? ERROR_INVALID_DATA : status;
}

RegistryError Win32ClassesRegistry::DeleteValue(ClassesRoot root, const std::string& subkey, const std::string& name) {
    const Place place = PlaceOf(root, subkey);
    basAPI::UniqueRegKey key;
    const LSTATUS opened = ::RegOpenKeyExW(place.key, place.path.c_str(), 0, KEY_SET_VALUE, key.put());
    if (opened != ERROR_SUCCESS) return opened;
    return ::RegDeleteValueW(key.get(), basAPI::Widen(name).c_str());
}

RegistryError Win32ClassesRegistry::DeleteKey(ClassesRoot root, const std::string& subkey) {
    const Place place = PlaceOf(root, subkey);
    // RegDeleteKeyW removes only a key without subkeys.
    return ::RegDeleteKeyW(place.key, place.path.c_str());
}

void Win32ClassesRegistry::NotifyAssociationsChanged() {
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace reelwright::win
