// The registry's file classes, as far as the file association needs them: the
// machine view (HKEY_CLASSES_ROOT) and the user's own classes
// (HKEY_CURRENT_USER\Software\Classes). Every call reports what happened as a
// Win32 error code, so that callers can tell a missing key or a refused write
// from success. Texts reach the registry as UTF-16 on Windows; tests pass a
// recording fake.
#pragma once

#include <string>

namespace reelwright {

enum class ClassesRoot {
    Machine,  // HKEY_CLASSES_ROOT: written keys land in HKLM\Software\Classes unless the user's classes hold them
    User,     // HKEY_CURRENT_USER\Software\Classes: always writable by the user
};

// A Win32 error code: 0 (ERROR_SUCCESS) when the call worked.
using RegistryError = long;
inline constexpr RegistryError kRegistrySuccess = 0;
inline constexpr RegistryError kRegistryNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr RegistryError kRegistryAccessDenied = 5;  // ERROR_ACCESS_DENIED
inline constexpr RegistryError kRegistryInvalidData = 13;  // ERROR_INVALID_DATA

class ClassesRegistry {
public:
    virtual ~ClassesRegistry() = default;

    using KeyId = int;

    // Creates the key, or opens it when it exists; `key` is valid on success.
    virtual RegistryError CreateKey(ClassesRoot root, const std::string& subkey, KeyId& key) = 0;
    // Writes the value `name` of the key as REG_SZ; the empty name is the
    // key's default (unnamed) value.
    virtual RegistryError SetValue(KeyId key, const std::string& name, const std::string& text) = 0;
    virtual void CloseKey(KeyId key) = 0;
    // Reads the value `name` of the key. kRegistryNotFound when the key or the
    // value is missing; kRegistryInvalidData when it is not a text.
    virtual RegistryError ReadValue(ClassesRoot root, const std::string& subkey, const std::string& name,
                                    std::string& value) = 0;
    // Deletes the value `name` of the key.
    virtual RegistryError DeleteValue(ClassesRoot root, const std::string& subkey, const std::string& name) = 0;
    // Deletes a key that has no subkeys.
    virtual RegistryError DeleteKey(ClassesRoot root, const std::string& subkey) = 0;

    RegistryError SetDefaultValue(KeyId key, const std::string& text) { return SetValue(key, "", text); }
    RegistryError ReadDefaultValue(ClassesRoot root, const std::string& subkey, std::string& value) {
        return ReadValue(root, subkey, "", value);
    }
    // Tells the shell that file associations changed (SHCNE_ASSOCCHANGED).
    virtual void NotifyAssociationsChanged() = 0;
};

}  // namespace reelwright
