#include "app/win/RegistrySettingsStore.h"

#include <stdexcept>
#include <vector>

#include "core/AppInfo.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

namespace {

std::wstring SectionPath(const std::string& application, const std::string& section) {
    return std::wstring(RegistrySettingsStore::kRootPath) + L"\\" + basAPI::Widen(application) + L"\\" +
           basAPI::Widen(section);
}

bool IsMissing(LSTATUS status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

}  // namespace

RegistrySettingsStore::RegistrySettingsStore() : application_(AppKey()) {}

std::string RegistrySettingsStore::GetSetting(const std::string& section, const std::string& key,
                                              const std::string& defaultValue) {
    basAPI::UniqueRegKey sectionKey;
    LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(application_, section).c_str(), 0,
                                     KEY_QUERY_VALUE, sectionKey.put());
    if (IsMissing(status)) return defaultValue;
    if (status != ERROR_SUCCESS) throw std::runtime_error("the settings cannot be read");

    const std::wstring valueName = basAPI::Widen(key);
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        status = ::RegQueryValueExW(sectionKey.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (IsMissing(status)) return defaultValue;
        if (status != ERROR_SUCCESS) throw std::runtime_error("the settings cannot be read");
        if (type != REG_SZ && type != REG_EXPAND_SZ) return defaultValue;

        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bufferSize = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = ::RegQueryValueExW(sectionKey.get(), valueName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &bufferSize);
        if (status == ERROR_MORE_DATA) continue;  // changed between the two reads
        if (IsMissing(status)) return defaultValue;
        if (status != ERROR_SUCCESS) throw std::runtime_error("the settings cannot be read");
        std::size_t length = bufferSize / sizeof(wchar_t);
        while (length > 0 && buffer[length - 1] == L'\0') --length;
        return basAPI::Narrow(std::wstring_view(buffer.data(), length));
    }
}

void RegistrySettingsStore::SaveSetting(const std::string& section, const std::string& key,
                                        const std::string& value) {
    basAPI::UniqueRegKey sectionKey;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(application_, section).c_str(), 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, sectionKey.put(), nullptr);
    if (status != ERROR_SUCCESS) throw std::runtime_error("the settings cannot be written");
    const std::wstring text = basAPI::Widen(value);
    status = ::RegSetValueExW(sectionKey.get(), basAPI::Widen(key).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) throw std::runtime_error("the settings cannot be written");
}

}  // namespace reelwright::win
