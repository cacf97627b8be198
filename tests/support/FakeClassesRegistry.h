// An in-memory classes root that records every call. Key names compare
// without regard to case, as the registry's do; a key can only be deleted when
// it exists and has no subkeys.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/ClassesRegistry.h"
#include "support/Fakes.h"

namespace reelwright::testing {

// Journal entries (also kept in `calls`): "create <key>", "set <key>=<value>",
// "close <key>", "delete <key>", "notify".
class FakeClassesRegistry : public ClassesRegistry {
public:
    explicit FakeClassesRegistry(Journal* journal = nullptr) : journal_(journal) {}

    bool CreateKey(const std::string& subkey, KeyId& key) override;
    bool SetDefaultValue(KeyId key, const std::string& text) override;
    void CloseKey(KeyId key) override;
    bool DeleteKey(const std::string& subkey) override;
    void NotifyAssociationsChanged() override;

    // Seeds a key (and its parents) with an optional default value.
    void Put(const std::string& subkey, std::optional<std::string> value = std::nullopt);
    bool Exists(const std::string& subkey) const;
    // The key's default value; nothing when the key or its value is missing.
    std::optional<std::string> DefaultValue(const std::string& subkey) const;
    // Every key as "<name>" or "<name>=<value>", sorted without regard to case.
    std::vector<std::string> Dump() const;

    std::vector<std::string> calls;
    std::set<std::string> failingCreates;  // keys (exact text) whose creation fails
    std::set<std::string> failingValues;   // keys (exact text) whose value cannot be written
    int notifications = 0;
    // Handles handed out and not closed yet.
    std::map<KeyId, std::string> openKeys;

private:
    struct Entry {
        std::string name;
        std::optional<std::string> value;
    };
    void Record(const std::string& entry);
    static std::string Fold(const std::string& text);

    Journal* journal_;
    std::map<std::string, Entry> keys_;  // folded name -> entry
    KeyId nextKey_ = 1;
};

}  // namespace reelwright::testing
