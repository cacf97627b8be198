// An in-memory stand-in for the system under the session journal: processes
// that run until ended, a lock, and pauses counted instead of waited. Its
// files are those of a FakeFileSystem.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "session/SessionGuard.h"
#include "support/Fakes.h"

namespace reelwright::test {

class FakeSessionPlatform : public SessionPlatform {
public:
    explicit FakeSessionPlatform(FakeFileSystem& files) : files(files) {}

    std::string JournalPath() override { return journalPath; }
    VirtualisedFolders Virtualised() override { return virtualised; }
    FileSystem& Files() override { return files; }
    SessionProcess CurrentProcess() override { return self; }
    bool ProcessEnded(const SessionProcess& process) override {
        if (processCheckThrows) throw std::runtime_error("The process check broke");
        return !running.count(process.id) || running.at(process.id) != process.creationTime;
    }
    void Pause(std::chrono::milliseconds duration) override;
    std::chrono::system_clock::time_point Now() override { return now; }
    std::uint32_t StartGame(const std::string& file, const std::string& parameters, const std::string& directory,
                            int showMode, std::optional<SessionProcess>& game) override;
    void WatchGame() override { watched.push_back(lastGame); }
    // The lock is not re-entrant: taking it twice is a fault of the caller.
    bool LockJournal() override {
        if (lockRefused) return false;
        if (locked) throw std::logic_error("journal locked twice");
        return locked = true;
    }
    void UnlockJournal() override { locked = false; }
    // A recovery that still runs makes the wait run out at once.
    bool AwaitRecovery(std::chrono::milliseconds limit) override {
        recoveryWaits.push_back(limit);
        return !recoveryRunning;
    }

    std::string Bytes(const std::string& path) const { return files.files.at(path); }
    // Ends a process started by StartGame.
    void End(const SessionProcess& process) { running.erase(process.id); }

    FakeFileSystem& files;
    std::string journalPath = "C:\\Users\\p\\AppData\\Local\\Reelwright\\sessions.journal";
    VirtualisedFolders virtualised;
    SessionProcess self{100, 1000};
    std::map<std::uint32_t, std::uint64_t> running{{100, 1000}};  // id -> creation time
    std::uint32_t startError = 0;      // what StartGame gives
    bool startGivesProcess = true;
    SessionProcess lastGame;
    std::vector<SessionProcess> watched;
    std::vector<std::string> starts;   // the parameters of each start
    int pauses = 0;
    std::chrono::milliseconds pausedFor{0};
    bool locked = false;
    bool lockRefused = false;
    bool recoveryRunning = false;
    std::vector<std::chrono::milliseconds> recoveryWaits;
    bool processCheckThrows = false;  // ProcessEnded throws
    // What Now gives: a day in 2026.
    std::chrono::system_clock::time_point now{std::chrono::seconds(1'780'000'000)};

private:
    std::uint32_t nextId_ = 200;
};

}  // namespace reelwright::test
