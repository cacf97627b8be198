// The classes root of the real registry (HKEY_CLASSES_ROOT), for the file
// association. Open keys are held here until they are closed.
#pragma once

#include <windows.h>

#include <map>

#include "core/ClassesRegistry.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

class Win32ClassesRegistry : public ClassesRegistry {
public:
    bool CreateKey(const std::string& subkey, KeyId& key) override;
    bool SetDefaultValue(KeyId key, const std::string& text) override;
    void CloseKey(KeyId key) override;
    bool DeleteKey(const std::string& subkey) override;
    void NotifyAssociationsChanged() override;

private:
    // The machine-wide classes root: the association is for every user.
    HKEY root_ = HKEY_CLASSES_ROOT;
    std::map<KeyId, basAPI::UniqueRegKey> open_;
    KeyId nextKey_ = 1;
};

}  // namespace reelwright::win
