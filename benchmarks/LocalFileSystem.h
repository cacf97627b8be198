// A FileSystem over real files below a Linux folder, for the benchmarks;
// "\\" in paths becomes "/".
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "core/FileSystem.h"

namespace reelwright::bench {

// Writes real files below a Linux folder; "\" in paths becomes "/".
class LocalFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override { return std::filesystem::is_regular_file(Local(path)); }
    FileResult SetReadOnly(const std::string&) override { return {}; }
    FileResult CopyFileOver(const std::string& from, const std::string& to) override {
        std::error_code error;
        std::filesystem::copy_file(Local(from), Local(to), std::filesystem::copy_options::overwrite_existing, error);
        return Result(!error);
    }
    FileResult WriteAnsiTextFile(const std::string& path, const std::string& text) override {
        std::ofstream file(Local(path), std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        return Result(static_cast<bool>(file));
    }
    FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) override {
        std::ifstream file(Local(path), std::ios::binary);
        bytes.assign(count, '\0');
        file.read(bytes.data(), static_cast<std::streamsize>(count));
        bytes.resize(static_cast<std::size_t>(file.gcount()));
        return Result(!file.bad());
    }
    FileResult ReadWholeFile(const std::string& path, std::string& bytes) override {
        std::error_code error;
        const auto size = std::filesystem::file_size(Local(path), error);
        if (error) return FileResult{kErrorFileNotFound};
        return ReadFileStart(path, static_cast<std::size_t>(size), bytes);
    }
    FileResult ReplaceFile(const std::string& path, const std::string& bytes) override {
        return WriteAnsiTextFile(path, bytes);
    }
    std::optional<std::uint32_t> Attributes(const std::string& path) override {
        if (!FileExists(path)) return std::nullopt;
        return 0x20;
    }
    FileResult SetAttributes(const std::string&, std::uint32_t) override { return {}; }
    FileResult RemoveFile(const std::string& path) override {
        std::error_code error;
        return Result(std::filesystem::remove(Local(path), error));
    }
    FileResult RenameFile(const std::string& from, const std::string& to) override {
        std::error_code error;
        if (std::filesystem::exists(Local(to), error)) return FileResult{kErrorFileExists};
        std::filesystem::rename(Local(from), Local(to), error);
        return Result(!error);
    }
    std::string MakeTemporaryFile() override { return {}; }
    std::string ErrorText(std::uint32_t error) override { return "error " + std::to_string(error); }

    std::optional<FolderContents> ListFolder(const std::string& folder) override {
        std::error_code error;
        if (!std::filesystem::is_directory(Local(folder), error)) return std::nullopt;
        FolderContents contents;
        for (const auto& item : std::filesystem::directory_iterator(Local(folder), error)) {
            if (item.is_directory()) {
                contents.folders.push_back(item.path().filename().string());
                continue;
            }
            contents.files.push_back(item.path().filename().string());
            contents.stamps.push_back({static_cast<std::uint64_t>(item.file_size()),
                                       static_cast<std::uint64_t>(item.last_write_time().time_since_epoch().count())});
        }
        return contents;
    }

    // Launch without elevation never uses the rest; the benchmark has no
    // handles to hold and refuses them.
    bool IsReadOnly(const std::string&) override { return false; }
    std::unique_ptr<HeldItem> Hold(const std::string&, HoldMode, FileResult& error) override {
        error = FileResult{kErrorAccessDenied};
        return nullptr;
    }
    FileResult ReadHeldFile(const std::string&, std::size_t, std::string&, HeldFacts&) override {
        return FileResult{kErrorAccessDenied};
    }
    std::string TextFromAnsi(std::string_view bytes) override { return std::string(bytes); }
    bool IsLocalFixedDrive(const std::string&) override { return false; }
    std::string TemporaryFolder() override { return {}; }
    FileResult CreateFolder(const std::string&) override { return FileResult{kErrorAccessDenied}; }
    FileResult RemoveFolder(const std::string&) override { return FileResult{kErrorAccessDenied}; }
    FileResult WriteNewFile(const std::string&, std::string_view) override { return FileResult{kErrorAccessDenied}; }
    std::unique_ptr<ReadableFile> OpenToRead(const std::string&, FileResult& error) override {
        error = FileResult{kErrorAccessDenied};
        return nullptr;
    }
    FileResult MoveItem(const std::string&, const std::string&) override { return FileResult{kErrorAccessDenied}; }

private:
    // Failures here carry no system code of their own.
    static FileResult Result(bool succeeded) { return succeeded ? FileResult{} : FileResult{kErrorAccessDenied}; }
    static std::string Local(std::string path) {
        for (char& c : path)
            if (c == '\\') c = '/';
        return path;
    }
};

}  // namespace reelwright::bench
