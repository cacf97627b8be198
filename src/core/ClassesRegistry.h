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
    // Writes the key's default (unnamed) value as REG_SZ.
    virtual RegistryError SetDefaultValue(KeyId key, const std::string& text) = 0;
    virtual void CloseKey(KeyId key) = 0;
    // Reads the key's default value. kRegistryNotFound when the key or its
    // default value is missing; kRegistryInvalidData when it is not a text.
    virtual RegistryError ReadDefaultValue(ClassesRoot root, const std::string& subkey, std::string& value) = 0;
    // Deletes a key that has no subkeys.
    virtual RegistryError DeleteKey(ClassesRoot root, const std::string& subkey) = 0;
    // Tells the shell that file associations changed (SHCNE_ASSOCCHANGED).
    virtual void NotifyAssociationsChanged() = 0;
};

}  // namespace reelwright
