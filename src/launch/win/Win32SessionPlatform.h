// The session journal's platform on Windows, the watcher that restores the
// sessions once a game has ended, and the recovery at the program's start.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "core/UserPrompts.h"
#include "core/win/basAPI.h"
#include "launch/SessionGuard.h"

namespace reelwright::win {

class Win32SessionPlatform : public SessionPlatform {
public:
    // `programPath` is the program started as the watcher; `files` lists
    // folders and removes files; `owner` owns the game's start.
    Win32SessionPlatform(FileSystem& files, std::string programPath, HWND owner = nullptr);
    ~Win32SessionPlatform() override;
    Win32SessionPlatform(const Win32SessionPlatform&) = delete;
    Win32SessionPlatform& operator=(const Win32SessionPlatform&) = delete;

    std::string JournalPath() override;
    VirtualisedFolders Virtualised() override;
    FileResult ReadWholeFile(const std::string& path, std::string& bytes) override;
    FileResult ReplaceFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    FileResult SetAttributes(const std::string& path, std::uint32_t attributes) override;
    FileResult RemoveFile(const std::string& path) override;
    std::optional<FolderContents> ListFolder(const std::string& folder) override;
    std::string ErrorText(std::uint32_t error) override;
    SessionProcess CurrentProcess() override;
    bool ProcessEnded(const SessionProcess& process) override;
    void Pause(std::chrono::milliseconds duration) override;
    std::uint32_t StartGame(const std::string& file, const std::string& parameters, const std::string& directory,
                            int showMode, std::optional<SessionProcess>& game) override;
    void WatchGame() override;
    bool LockJournal() override;
    void UnlockJournal() override;

private:
    FileSystem& files_;
    std::string programPath_;
    HWND owner_;
    basAPI::UniqueHandle mutex_;
    basAPI::UniqueHandle game_;  // the game last started, until a watcher has it
    SessionProcess gameProcess_;
};

// The command line of the watcher mode: "/watch-session <inherited handle>
// <process id> <creation time>".
inline constexpr std::string_view kWatchSessionSwitch = "/watch-session";
bool IsWatchSessionCommandLine(std::string_view commandLineTail);

// The watcher mode: waits for the game named on the command line to end, then
// restores the sessions whose games have all ended. No window of its own;
// the exit code is 0.
int RunSessionWatcher(std::string_view commandLineTail, FileSystem& files, UserPrompts& prompts);

// At the program's start: restores the sessions whose games have all ended.
void RecoverSessions(FileSystem& files, UserPrompts& prompts);

}  // namespace reelwright::win
