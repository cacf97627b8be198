#include "support/FakeClassesRegistry.h"

#include <cctype>

namespace reelwright::testing {

std::string FakeClassesRegistry::Fold(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

void FakeClassesRegistry::Record(const std::string& entry) {
    calls.push_back(entry);
    if (journal_) journal_->Add(entry);
}

void FakeClassesRegistry::Put(const std::string& subkey, std::optional<std::string> value) {
    // Parents exist whenever a child does.
    for (std::size_t at = subkey.find('\\'); at != std::string::npos; at = subkey.find('\\', at + 1)) {
        const std::string parent = subkey.substr(0, at);
        keys_.try_emplace(Fold(parent), Entry{parent, std::nullopt});
    }
    auto [entry, created] = keys_.try_emplace(Fold(subkey), Entry{subkey, std::nullopt});
    if (value) entry->second.value = std::move(value);
}

bool FakeClassesRegistry::CreateKey(const std::string& subkey, KeyId& key) {
    Record("create " + subkey);
    if (failingCreates.count(subkey)) return false;
    Put(subkey);
    key = nextKey_++;
    openKeys[key] = subkey;
    return true;
}

bool FakeClassesRegistry::SetDefaultValue(KeyId key, const std::string& text) {
    const auto open = openKeys.find(key);
    const std::string name = open == openKeys.end() ? "<closed key>" : open->second;
    Record("set " + name + "=" + text);
    if (open == openKeys.end() || failingValues.count(name)) return false;
    keys_[Fold(name)].value = text;
    return true;
}

void FakeClassesRegistry::CloseKey(KeyId key) {
    const auto open = openKeys.find(key);
    Record("close " + (open == openKeys.end() ? std::string("<closed key>") : open->second));
    if (open != openKeys.end()) openKeys.erase(open);
}

bool FakeClassesRegistry::DeleteKey(const std::string& subkey) {
    Record("delete " + subkey);
    const std::string folded = Fold(subkey);
    const auto found = keys_.find(folded);
    if (found == keys_.end()) return false;
    const std::string childPrefix = folded + "\\";
    const auto child = keys_.lower_bound(childPrefix);
    if (child != keys_.end() && child->first.rfind(childPrefix, 0) == 0) return false;  // has subkeys
    keys_.erase(found);
    return true;
}

void FakeClassesRegistry::NotifyAssociationsChanged() {
    Record("notify");
    ++notifications;
}

bool FakeClassesRegistry::Exists(const std::string& subkey) const { return keys_.count(Fold(subkey)) != 0; }

std::optional<std::string> FakeClassesRegistry::DefaultValue(const std::string& subkey) const {
    const auto found = keys_.find(Fold(subkey));
    if (found == keys_.end()) return std::nullopt;
    return found->second.value;
}

std::vector<std::string> FakeClassesRegistry::Dump() const {
    std::vector<std::string> lines;
    for (const auto& [folded, entry] : keys_)
        lines.push_back(entry.value ? entry.name + "=" + *entry.value : entry.name);
    return lines;
}

}  // namespace reelwright::testing
