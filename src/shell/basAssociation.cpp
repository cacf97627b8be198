#include "shell/basAssociation.h"

#include <optional>
#include <vector>

#include "core/Text.h"

namespace basAssociation {

namespace {

using reelwright::ClassesRegistry;
using reelwright::ClassesRoot;
using reelwright::kRegistryAccessDenied;
using reelwright::kRegistryNotFound;
using reelwright::kRegistrySuccess;
using reelwright::MessageButtons;
using reelwright::MessageIcon;
using reelwright::RegistryError;
using reelwright::UserPrompts;

void Report(UserPrompts& prompts, const char* text) {
    prompts.ShowMessage(text, kMessageTitle, MessageIcon::None, MessageButtons::Ok);
}

struct Step {
    std::string subkey;
    std::optional<std::string> value;
    // A value of ours written after the default value: the extension's former type.
    std::optional<std::string> previousType = std::nullopt;
};

enum class StepResult { Next, Stop, AccessDenied };

// One step of the registration: create or open `subkey` and write its default
// value when there is one. With `quietDenial`, a refusal for lack of access is
// returned without a message so that the caller can write elsewhere.
StepResult WriteKey(ClassesRegistry& registry, UserPrompts& prompts, ClassesRoot root, const Step& step,
                    bool quietDenial) {
    ClassesRegistry::KeyId key{};
    const RegistryError created = registry.CreateKey(root, step.subkey, key);
    if (created != kRegistrySuccess) {
        if (quietDenial && created == kRegistryAccessDenied) return StepResult::AccessDenied;
        Report(prompts, kCreateKeyError);
        if (!step.value) return StepResult::Next;  // a key without a value is not worth stopping for
        Report(prompts, kSetValueError);
        return StepResult::Stop;
    }
    const auto write = [&](const std::string& name, const std::string& text) {
        const RegistryError written = registry.SetValue(key, name, text);
        if (written == kRegistrySuccess) return StepResult::Next;
        if (quietDenial && written == kRegistryAccessDenied) {
            registry.CloseKey(key);
            return StepResult::AccessDenied;
        }
        Report(prompts, kSetValueError);
        registry.CloseKey(key);
        return StepResult::Stop;
    };
    if (step.value) {
        if (const StepResult result = write("", *step.value); result != StepResult::Next) return result;
    }
    if (step.previousType) {
        if (const StepResult result = write(kPreviousTypeValueName, *step.previousType); result != StepResult::Next)
            return result;
    }
    registry.CloseKey(key);
    return StepResult::Next;
}

// The type that the extension's key in `root` names when it is not
// `typeName`: another program's, which removal gives back.
std::optional<std::string> ForeignType(ClassesRegistry& registry, ClassesRoot root, const std::string& extension,
                                       const std::string& typeName) {
    std::string value;
    if (registry.ReadDefaultValue(root, extension, value) != kRegistrySuccess) return std::nullopt;
    if (reelwright::EqualIgnoringAsciiCase(value, typeName)) return std::nullopt;
    return value;
}

// Runs every step under `root`; Next when all of them ran. The type's key
// (the second step) remembers what the extension named before, in the same
// root, when that was another type.
StepResult WriteSteps(ClassesRegistry& registry, UserPrompts& prompts, ClassesRoot root, std::vector<Step> steps,
                      bool quietDenial) {
    steps[1].previousType = ForeignType(registry, root, steps[0].subkey, *steps[0].value);
    for (const Step& step : steps) {
        const StepResult result = WriteKey(registry, prompts, root, step, quietDenial);
        if (result != StepResult::Next) return result;
    }
    return StepResult::Next;
}

// Where the extension's key in `root` still names `typeName`: gives it back
// the type it named before, or, when there was none, deletes the key, or
// only its default value when the key has subkeys of its own.
void GiveBackExtension(ClassesRegistry& registry, ClassesRoot root, const std::string& extension,
                       const std::string& typeName, const std::optional<std::string>& previousType,
                       AssociationRemoval& removal) {
    // Through the machine view on Windows, deleting the user's key can bring
    // the machine's own to light: that one is looked at as well.
    for (int round = 0; round < 2; ++round) {
        std::string value;
        if (registry.ReadDefaultValue(root, extension, value) != kRegistrySuccess) return;
        if (!reelwright::EqualIgnoringAsciiCase(value, typeName)) {
            removal.foreignExtensionKept = true;  // another program's: left as it is
            return;
        }
        if (previousType) {
            ClassesRegistry::KeyId key{};
            if (registry.CreateKey(root, extension, key) != kRegistrySuccess) return;
            if (registry.SetDefaultValue(key, *previousType) == kRegistrySuccess) removal.previousTypeRestored = true;
            registry.CloseKey(key);
            return;
        }
        if (registry.DeleteKey(root, extension) != kRegistrySuccess) {
            registry.DeleteValue(root, extension, "");  // a key with subkeys stays, naming nothing
            return;
        }
        ++removal.keysDeleted;
    }
}

// The key's default value as the shell finds it: through the machine view, or
// in the user's classes where the machine view does not have it (Wine's
// HKEY_CLASSES_ROOT does not show the user's classes).
std::optional<std::string> LookUp(ClassesRegistry& registry, const std::string& subkey) {
    std::string value;
    const RegistryError machine = registry.ReadDefaultValue(ClassesRoot::Machine, subkey, value);
    if (machine == kRegistrySuccess) return value;
    if (machine != kRegistryNotFound) return std::nullopt;
    if (registry.ReadDefaultValue(ClassesRoot::User, subkey, value) == kRegistrySuccess) return value;
    return std::nullopt;
}

}  // namespace

std::string OpenCommand(const std::string& programPath) { return "\"" + programPath + "\" \"%1\""; }

AssociationWritten CreateFileAssociation(ClassesRegistry& registry, UserPrompts& prompts, const std::string& extension,
                                         const std::string& programPath, const std::string& typeName,
                                         const std::string& typeDescription, const std::string& iconPath) {
    const std::string shellKey = typeName + "\\shell";
    const std::string openKey = shellKey + "\\open";
    const std::vector<Step> steps = {
        {extension, typeName},
        {typeName, typeDescription},
        {typeName + "\\DefaultIcon", iconPath},
        {shellKey, std::nullopt},
        {openKey, std::nullopt},
        {openKey + "\\command", OpenCommand(programPath)},
    };

    AssociationWritten written = AssociationWritten::Machine;
    StepResult result = WriteSteps(registry, prompts, ClassesRoot::Machine, steps, true);
    if (result == StepResult::AccessDenied) {
        written = AssociationWritten::User;
        result = WriteSteps(registry, prompts, ClassesRoot::User, steps, false);
    }
    if (result != StepResult::Next) return AssociationWritten::Failed;
    registry.NotifyAssociationsChanged();  // so that the shell shows the new icon at once
    return written;
}

AssociationRemoval RemoveFileAssociation(ClassesRegistry& registry, const std::string& typeName,
                                         const std::string& extension, const std::string& programPath) {
    // The delete removes only keys without subkeys, so the deepest go first.
    const std::string typeKeys[] = {
        typeName + "\\DefaultIcon", typeName + "\\Shell\\Open\\Command", typeName + "\\Shell\\Open",
        typeName + "\\Shell",       typeName,
    };
    AssociationRemoval removal;
    // The user's classes first: on Windows the machine view shows the user's
    // key where both hold one, so only after that is gone does it reach the
    // machine's own.
    for (ClassesRoot root : {ClassesRoot::User, ClassesRoot::Machine}) {
        // A type of that name that opens files with another program is not ours.
        std::string command;
        const RegistryError read = registry.ReadDefaultValue(root, typeName + "\\shell\\open\\command", command);
        if (read != kRegistrySuccess) continue;
        if (!reelwright::EqualIgnoringAsciiCase(command, OpenCommand(programPath))) {
            removal.foreignTypeKept = true;
            continue;
        }
        std::optional<std::string> previousType;
        if (std::string value; registry.ReadValue(root, typeName, kPreviousTypeValueName, value) == kRegistrySuccess)
            previousType = std::move(value);
        GiveBackExtension(registry, root, extension, typeName, previousType, removal);
        for (const auto& key : typeKeys)
            if (registry.DeleteKey(root, key) == kRegistrySuccess) ++removal.keysDeleted;  // missing keys are no error
    }
    registry.NotifyAssociationsChanged();
    return removal;
}

bool IsAssociationOurs(ClassesRegistry& registry, const std::string& extension, const std::string& typeName,
                       const std::string& programPath) {
    const auto type = LookUp(registry, extension);
    if (!type || !reelwright::EqualIgnoringAsciiCase(*type, typeName)) return false;
    const auto command = LookUp(registry, typeName + "\\shell\\open\\command");
    return command && reelwright::EqualIgnoringAsciiCase(*command, OpenCommand(programPath));
}

AssociationWritten RequestProgramAssociation(ClassesRegistry& registry, UserPrompts& prompts,
                                             const reelwright::ProgramLocation& location) {
    return CreateFileAssociation(registry, prompts, kDemoExtension, location.ProgramPath(), kDemoTypeName,
                                 kDemoTypeDescription, location.IconPath());
}

AssociationRemoval RemoveProgramAssociation(ClassesRegistry& registry, const reelwright::ProgramLocation& location) {
    return RemoveFileAssociation(registry, kDemoTypeName, kDemoExtension, location.ProgramPath());
}

bool IsProgramAssociated(ClassesRegistry& registry, const reelwright::ProgramLocation& location) {
    return IsAssociationOurs(registry, kDemoExtension, kDemoTypeName, location.ProgramPath());
}

}  // namespace basAssociation
