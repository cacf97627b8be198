// An in-memory pair of classes roots (the machine's classes and the user's)
// that records every call. Key and value names compare without regard to
// case, as the registry's do; a key can only be deleted when it exists and has
// no subkeys. By default the two roots are kept apart, as Wine keeps them: the
// machine view is the machine's classes alone. With `windowsMergedView` the
// machine view merges them as Windows does in HKEY_CLASSES_ROOT: a key that
// the user's classes hold hides the machine's of that name (reads, writes and
// the deletion reach the user's), and a new key goes into the machine's.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/ClassesRegistry.h"
#include "support/Fakes.h"

namespace reelwright::test {

// Journal entries (also kept in `calls`), with the root written as "HKCR" for
// the machine view and "HKCU" for the user's classes: "create HKCR\<key>",
// "set HKCR\<key>=<value>", "close HKCR\<key>", "read HKCR\<key>",
// "delete HKCR\<key>", "delete value HKCR\<key>", "notify"; a named value
// follows the key in brackets: "set HKCR\<key>[<name>]=<value>".
class FakeClassesRegistry : public ClassesRegistry {
public:
    explicit FakeClassesRegistry(Journal* journal = nullptr) : journal_(journal) {}

    RegistryError CreateKey(ClassesRoot root, const std::string& subkey, KeyId& key) override;
    RegistryError SetValue(KeyId key, const std::string& name, const std::string& text) override;
    void CloseKey(KeyId key) override;
    RegistryError ReadValue(ClassesRoot root, const std::string& subkey, const std::string& name,
                            std::string& value) override;
    RegistryError DeleteValue(ClassesRoot root, const std::string& subkey, const std::string& name) override;
    RegistryError DeleteKey(ClassesRoot root, const std::string& subkey) override;
    void NotifyAssociationsChanged() override;

    // The seeding and reading helpers below address the stores themselves:
    // Machine is the machine's own classes, never the merged view.

    // Seeds a key (and its parents) with an optional default value.
    void Put(const std::string& subkey, std::optional<std::string> value = std::nullopt,
             ClassesRoot root = ClassesRoot::Machine);
    bool Exists(const std::string& subkey, ClassesRoot root = ClassesRoot::Machine) const;
    // The key's default value; nothing when the key or its value is missing.
    std::optional<std::string> DefaultValue(const std::string& subkey, ClassesRoot root = ClassesRoot::Machine) const;
    // Every key of the store as "<name>" or "<name>=<value>", sorted without
    // regard to case, each named value following as "<name>[<value name>]=<value>".
    std::vector<std::string> Dump(ClassesRoot root = ClassesRoot::Machine) const;

    bool windowsMergedView = false;

    using Place = std::pair<ClassesRoot, std::string>;  // root and key name (exact text)
    std::vector<std::string> calls;
    // Creations, value writes and deletions that fail, with the error they give.
    std::map<Place, RegistryError> failingCreates;
    std::map<Place, RegistryError> failingValues;
    std::map<Place, RegistryError> failingDeletes;
    // Roots where every creation, value write and deletion is refused with
    // access denied, as HKEY_CLASSES_ROOT is for a standard user.
    std::set<ClassesRoot> deniedRoots;
    int notifications = 0;
    // Handles handed out and not closed yet.
    std::map<KeyId, Place> openKeys;

    static std::string RootName(ClassesRoot root) { return root == ClassesRoot::Machine ? "HKCR" : "HKCU"; }

private:
    struct Entry {
        std::string name;
        std::optional<std::string> value;
        std::map<std::string, std::pair<std::string, std::string>> named;  // folded name -> name, value
    };
    using Keys = std::map<std::string, Entry>;  // folded name -> entry
    void Record(const std::string& entry);
    // The store that a call on `root` reaches for `subkey`.
    ClassesRoot StoreOf(ClassesRoot root, const std::string& subkey) const;
    RegistryError Failure(const std::map<Place, RegistryError>& failing, ClassesRoot root,
                          const std::string& subkey) const;
    static std::string Fold(const std::string& text);
    static std::string Name(ClassesRoot root, const std::string& subkey) { return RootName(root) + "\\" + subkey; }
    Keys& KeysOf(ClassesRoot root) { return keys_[root]; }
    const Keys* KeysOf(ClassesRoot root) const;

    Journal* journal_;
    std::map<ClassesRoot, Keys> keys_;
    std::map<KeyId, ClassesRoot> openStores_;  // the store each open key lies in
    KeyId nextKey_ = 1;
};

// Passes every call on to another classes registry (the real one, in the
// Windows tests), except that creations and deletions (of keys and of values)
// under the denied roots are refused with access denied, as a standard user's
// are under HKEY_CLASSES_ROOT. Reads pass through.
class DenyingClassesRegistry : public ClassesRegistry {
public:
    DenyingClassesRegistry(ClassesRegistry& inner, std::set<ClassesRoot> denied)
        : inner_(inner), denied_(std::move(denied)) {}

    RegistryError CreateKey(ClassesRoot root, const std::string& subkey, KeyId& key) override {
        return denied_.count(root) ? kRegistryAccessDenied : inner_.CreateKey(root, subkey, key);
    }
    RegistryError SetValue(KeyId key, const std::string& name, const std::string& text) override {
        return inner_.SetValue(key, name, text);
    }
    void CloseKey(KeyId key) override { inner_.CloseKey(key); }
    RegistryError ReadValue(ClassesRoot root, const std::string& subkey, const std::string& name,
                            std::string& value) override {
        return inner_.ReadValue(root, subkey, name, value);
    }
    RegistryError DeleteValue(ClassesRoot root, const std::string& subkey, const std::string& name) override {
        return denied_.count(root) ? kRegistryAccessDenied : inner_.DeleteValue(root, subkey, name);
    }
    RegistryError DeleteKey(ClassesRoot root, const std::string& subkey) override {
        return denied_.count(root) ? kRegistryAccessDenied : inner_.DeleteKey(root, subkey);
    }
    void NotifyAssociationsChanged() override { inner_.NotifyAssociationsChanged(); }

private:
    ClassesRegistry& inner_;
    std::set<ClassesRoot> denied_;
};

}  // namespace reelwright::test
