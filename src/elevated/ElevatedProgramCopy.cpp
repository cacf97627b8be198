#include "elevated/ElevatedProgramCopy.h"

#include <memory>
#include <random>
#include <string_view>

#include "core/GameFolder.h"
#include "core/Text.h"

namespace reelwright {

namespace {

constexpr int kFolderAttempts = 16;

std::string RandomSuffix(std::mt19937& random) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    for (int i = 0; i < 16; ++i) suffix += kDigits[random() % 16];
    return suffix;
}

// The held copy is the program: a file (no link, no second name) in the held
// folder, byte for byte the running program's bytes.
bool IsProgramCopy(const HeldItem& folder, HeldItem& copy, std::string_view fileName, const std::string& program) {
    const HeldFacts& inFolder = folder.Facts();
    const HeldFacts& facts = copy.Facts();
    if (inFolder.reparsePoint || !inFolder.directory || facts.reparsePoint || facts.directory || facts.links > 1 ||
        !EqualIgnoringAsciiCase(facts.finalPath, JoinFolder(inFolder.finalPath, fileName)))
        return false;
    std::string bytes;
    return copy.Read(program.size(), bytes) && bytes == program;
}

}  // namespace

void RemoveProgramCopies(FileSystem& files) {
    const std::string temporary = files.TemporaryFolder();
    if (temporary.empty()) return;
    const auto contents = files.ListFolder(temporary);
    if (!contents) return;
    // Links to folders are never listed, so nothing outside is reached.
    for (const std::string& name : contents->folders) {
        if (!std::string_view(name).starts_with(kProgramCopyFolderPrefix)) continue;
        const std::string folder = JoinFolder(temporary, name);
        if (const auto copies = files.ListFolder(folder))
            for (const std::string& file : copies->files) files.RemoveFile(JoinFolder(folder, file));
        files.RemoveFolder(folder);
    }
}

std::optional<std::uint32_t> ElevatedProgramCopy::RunElevated(const std::string& parameters) {
    RemoveProgramCopies(files_);
    const std::string temporary = files_.TemporaryFolder();
    const std::optional<std::string> program = readProgram_();
    if (temporary.empty() || !program || program->empty()) return std::nullopt;

    // A folder made now, by this user: nothing can lie in it beforehand.
    std::mt19937 random{std::random_device{}()};
    std::string folder;
    for (int attempt = 0; attempt < kFolderAttempts && folder.empty(); ++attempt) {
        const std::string candidate = JoinFolder(temporary, kProgramCopyFolderPrefix + RandomSuffix(random));
        const FileResult made = files_.CreateFolder(candidate);
        if (made) folder = candidate;
        else if (made.error != kErrorAlreadyExists && made.error != kErrorFileExists) return std::nullopt;
    }
    if (folder.empty()) return std::nullopt;

    const std::string copy = JoinFolder(folder, fileName_);
    std::optional<std::uint32_t> exitCode;
    if (files_.WriteNewFile(copy, *program)) exitCode = StartHeldCopy(folder, copy, *program, parameters);
    files_.RemoveFile(copy);
    files_.RemoveFolder(folder);
    return exitCode;
}

std::optional<std::uint32_t> ElevatedProgramCopy::StartHeldCopy(const std::string& folder, const std::string& copy,
                                                                 const std::string& program,
                                                                 const std::string& parameters) {
    // Written and closed, the copy is opened again for reading with read
    // sharing only, and its folder held, until the helper has ended: no
    // process can then write, rename or delete either, and the copy can still
    // be started (a handle with write access would stop the start). What is
    // held must still be the program's bytes: a process of this user may have
    // changed the copy between the write and the hold.
    FileResult opened;
    const std::unique_ptr<HeldItem> heldFolder = files_.Hold(folder, HoldMode::Inspect, opened);
    if (!heldFolder) return std::nullopt;
    const std::unique_ptr<HeldItem> heldCopy = files_.Hold(copy, HoldMode::Read, opened);
    if (!heldCopy || !IsProgramCopy(*heldFolder, *heldCopy, fileName_, program)) return std::nullopt;
    return starter_.StartElevated(copy, parameters);
}

}  // namespace reelwright
