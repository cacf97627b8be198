// The session journal's platform on Windows: the journal's place and lock,
// the processes it waits for, the game's start, and the watcher handed the
// game.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/FileSystem.h"
#include "core/win/basAPI.h"
#include "session/RecoveryGate.h"
#include "session/SessionGuard.h"

namespace reelwright::win {

class Win32SessionPlatform : public SessionPlatform {
public:
    // `programPath` is the program started as the watcher (empty in the
    // process modes, which start none); `files` holds the journal and the
    // configs.
    Win32SessionPlatform(FileSystem& files, std::string programPath);
    ~Win32SessionPlatform() override;
    Win32SessionPlatform(const Win32SessionPlatform&) = delete;
    Win32SessionPlatform& operator=(const Win32SessionPlatform&) = delete;

    // The window that owns the game's start.
    void SetOwner(HWND owner) { owner_ = owner; }

    std::string JournalPath() override;
    VirtualisedFolders Virtualised() override;
    FileSystem& Files() override { return files_; }
    SessionProcess CurrentProcess() override;
    bool ProcessEnded(const SessionProcess& process) override;
    void Pause(std::chrono::milliseconds duration) override;
    std::chrono::system_clock::time_point Now() override { return std::chrono::system_clock::now(); }
    std::uint32_t StartGame(const std::string& file, const std::string& parameters, const std::string& directory,
                            int showMode, std::optional<SessionProcess>& game) override;
    void WatchGame() override;
    bool LockJournal() override;
    void UnlockJournal() override;
    bool AwaitRecovery(std::chrono::milliseconds limit) override { return recovery_.Await(limit); }

    // Marks the start's recovery as running until it ends.
    RecoveryGate& Recovery() { return recovery_; }

private:
    FileSystem& files_;
    std::string programPath_;
    HWND owner_ = nullptr;
    basAPI::UniqueHandle mutex_;
    basAPI::UniqueHandle game_;  // the game last started, until a watcher has it
    SessionProcess gameProcess_;
    RecoveryGate recovery_;
};

// When the process was created, as the journal records it; 0 when unknown.
std::uint64_t CreationTime(HANDLE process);

}  // namespace reelwright::win
