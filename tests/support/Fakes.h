// Recording fakes of the platform seams. Each records what it was asked in a
// shared journal, so a test can check the order of reads, writes and starts
// across all of them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/SettingsStore.h"
#include "core/UserPrompts.h"
#include "core/FileSystem.h"
#include "core/GameShell.h"
#include "core/ElevatedRunner.h"

namespace reelwright::test {

struct Journal {
    std::vector<std::string> entries;
    void Add(std::string entry) { entries.push_back(std::move(entry)); }
};

// Journal entries: "get <section>/<key>" and "save <section>/<key>=<value>".
class FakeSettingsStore : public SettingsStore {
public:
    explicit FakeSettingsStore(Journal* journal = nullptr) : journal_(journal) {}

    std::string GetSetting(const std::string& section, const std::string& key,
                           const std::string& defaultValue = "") override;
    void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override;

    // Seeds a value.
    void Put(const std::string& section, const std::string& key, const std::string& value);
    std::optional<std::string> Stored(const std::string& section, const std::string& key) const;

    // Keys ("section/key") whose reads or writes throw, to test failure paths.
    std::set<std::string> failingKeys;

private:
    Journal* journal_;
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

// An in-memory file system. Journal entries: "exists <path>", "readonly <path>",
// "copy <from> -> <to>", "write <path>", "read <path>", "remove <path>",
// "temp <path>".
class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(Journal* journal = nullptr) : journal_(journal) {}

    bool FileExists(const std::string& path) override;
    FileResult SetReadOnly(const std::string& path) override;
    FileResult CopyFileOver(const std::string& from, const std::string& to) override;
    FileResult WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) override;
    FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) override;
    // Journal entry "read <path>". A path in `busyReads` fails as "in use"
    // that many more times (so does ReadFileStart).
    FileResult ReadWholeFile(const std::string& path, std::string& bytes) override;
    // Journal entry "replace <path>"; the path is added to `replaced`. Calls
    // `onReplace` first. A path in `heldOpen` fails that many more times as
    // Windows fails to replace a file another process holds open ("access
    // denied"); so does a read-only file. The new file has a new file's
    // attributes.
    FileResult ReplaceFile(const std::string& path, const std::string& bytes) override;
    // 0x20 (archive) unless `attributes` says otherwise, with the read-only
    // bit from `readOnly`.
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    // Journal entry "attributes <path>"; a folder's go to `folderAttributes`.
    FileResult SetAttributes(const std::string& path, std::uint32_t attributes) override;
    FileResult RemoveFile(const std::string& path) override;
    // Journal entry "rename <from> -> <to>". Fails with kErrorFileExists when
    // a file or folder is at `to`, kErrorFileNotFound when `from` is no file.
    FileResult RenameFile(const std::string& from, const std::string& to) override;
    std::string MakeTemporaryFile() override;
    // "Access is denied" for 5, "The system cannot find the file specified"
    // for 2, "error <code>" otherwise.
    std::string ErrorText(std::uint32_t error) override;
    // Journal entry "list <folder>". Lists what `files` and `folders` hold
    // directly below a folder of `folders`, in byte order; a folder in
    // `failingPaths` lists nothing. A folder in `links` is a link: it lists
    // nothing and is left out of its parent's sub-folders. A file's stamp is
    // its size with the time of `writeTimes` (0 when not listed).
    std::optional<FolderContents> ListFolder(const std::string& folder) override;
    bool IsReadOnly(const std::string& path) override;
    // Journal entries "hold <path>" and, when the owner ends, "release <path>";
    // "write <path>", "readonly <path>", "read held <path>" and "delete <path>"
    // for what is done through it; the mode goes to `holdModes`. A folder
    // exists when `folders` names it or anything lies below it.
    std::unique_ptr<HeldItem> Hold(const std::string& path, HoldMode mode, FileResult& error) override;
    FileResult ReadHeldFile(const std::string& path, std::size_t limit, std::string& bytes, HeldFacts& facts) override;
    // Its "ANSI code page" is UTF-8: the text is the bytes.
    std::string TextFromAnsi(std::string_view bytes) override;
    bool IsLocalFixedDrive(const std::string& path) override;
    std::string TemporaryFolder() override;
    // Journal entries "mkdir <path>" and "rmdir <path>".
    FileResult CreateFolder(const std::string& path) override;
    FileResult RemoveFolder(const std::string& path) override;
    FileResult WriteNewFile(const std::string& path, std::string_view bytes) override;
    // Journal entry "open <path>"; reads the file in place, which must stay
    // (as the real one, held open, does).
    std::unique_ptr<ReadableFile> OpenToRead(const std::string& path, FileResult& error) override;
    // Journal entry "move <from> -> <to>": a file, or a folder with everything below it.
    FileResult MoveItem(const std::string& from, const std::string& to) override;

    // Whether a folder of that name exists (named, or holding something).
    bool IsFolder(const std::string& path) const;
    // A file as the game or the player left it, with these attributes.
    void Put(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0x20);
    // Every operation on the path fails with this error.
    void Fail(const std::string& path, std::uint32_t error);

    std::map<std::string, std::string> files;  // path -> content
    std::set<std::string> folders;             // existing folders (FileExists is false for them)
    std::set<std::string> links;               // folders of `folders` that are links to elsewhere
    std::set<std::string> readOnly;            // paths made read-only
    std::set<std::string> failingPaths;        // operations on these fail
    // The error a failing path gives; access denied when not listed here.
    std::map<std::string, std::uint32_t> failureCodes;
    bool temporaryFileFails = false;  // MakeTemporaryFile gives no path
    std::set<std::string> reparsePoints;                // files or folders that are links
    std::map<std::string, std::uint32_t> linkCounts;    // hard links of a file, 1 when not listed
    std::map<std::string, std::string> finalPaths;      // where a path really leads, itself when not listed
    std::set<std::string> otherDrives;                  // drives ("E:") that are not local fixed drives
    std::map<std::string, std::uint32_t> attributes;    // attributes but read-only, 0x20 when not listed
    std::map<std::string, std::uint32_t> folderAttributes;  // attributes set on folders
    std::map<std::string, int> busyReads;  // path -> how many more whole reads fail as "in use"
    std::map<std::string, int> heldOpen;   // path -> how many more replacements fail as held open
    std::function<void(const std::string&)> onReplace;  // called before a file is replaced
    std::vector<std::string> replaced;                  // paths replaced, in order
    std::map<std::string, HoldMode> holdModes;          // path -> how it was held last
    std::map<std::string, std::uint64_t> writeTimes;    // path -> the file's time written

private:
    FileResult FailureOf(const std::string& path) const;
    Journal* journal_;
    int temporaryCount_ = 0;
};

struct ShellOpenCall {
    std::string file, parameters, directory;
    int showMode = 0;
};

// Journal entry: "shellopen <file> | <parameters> | <directory> | <show>".
// Its ANSI code page holds the characters up to U+00FF (the Latin-1 letters of
// Windows-1252), so "é" fits and "日" does not.
class FakeGameShell : public GameShell {
public:
    explicit FakeGameShell(Journal* journal = nullptr) : journal_(journal) {}
    std::uint32_t ShellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                            int showMode) override;
    std::string ErrorText(std::uint32_t code) override;
    bool FitsAnsiCodePage(const std::string& text) override;
    // Journal entry "showinfolder <path>"; returns `error`.
    std::uint32_t ShowInFolder(const std::string& path) override;

    std::vector<ShellOpenCall> calls;
    std::vector<std::string> shownInFolder;
    std::uint32_t error = 0;  // what ShellOpen returns: 0 started, else an error code

private:
    Journal* journal_;
};

struct MessageCall {
    std::string text, title;
    MessageIcon icon;
    MessageButtons buttons;
};

// Scripted answers, taken in order; journal entries "message <title>",
// "browse <title>", "openfile <title>".
class FakePrompts : public UserPrompts {
public:
    explicit FakePrompts(Journal* journal = nullptr) : journal_(journal) {}

    MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                              MessageButtons buttons) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::optional<OpenFileResult> ShowOpenFile(const OpenFileRequest& request) override;
    // Journal entry "progress <title>"; runs the work here. The user cancels
    // once the work has reported `cancelAfterReports` times (never when negative).
    void RunWithProgress(const std::string& title, const std::string& text, const ProgressWork& work) override;

    int cancelAfterReports = -1;
    std::vector<std::string> progressTexts;
    int progressReports = 0;  // reports of the last work

    std::deque<MessageAnswer> messageAnswers;                 // default when empty: Ok / Yes
    std::deque<std::string> folderAnswers;                     // default when empty: ""
    std::deque<std::optional<OpenFileResult>> openFileAnswers;  // default when empty: cancel

    std::vector<MessageCall> messages;
    std::vector<std::string> browseTitles;
    std::vector<OpenFileRequest> openFileRequests;

private:
    Journal* journal_;
};

// Stands for the elevated helper. Journal entry: "elevated <parameters>".
// `helper` plays the helper's part (such as running the real helper mode
// against a fake file system) and gives the exit code; without it the exit
// code is `exitCode` (nothing: the helper was not started).
class FakeElevatedRunner : public ElevatedRunner {
public:
    explicit FakeElevatedRunner(Journal* journal = nullptr) : journal_(journal) {}
    std::optional<std::uint32_t> RunElevated(const std::string& parameters) override;

    std::function<std::optional<std::uint32_t>(const std::string& parameters)> helper;
    std::optional<std::uint32_t> exitCode = 0;
    std::vector<std::string> calls;

private:
    Journal* journal_;
};

}  // namespace reelwright::test
