#include "support/FakeClassesRegistry.h"

#include <cctype>
#include <utility>

namespace reelwright::test {

std::string FakeClassesRegistry::Fold(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

void FakeClassesRegistry::Record(const std::string& entry) {
    calls.push_back(entry);
    if (journal_) journal_->Add(entry);
}

RegistryError FakeClassesRegistry::Failure(const std::map<Place, RegistryError>& failing, ClassesRoot root,
                                           const std::string& subkey) const {
    if (deniedRoots.count(root)) return kRegistryAccessDenied;
    const auto found = failing.find({root, subkey});
    return found == failing.end() ? kRegistrySuccess : found->second;
}

const FakeClassesRegistry::Keys* FakeClassesRegistry::KeysOf(ClassesRoot root) const {
    const auto found = keys_.find(root);
    return found == keys_.end() ? nullptr : &found->second;
}

void FakeClassesRegistry::Put(const std::string& subkey, std::optional<std::string> value, ClassesRoot root) {
    Keys& keys = KeysOf(root);
    // Parents exist whenever a child does.
    for (std::size_t at = subkey.find('\\'); at != std::string::npos; at = subkey.find('\\', at + 1)) {
        const std::string parent = subkey.substr(0, at);
        keys.try_emplace(Fold(parent), Entry{parent, std::nullopt, {}});
    }
    auto [entry, created] = keys.try_emplace(Fold(subkey), Entry{subkey, std::nullopt, {}});
    if (value) entry->second.value = std::move(value);
}

ClassesRoot FakeClassesRegistry::StoreOf(ClassesRoot root, const std::string& subkey) const {
    if (root == ClassesRoot::Machine && windowsMergedView && Exists(subkey, ClassesRoot::User)) return ClassesRoot::User;
    return root;
}

RegistryError FakeClassesRegistry::CreateKey(ClassesRoot root, const std::string& subkey, KeyId& key) {
    Record("create " + Name(root, subkey));
    if (const RegistryError error = Failure(failingCreates, root, subkey)) return error;
    const ClassesRoot store = StoreOf(root, subkey);
    Put(subkey, std::nullopt, store);
    key = nextKey_++;
    openKeys[key] = {root, subkey};
    openStores_[key] = store;
    return kRegistrySuccess;
}

RegistryError FakeClassesRegistry::SetValue(KeyId key, const std::string& name, const std::string& text) {
    const std::string shownName = name.empty() ? std::string() : "[" + name + "]";
    const auto open = openKeys.find(key);
    if (open == openKeys.end()) {
        Record("set <closed key>" + shownName + "=" + text);
        return 6;  // ERROR_INVALID_HANDLE
    }
    const auto [root, subkey] = open->second;
    Record("set " + Name(root, subkey) + shownName + "=" + text);
    if (const RegistryError error = Failure(failingValues, root, subkey)) return error;
    Entry& entry = KeysOf(openStores_[key])[Fold(subkey)];
    if (name.empty())
        entry.value = text;
    else
        entry.named[Fold(name)] = {name, text};
    return kRegistrySuccess;
}

void FakeClassesRegistry::CloseKey(KeyId key) {
    const auto open = openKeys.find(key);
    Record("close " + (open == openKeys.end() ? std::string("<closed key>")
                                              : Name(open->second.first, open->second.second)));
    if (open != openKeys.end()) openKeys.erase(open);
    openStores_.erase(key);
}

RegistryError FakeClassesRegistry::ReadValue(ClassesRoot root, const std::string& subkey, const std::string& name,
                                             std::string& value) {
    Record("read " + Name(root, subkey) + (name.empty() ? std::string() : "[" + name + "]"));
    const Keys* keys = std::as_const(*this).KeysOf(StoreOf(root, subkey));
    if (!keys) return kRegistryNotFound;
    const auto entry = keys->find(Fold(subkey));
    if (entry == keys->end()) return kRegistryNotFound;
    if (name.empty()) {
        if (!entry->second.value) return kRegistryNotFound;
        value = *entry->second.value;
        return kRegistrySuccess;
    }
    const auto named = entry->second.named.find(Fold(name));
    if (named == entry->second.named.end()) return kRegistryNotFound;
    value = named->second.second;
    return kRegistrySuccess;
}

RegistryError FakeClassesRegistry::DeleteValue(ClassesRoot root, const std::string& subkey, const std::string& name) {
    Record("delete value " + Name(root, subkey) + (name.empty() ? std::string() : "[" + name + "]"));
    if (const RegistryError error = Failure(failingDeletes, root, subkey)) return error;
    Keys& keys = KeysOf(StoreOf(root, subkey));
    const auto entry = keys.find(Fold(subkey));
    if (entry == keys.end()) return kRegistryNotFound;
    if (name.empty()) {
        if (!entry->second.value) return kRegistryNotFound;
        entry->second.value.reset();
        return kRegistrySuccess;
    }
    return entry->second.named.erase(Fold(name)) ? kRegistrySuccess : kRegistryNotFound;
}

RegistryError FakeClassesRegistry::DeleteKey(ClassesRoot root, const std::string& subkey) {
    Record("delete " + Name(root, subkey));
    if (const RegistryError error = Failure(failingDeletes, root, subkey)) return error;
    Keys& keys = KeysOf(StoreOf(root, subkey));
    const std::string folded = Fold(subkey);
    const auto found = keys.find(folded);
    if (found == keys.end()) return kRegistryNotFound;
    const std::string childPrefix = folded + "\\";
    const auto child = keys.lower_bound(childPrefix);
    if (child != keys.end() && child->first.rfind(childPrefix, 0) == 0) return kRegistryAccessDenied;  // has subkeys
    keys.erase(found);
    return kRegistrySuccess;
}

void FakeClassesRegistry::NotifyAssociationsChanged() {
    Record("notify");
    ++notifications;
}

bool FakeClassesRegistry::Exists(const std::string& subkey, ClassesRoot root) const {
    const Keys* keys = KeysOf(root);
    return keys && keys->count(Fold(subkey)) != 0;
}

std::optional<std::string> FakeClassesRegistry::DefaultValue(const std::string& subkey, ClassesRoot root) const {
    const Keys* keys = KeysOf(root);
    if (!keys) return std::nullopt;
    const auto found = keys->find(Fold(subkey));
    if (found == keys->end()) return std::nullopt;
    return found->second.value;
}

std::vector<std::string> FakeClassesRegistry::Dump(ClassesRoot root) const {
    std::vector<std::string> lines;
    if (const Keys* keys = KeysOf(root))
        for (const auto& [folded, entry] : *keys) {
            lines.push_back(entry.value ? entry.name + "=" + *entry.value : entry.name);
            for (const auto& [foldedName, named] : entry.named)
                lines.push_back(entry.name + "[" + named.first + "]=" + named.second);
        }
    return lines;
}

}  // namespace reelwright::test
