// An in-memory stand-in for the system under the session journal: files with
// attributes, processes that run until ended, a lock, and pauses counted
// instead of waited.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "launch/SessionGuard.h"

namespace reelwright::test {

class FakeSessionPlatform : public SessionPlatform {
public:
    std::string JournalPath() override { return journalPath; }
    VirtualisedFolders Virtualised() override { return virtualised; }
    FileResult ReadWholeFile(const std::string& path, std::string& bytes) override;
    FileResult ReplaceFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    FileResult SetAttributes(const std::string& path, std::uint32_t attributes) override;
    FileResult RemoveFile(const std::string& path) override;
    std::optional<FolderContents> ListFolder(const std::string& folder) override;
    std::string ErrorText(std::uint32_t error) override { return "error " + std::to_string(error); }
    SessionProcess CurrentProcess() override { return self; }
    bool ProcessEnded(const SessionProcess& process) override { return !running.count(process.id) || running.at(process.id) != process.creationTime; }
    void Pause(std::chrono::milliseconds duration) override;
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

    // A file, as the game or the player left it.
    void Put(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0x20) {
        files[path] = {bytes, attributes};
    }
    std::string Bytes(const std::string& path) const { return files.at(path).bytes; }
    // Ends a process started by StartGame.
    void End(const SessionProcess& process) { running.erase(process.id); }

    struct File {
        std::string bytes;
        std::uint32_t attributes = 0x20;
    };
    std::map<std::string, File> files;
    std::string journalPath = "C:\\Users\\p\\AppData\\Local\\Reelwright\\sessions.journal";
    VirtualisedFolders virtualised;
    SessionProcess self{100, 1000};
    std::map<std::uint32_t, std::uint64_t> running{{100, 1000}};  // id -> creation time
    std::uint32_t startError = 0;      // what StartGame gives
    bool startGivesProcess = true;
    SessionProcess lastGame;
    std::vector<SessionProcess> watched;
    std::vector<std::string> starts;   // the parameters of each start
    std::map<std::string, std::uint32_t> failing;  // path -> error of every read/write/attribute change
    std::map<std::string, int> busyReads;  // path -> how many more reads fail as "in use"
    // path -> how many more replacements fail as Windows fails the replacement
    // of a file another process holds open: "access denied"
    std::map<std::string, int> heldOpen;
    std::function<void(const std::string&)> onReplace;  // called before a file is replaced
    int pauses = 0;
    std::chrono::milliseconds pausedFor{0};
    bool locked = false;
    bool lockRefused = false;
    std::vector<std::string> writes;   // paths replaced, in order

private:
    std::uint32_t nextId_ = 200;
};

}  // namespace reelwright::test
