// The machine-wide classes root of the registry (HKEY_CLASSES_ROOT), as far as
// the file association needs it. Texts reach the registry in the ANSI code page
// on Windows; tests pass a recording fake.
#pragma once

#include <string>

namespace reelwright {

class ClassesRegistry {
public:
    virtual ~ClassesRegistry() = default;

    using KeyId = int;

    // Creates the key, or opens it when it exists; false when neither works.
    virtual bool CreateKey(const std::string& subkey, KeyId& key) = 0;
    // Writes the key's default (unnamed) value as REG_SZ; false on failure.
    virtual bool SetDefaultValue(KeyId key, const std::string& text) = 0;
    virtual void CloseKey(KeyId key) = 0;
    // Deletes a key that has no subkeys; false when it fails.
    virtual bool DeleteKey(const std::string& subkey) = 0;
    // Tells the shell that file associations changed (SHCNE_ASSOCCHANGED).
    virtual void NotifyAssociationsChanged() = 0;
};

}  // namespace reelwright
