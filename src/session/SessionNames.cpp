#include "session/SessionNames.h"

#include <algorithm>

#include "core/Text.h"

namespace reelwright {

namespace {

// The command each bind number's key runs in the script.
constexpr std::array<const char*, 8> kBoundCommands{{
    "vstr demonext",     // 0: next demo
    "cl_freezedemo 0",   // 1: play
    "vstr paused",       // 2: pause/play toggle
    "stopdemo",          // 3: stop
    "vstr fast",         // 4: fast motion
    "vstr slomo",        // 5: slow motion
    "vstr 3rd_Person",   // 6: third-person view
    "vstr demopre",      // 7: previous demo
}};

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const std::string& listed) { return EqualIgnoringAsciiCase(listed, name); });
    if (!known) names.push_back(name);
}

}  // namespace

SessionNames ScriptSessionNames(const std::array<std::string, 8>& binds, std::size_t demoCount) {
    SessionNames names;
    for (std::size_t i = 0; i < binds.size(); ++i) {
        AddOnce(names.keys, binds[i]);
        AddOnce(names.commands, kBoundCommands[i]);
    }
    names.variables = {"demonext", "demopre", "fs_gametype"};
    names.variables.reserve(3 + demoCount);
    for (std::size_t i = 1; i <= demoCount; ++i) names.variables.push_back("demo" + std::to_string(i));
    return names;
}

void MergeSessionNames(SessionNames& names, const SessionNames& more) {
    for (const auto& key : more.keys) AddOnce(names.keys, key);
    for (const auto& command : more.commands) AddOnce(names.commands, command);
    for (const auto& variable : more.variables) AddOnce(names.variables, variable);
}

}  // namespace reelwright
