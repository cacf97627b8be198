// Registers Reelwright as the program that opens ".dm_2004" demo files under
// the machine-wide classes root, and removes that registration again.
#pragma once

#include <string>

#include "core/ProgramLocation.h"
#include "core/UserPrompts.h"
#include "core/ClassesRegistry.h"

namespace basAssociation {

inline constexpr const char* kDemoExtension = ".dm_2004";
inline constexpr const char* kDemoTypeName = "SOF2_Demo_File";
inline constexpr const char* kDemoTypeDescription = "SOF2 Demo File";

inline constexpr const char* kCreateKeyError = "Error: Creating Key!";
inline constexpr const char* kSetValueError = "Error Setting String Value!";
inline constexpr const char* kMessageTitle = "Reelwright";

// Creates (or opens) six keys in order: the extension, the type, its
// DefaultIcon, shell, shell\open and shell\open\command, writing the default
// values of those that carry one. A key that cannot be created or a value
// that cannot be written is reported in a message box; the operation ends
// where a value could not be written.
void CreateFileAssociation(reelwright::ClassesRegistry& registry, reelwright::UserPrompts& prompts,
                           const std::string& extension, const std::string& programPath, const std::string& typeName,
                           const std::string& typeDescription, const std::string& iconPath);

// Deletes the extension's key and the type's keys (subkeys first), ignoring
// failures, then tells the shell that associations changed.
void RemoveFileAssociation(reelwright::ClassesRegistry& registry, const std::string& typeName,
                           const std::string& extension);

// The association of ".dm_2004" with the running program.
void RequestProgramAssociation(reelwright::ClassesRegistry& registry, reelwright::UserPrompts& prompts,
                               const reelwright::ProgramLocation& location);
void RemoveProgramAssociation(reelwright::ClassesRegistry& registry);

// The command the shell runs to open a file: "<program>" "%1".
std::string OpenCommand(const std::string& programPath);

}  // namespace basAssociation
