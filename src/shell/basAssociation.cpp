#include "shell/basAssociation.h"

#include <optional>

namespace basAssociation {

namespace {

using reelwright::ClassesRegistry;
using reelwright::MessageButtons;
using reelwright::MessageIcon;
using reelwright::UserPrompts;

void Report(UserPrompts& prompts, const char* text) {
    prompts.ShowMessage(text, kMessageTitle, MessageIcon::None, MessageButtons::Ok);
}

// One step of the registration: create or open `subkey` and write its default
// value when there is one. False when the registration must stop here.
bool WriteKey(ClassesRegistry& registry, UserPrompts& prompts, const std::string& subkey,
              const std::optional<std::string>& value) {
    ClassesRegistry::KeyId key{};
    if (!registry.CreateKey(subkey, key)) {
        Report(prompts, kCreateKeyError);
        if (!value) return true;  // a key without a value is not worth stopping for
        Report(prompts, kSetValueError);
        return false;
    }
    if (value && !registry.SetDefaultValue(key, *value)) {
        Report(prompts, kSetValueError);
        registry.CloseKey(key);
        return false;
    }
    registry.CloseKey(key);
    return true;
}

}  // namespace

std::string OpenCommand(const std::string& programPath) { return "\"" + programPath + "\" \"%1\""; }

void CreateFileAssociation(ClassesRegistry& registry, UserPrompts& prompts, const std::string& extension,
                           const std::string& programPath, const std::string& typeName,
                           const std::string& typeDescription, const std::string& iconPath) {
    const std::string shellKey = typeName + "\\shell";
    const std::string openKey = shellKey + "\\open";
    const std::string commandKey = openKey + "\\command";

    const struct {
        std::string subkey;
        std::optional<std::string> value;
    } steps[] = {
        {extension, typeName},
        {typeName, typeDescription},
        {typeName + "\\DefaultIcon", iconPath},
        {shellKey, std::nullopt},
        {openKey, std::nullopt},
        {commandKey, OpenCommand(programPath)},
    };
    for (const auto& step : steps) {
        if (!WriteKey(registry, prompts, step.subkey, step.value)) return;
    }
}

void RemoveFileAssociation(ClassesRegistry& registry, const std::string& typeName, const std::string& extension) {
    // The delete removes only keys without subkeys, so the deepest go first.
    const std::string keys[] = {
        extension,
        typeName + "\\DefaultIcon",
        typeName + "\\Shell\\Open\\Command",
        typeName + "\\Shell\\Open",
        typeName + "\\Shell",
        typeName,
    };
    for (const auto& key : keys) registry.DeleteKey(key);  // a missing key is no error here
    registry.NotifyAssociationsChanged();
}

void RequestProgramAssociation(ClassesRegistry& registry, UserPrompts& prompts,
                               const reelwright::ProgramLocation& location) {
    CreateFileAssociation(registry, prompts, kDemoExtension, location.ProgramPath(), kDemoTypeName,
                          kDemoTypeDescription, location.IconPath());
}

void RemoveProgramAssociation(ClassesRegistry& registry) {
    RemoveFileAssociation(registry, kDemoTypeName, kDemoExtension);
}

}  // namespace basAssociation
