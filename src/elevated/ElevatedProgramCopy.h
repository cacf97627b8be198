// Runs the helper with administrator rights from a copy of the program that
// only this user could have written: the program's own bytes (read from the
// handle held on its file since the start) in a new folder under the user's
// temporary folder, held so that no one can change it until the helper has
// ended and checked against those bytes before it is started. The copy and
// its folder are deleted when the helper has ended, and copies that an
// earlier run left behind are removed first, unless a process holds them.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/ElevatedRunner.h"
#include "core/FileSystem.h"

namespace reelwright {

// The copies' folders are named this, followed by a random number.
inline constexpr const char* kProgramCopyFolderPrefix = "Reelwright-elevated-";

class ElevatedProgramCopy : public ElevatedRunner {
public:
    using ProgramReader = std::function<std::optional<std::string>()>;

    // `readProgram` gives the running program's bytes; `fileName` names the
    // copy ("Reelwright.exe").
    ElevatedProgramCopy(FileSystem& files, ElevatedStarter& starter, ProgramReader readProgram, std::string fileName)
        : files_(files), starter_(starter), readProgram_(std::move(readProgram)), fileName_(std::move(fileName)) {}

    std::optional<std::uint32_t> RunElevated(const std::string& parameters) override;

private:
    // Starts the written copy while it and its folder are held, when it is
    // still the program's bytes; nothing otherwise.
    std::optional<std::uint32_t> StartHeldCopy(const std::string& folder, const std::string& copy,
                                               const std::string& program, const std::string& parameters);

    FileSystem& files_;
    ElevatedStarter& starter_;
    ProgramReader readProgram_;
    std::string fileName_;
};

// Deletes the copies (and their folders) found in the temporary folder.
void RemoveProgramCopies(FileSystem& files);

}  // namespace reelwright
