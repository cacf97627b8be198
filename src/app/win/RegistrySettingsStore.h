// The settings store in the registry: one REG_SZ value per key under
// HKEY_CURRENT_USER\Software\Reelwright\<application>\<section>, for the
// application key it was made for.
#pragma once

#include <string>
#include <utility>

#include "core/SettingsStore.h"

namespace reelwright::win {

class RegistrySettingsStore : public SettingsStore {
public:
    static constexpr const wchar_t* kRootPath = L"Software\\Reelwright";

    // The program's own settings, under AppKey.
    RegistrySettingsStore();
    explicit RegistrySettingsStore(std::string application) : application_(std::move(application)) {}

    std::string GetSetting(const std::string& section, const std::string& key,
                           const std::string& defaultValue = "") override;
    void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override;

private:
    std::string application_;
};

}  // namespace reelwright::win
