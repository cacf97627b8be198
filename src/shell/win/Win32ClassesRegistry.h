// The file classes of the real registry, for the file association: the
// machine view HKEY_CLASSES_ROOT and the user's HKEY_CURRENT_USER\Software\Classes.
// Open keys are held here until they are closed.
#pragma once

#include <windows.h>

#include <map>

#include "core/ClassesRegistry.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

class Win32ClassesRegistry : public ClassesRegistry {
public:
    RegistryError CreateKey(ClassesRoot root, const std::string& subkey, KeyId& key) override;
    RegistryError SetValue(KeyId key, const std::string& name, const std::string& text) override;
    void CloseKey(KeyId key) override;
    RegistryError ReadValue(ClassesRoot root, const std::string& subkey, const std::string& name,
                            std::string& value) override;
    RegistryError DeleteValue(ClassesRoot root, const std::string& subkey, const std::string& name) override;
    RegistryError DeleteKey(ClassesRoot root, const std::string& subkey) override;
    void NotifyAssociationsChanged() override;

private:
    std::map<KeyId, basAPI::UniqueRegKey> open_;
    KeyId nextKey_ = 1;
};

}  // namespace reelwright::win
