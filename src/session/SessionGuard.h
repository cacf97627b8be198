// Puts the player's game config back after a demo session. Launch records the
// game-type folders' configs in the journal before it changes anything and
// starts the game; when every game of an entry has ended, the watcher or the
// program's next start takes the script's binds and variables out of the
// configs, puts the player's own lines back and gives the files their
// attributes again. Nothing here asks for administrator rights.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/UserPrompts.h"
#include "session/SessionJournal.h"
#include "session/VirtualStore.h"

namespace reelwright {

inline constexpr const char* kDemoKeysTitle = "Reelwright - Demo keys";
// A config the game still holds is tried this many times, this far apart.
inline constexpr int kRestoreTries = 10;
inline constexpr std::chrono::milliseconds kRestorePause{500};
// A config larger than this is refused with the reason rather than read whole.
inline constexpr std::size_t kMaxConfigBytes = 4 * 1024 * 1024;
// An entry whose configs could not be looked up (their drive or folder not
// there) at every restore for this long is dropped, with a word.
inline constexpr std::chrono::hours kUnreachableLimit{30 * 24};

// What the journal and the restore need from the system.
class SessionPlatform {
public:
    virtual ~SessionPlatform() = default;

    // "%LOCALAPPDATA%\Reelwright\sessions.journal"; empty when there is no
    // such folder.
    virtual std::string JournalPath() = 0;
    virtual VirtualisedFolders Virtualised() = 0;

    // The files of the journal and of the game's configs.
    virtual FileSystem& Files() = 0;

    virtual SessionProcess CurrentProcess() = 0;
    // True when the process has ended, also when its id now belongs to a
    // process created at another time.
    virtual bool ProcessEnded(const SessionProcess& process) = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
    // The time of day, for how long a config has been out of reach.
    virtual std::chrono::system_clock::time_point Now() = 0;

    // Starts the game as GameShell::ShellOpen does and keeps hold of its
    // process: 0 when started, otherwise the system's error code; `game` is
    // the started process when the system gave it.
    virtual std::uint32_t StartGame(const std::string& file, const std::string& parameters,
                                    const std::string& directory, int showMode,
                                    std::optional<SessionProcess>& game) = 0;
    // Hands the game last started to a watcher, which restores the sessions
    // once it has ended, and lets go of it.
    virtual void WatchGame() = 0;

    // Keeps the other processes of this user out of the journal until
    // UnlockJournal; false when that could not be had.
    virtual bool LockJournal() = 0;
    virtual void UnlockJournal() = 0;

    // Waits at most `limit` for the recovery of ended sessions that the
    // program's start runs in the background; true when none runs (any
    // more).
    virtual bool AwaitRecovery(std::chrono::milliseconds limit) = 0;
};

// How long Launch waits for the start's recovery before it records a session.
inline constexpr std::chrono::seconds kRecoveryWait{15};

// The config of a game-type folder, found in any letter case; the usual name
// when there is none.
std::string FindGameConfig(SessionPlatform& platform, const std::string& gameTypeFolder);

// What RecordSession did.
struct SessionRecording {
    bool journalWritten = false;  // the journal holds this process's entries
    // Why some config will not be put back after the session (one sentence
    // without its final stop); empty when every one will be.
    std::string problem;
};

// Before Launch changes anything: adds an entry for each game-type folder,
// with its config and the user's copy of it (when the folder lies below a
// folder Windows virtualises), waiting for this process until its game is
// started. The player's lines of both are those of the file the game will
// read: the user's copy when it exists, else the config itself (the game then
// writes its new copy from that). A config read that fails as "in use" is
// tried as the restore tries it; a folder whose config still cannot be read
// (or is larger than kMaxConfigBytes) gets no entry. The journal is never
// written over when it could not be locked or read.
SessionRecording RecordSession(SessionPlatform& platform, const std::string& gameFolder,
                               const std::vector<std::string>& gameTypes, const SessionNames& names);

// The question Launch asks when RecordSession tells a problem: Yes plays
// anyway, No starts nothing.
std::string UnguardedSessionQuestionText(const std::string& problem);

// After Launch tried to start the game: the started game takes this process's
// place in the entries (without a process of the game to follow, the entries
// wait for this program to end). A game that was not started leaves its
// entries at once, and those with nothing left to wait for are restored. A
// journal that cannot be locked, read or written then is reported in an
// exclamation box (its entries wait for this program to end).
void SessionGameStarted(SessionPlatform& platform, UserPrompts& prompts, bool started,
                        const std::optional<SessionProcess>& game);

// Restores every entry whose processes have all ended and removes it. A
// config that cannot be restored keeps its entry for the next time and is
// shown in one exclamation box (once per entry); so is a journal that cannot
// be read, which is set aside under the name of the journal followed by
// ".unreadable". A config whose look-up fails for another reason than "file
// not found" in a folder that exists (a drive not there) is not taken as
// deleted: its entry is kept, and dropped with a word once every restore
// for kUnreachableLimit found it out of reach.
void RestoreEndedSessions(SessionPlatform& platform, UserPrompts& prompts);

// RestoreEndedSessions behind an exception barrier, for the program's start
// and the watcher: a failure is reported in one exclamation box and the
// caller goes on.
void RecoverEndedSessions(SessionPlatform& platform, UserPrompts& prompts);

}  // namespace reelwright
