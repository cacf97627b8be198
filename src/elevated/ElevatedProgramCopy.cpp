#include "elevated/ElevatedProgramCopy.h"

#include <random>
#include <string_view>

#include "core/GameFolder.h"

namespace reelwright {

namespace {

constexpr int kFolderAttempts = 16;

std::string RandomSuffix(std::mt19937& random) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    for (int i = 0; i < 16; ++i) suffix += kDigits[random() % 16];
    return suffix;
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
    if (files_.WriteNewFile(copy, *program)) exitCode = starter_.StartElevated(copy, parameters);
    files_.RemoveFile(copy);
    files_.RemoveFolder(folder);
    return exitCode;
}

}  // namespace reelwright
