// Registers Reelwright as the program that opens ".dm_2004" demo files, tells
// whether that registration is ours, and removes what of it is ours.
//
// Where it writes: the six keys go through the machine view
// (HKEY_CLASSES_ROOT, which stores new keys in HKLM\Software\Classes). A user
// who may not write there (a standard user, or an administrator without
// elevation) is refused with access denied; the six keys then go into the
// user's own classes (HKCU\Software\Classes), which the shell reads for that
// user ahead of the machine's.
#pragma once

#include <string>

#include "core/ClassesRegistry.h"
#include "core/ProgramLocation.h"
#include "core/UserPrompts.h"

namespace basAssociation {

inline constexpr const char* kDemoExtension = ".dm_2004";
inline constexpr const char* kDemoTypeName = "SOF2_Demo_File";
inline constexpr const char* kDemoTypeDescription = "SOF2 Demo File";
// The value under the type's key that keeps the type the extension named
// before the association took it over.
inline constexpr const char* kPreviousTypeValueName = "Reelwright Previous Type";

inline constexpr const char* kCreateKeyError = "Error: Creating Key!";
inline constexpr const char* kSetValueError = "Error Setting String Value!";
inline constexpr const char* kMessageTitle = "Reelwright";

// Where CreateFileAssociation wrote the six keys.
enum class AssociationWritten {
    Machine,  // through HKEY_CLASSES_ROOT
    User,     // in HKEY_CURRENT_USER\Software\Classes, after the machine view refused access
    Failed,   // not all of them: the failure has been shown
};

// Creates (or opens) six keys in order: the extension, the type, its
// DefaultIcon, shell, shell\open and shell\open\command, writing the default
// values of those that carry one, first through the machine view. When a step
// there is refused with access denied, all six are written again under the
// user's classes, without a message for the refusal. Any other failure (or a
// failure in the user's classes) is reported in a message box; the operation
// ends where a value could not be written. After a complete write the shell is
// told that associations changed.
// When the extension named another type in the root written, the type's key
// also keeps that type, as kPreviousTypeValueName, for removal to give back.
AssociationWritten CreateFileAssociation(reelwright::ClassesRegistry& registry, reelwright::UserPrompts& prompts,
                                         const std::string& extension, const std::string& programPath,
                                         const std::string& typeName, const std::string& typeDescription,
                                         const std::string& iconPath);

// What RemoveFileAssociation did, over both roots.
struct AssociationRemoval {
    int keysDeleted = 0;
    // An extension key whose default value names another type was left alone.
    bool foreignExtensionKept = false;
    // A type of our name whose open command starts another program was left alone.
    bool foreignTypeKept = false;
    // The extension names again the type it named before it was taken over.
    bool previousTypeRestored = false;
};

// In the user's classes and then through the machine view, in each only where
// the type's shell\open\command there is OpenCommand(programPath): where the
// extension's key still names `typeName`, gives it back the type it named
// before (kPreviousTypeValueName), or deletes the key when there was none, or
// only its default value when the key has subkeys of its own; then deletes
// the type's keys (subkeys first). Failures are ignored silently. Then tells
// the shell that associations changed.
AssociationRemoval RemoveFileAssociation(reelwright::ClassesRegistry& registry, const std::string& typeName,
                                         const std::string& extension, const std::string& programPath);

// True when the extension, read through the machine view (or, where it is not
// found there, in the user's classes), names `typeName`, and the type's
// shell\open\command, read the same way, is OpenCommand(programPath). Both
// compare without regard to ASCII case, as key names and Windows paths do.
bool IsAssociationOurs(reelwright::ClassesRegistry& registry, const std::string& extension,
                       const std::string& typeName, const std::string& programPath);

// The association of ".dm_2004" with the running program.
AssociationWritten RequestProgramAssociation(reelwright::ClassesRegistry& registry, reelwright::UserPrompts& prompts,
                                             const reelwright::ProgramLocation& location);
AssociationRemoval RemoveProgramAssociation(reelwright::ClassesRegistry& registry,
                                            const reelwright::ProgramLocation& location);
bool IsProgramAssociated(reelwright::ClassesRegistry& registry, const reelwright::ProgramLocation& location);

// The command the shell runs to open a file: "<program>" "%1".
std::string OpenCommand(const std::string& programPath);

}  // namespace basAssociation
