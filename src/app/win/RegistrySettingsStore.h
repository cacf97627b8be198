// The settings store in the registry: one REG_SZ value per key under
// HKEY_CURRENT_USER\Software\Reelwright\<application>\<section>.
#pragma once

#include "core/SettingsStore.h"

namespace reelwright::win {

class RegistrySettingsStore : public SettingsStore {
public:
    static constexpr const wchar_t* kRootPath = L"Software\\Reelwright";

    std::string GetSetting(const std::string& application, const std::string& section, const std::string& key,
                           const std::string& defaultValue = "") override;
    void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace reelwright::win
