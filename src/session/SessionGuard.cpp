#include "session/SessionGuard.h"

#include <algorithm>
#include <exception>

#include "core/GameFolder.h"
#include "core/Text.h"
#include "session/PlayerConfig.h"

namespace reelwright {

namespace {

// Holds the journal's lock for a scope.
class JournalLock {
public:
    explicit JournalLock(SessionPlatform& platform) : platform_(platform), held_(platform.LockJournal()) {}
    ~JournalLock() {
        if (held_) platform_.UnlockJournal();
    }
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;
    bool Held() const { return held_; }

private:
    SessionPlatform& platform_;
    bool held_;
};

bool InUse(FileResult result) {
    return result.error == kErrorSharingViolation || result.error == kErrorLockViolation;
}

// Windows refuses to replace a file that another process has open with
// "access denied", even when that process shares it for deleting (a virus
// scanner, an indexer, a backup, the player's editor): for a replacement that
// answer may pass as well.
bool InUseOrHeldOpen(FileResult result) { return InUse(result) || result.error == kErrorAccessDenied; }

// Runs `step` until it succeeds or fails for another reason than a file in
// use, at most kRestoreTries times.
template <typename Step>
FileResult Retried(SessionPlatform& platform, Step step, bool (*inUse)(FileResult) = InUse) {
    FileResult result = step();
    for (int tried = 1; tried < kRestoreTries && inUse(result); ++tried) {
        platform.Pause(kRestorePause);
        result = step();
    }
    return result;
}

// The journal as read: a missing file is an empty journal; nothing when the
// file could not be read (`result` tells why) or is not a journal.
struct JournalRead {
    std::optional<SessionJournal> journal;
    std::string bytes;
    FileResult result;  // of reading the file
};

JournalRead ReadJournal(SessionPlatform& platform, const std::string& path) {
    JournalRead read;
    if (!platform.Files().Attributes(path)) {
        read.journal.emplace();
        return read;
    }
    read.result = Retried(platform, [&] { return platform.Files().ReadWholeFile(path, read.bytes); });
    if (read.result) read.journal = ParseJournal(read.bytes);
    return read;
}

FileResult WriteJournal(SessionPlatform& platform, const std::string& path, const SessionJournal& journal) {
    if (journal.entries.empty()) {
        const FileResult removed = platform.Files().RemoveFile(path);
        return removed.error == kErrorFileNotFound ? FileResult{} : removed;
    }
    return platform.Files().ReplaceFile(path, FormatJournal(journal));
}

std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// "C:\" of "C:\Games\x", "\\server\share\" of "\\server\share\x"; empty for
// any other path.
std::string RootOf(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return path.substr(0, 3);
    if (path.rfind("\\\\", 0) == 0) {
        const std::size_t server = path.find('\\', 2);
        if (server == std::string::npos) return {};
        const std::size_t share = path.find('\\', server + 1);
        if (share == std::string::npos) return {};
        return path.substr(0, share + 1);
    }
    return {};
}

bool IsExistingFolder(SessionPlatform& platform, const std::string& path) {
    if (path.empty()) return false;
    FileResult error;
    const auto held = platform.Files().Hold(path, HoldMode::Inspect, error);
    return held && held->Facts().directory;
}

// What a look-up of a config found.
struct ConfigLookUp {
    enum class State { There, Absent, OutOfReach } state = State::Absent;
    std::uint32_t attributes = 0;  // There
    FileResult error;              // OutOfReach: why
};

constexpr std::uint32_t kErrorGeneralFailure = 31;

// Looks the config up. At the restore, only "file not found" in a folder that
// exists means that the file is gone (under Wine an unmapped drive answers
// "path not found" as a missing folder does); so does a missing folder on a
// drive that is there for a file that did not exist before the session (a
// VirtualStore copy the game never made). Any other failure is "out of
// reach". At Launch both "not found" answers mean that there is no config.
ConfigLookUp LookUpConfig(SessionPlatform& platform, const std::string& path, bool atLaunch, bool existed) {
    using State = ConfigLookUp::State;
    FileSystem& files = platform.Files();
    if (const auto attributes = files.Attributes(path)) return {State::There, *attributes, {}};
    FileResult error;
    if (const auto held = files.Hold(path, HoldMode::Inspect, error)) {
        if (held->Facts().directory) return {State::Absent, 0, {}};  // a folder of that name is no config
        if (const auto attributes = files.Attributes(path)) return {State::There, *attributes, {}};
        return {State::OutOfReach, 0, FileResult{kErrorGeneralFailure}};
    }
    const bool notFound = error.error == kErrorFileNotFound || error.error == kErrorPathNotFound;
    if (atLaunch && notFound) return {State::Absent, 0, {}};
    if (notFound) {
        if (IsExistingFolder(platform, FolderOf(path))) return {State::Absent, 0, {}};
        if (!existed && IsExistingFolder(platform, RootOf(path))) return {State::Absent, 0, {}};
        return {State::OutOfReach, 0, FileResult{kErrorPathNotFound}};
    }
    return {State::OutOfReach, 0, error};
}

constexpr std::uint32_t kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE

// Reads a config of at most kMaxConfigBytes, tried again while it is in use.
FileResult ReadConfig(SessionPlatform& platform, const std::string& path, std::string& bytes) {
    FileResult read = Retried(platform, [&] { return platform.Files().ReadFileStart(path, kMaxConfigBytes + 1, bytes); });
    if (read && bytes.size() > kMaxConfigBytes) {
        bytes.clear();
        read = FileResult{kErrorFileTooLarge};
    }
    return read;
}

std::string ReasonOf(SessionPlatform& platform, FileResult result) {
    if (result.error == kErrorFileTooLarge)
        return "It is larger than " + std::to_string(kMaxConfigBytes / (1024 * 1024)) +
               " MiB, far more than a config of the game holds, and is not read";
    return platform.Files().ErrorText(result.error);
}

// A config as Launch finds it; nothing, with the reason in `problem`, when
// it could not be read.
std::optional<ConfigRecord> RecordConfig(SessionPlatform& platform, const std::string& path, std::string& bytes,
                                         std::string& problem) {
    ConfigRecord record;
    record.path = path;
    const ConfigLookUp found = LookUpConfig(platform, path, true, true);
    if (found.state == ConfigLookUp::State::Absent) return record;
    FileResult read = found.error;
    if (found.state == ConfigLookUp::State::There) {
        record.existed = true;
        record.attributes = found.attributes;
        read = ReadConfig(platform, path, bytes);
    }
    if (!read) {
        problem = "The game's config " + path + " could not be read: " + ReasonOf(platform, read);
        return std::nullopt;
    }
    return record;
}

struct FailedConfig {
    std::string path;
    std::string reason;
    std::vector<std::string> lines;
    bool outOfReach = false;  // its look-up failed
};

// Restores one config; nothing when it is as it should be.
std::optional<FailedConfig> RestoreFile(SessionPlatform& platform, const ConfigRecord& record,
                                        const SessionNames& names) {
    const ConfigLookUp found = LookUpConfig(platform, record.path, false, record.existed);
    if (found.state == ConfigLookUp::State::Absent) return std::nullopt;  // gone: nothing to put back into
    auto failed = [&](FileResult result, std::vector<std::string> lines) {
        return FailedConfig{record.path, ReasonOf(platform, result), std::move(lines)};
    };
    if (found.state == ConfigLookUp::State::OutOfReach) {
        FailedConfig failure = failed(found.error, record.playerLines);
        failure.outOfReach = true;
        return failure;
    }
    const std::uint32_t attributes = found.attributes;
    std::string bytes;
    if (const FileResult read = ReadConfig(platform, record.path, bytes); !read) return failed(read, record.playerLines);

    // A file that did not exist before the session was made by the game: its
    // attributes are the game's.
    const std::uint32_t wanted = record.existed ? record.attributes : attributes;
    const auto restored = RestoreConfig(bytes, names, record.playerLines);
    if (restored) {
        const std::vector<std::string> lines = LinesToPutBack(bytes, names, record.playerLines);
        if (attributes & kAttributeReadOnly) {
            if (const FileResult cleared = platform.Files().SetAttributes(record.path, attributes & ~kAttributeReadOnly);
                !cleared)
                return failed(cleared, lines);
        }
        if (const FileResult written = Retried(
                platform, [&] { return platform.Files().ReplaceFile(record.path, *restored); }, InUseOrHeldOpen);
            !written) {
            // Back as it was found.
            if (attributes & kAttributeReadOnly) platform.Files().SetAttributes(record.path, attributes);
            return failed(written, lines);
        }
    } else if (attributes == wanted) {
        return std::nullopt;
    }
    if (const FileResult set = platform.Files().SetAttributes(record.path, wanted); !set) return failed(set, {});
    return std::nullopt;
}

std::string FailureText(const std::vector<FailedConfig>& failures) {
    std::string text = "Reelwright could not put your own keys and settings back into the game's config after a "
                       "demo session:\r\n";
    for (const FailedConfig& failure : failures) {
        text += "\r\n" + failure.path + "\r\n" + failure.reason + ".\r\n";
        if (failure.lines.empty()) continue;
        text += "Lines still to be put back:\r\n";
        for (const auto& line : failure.lines) text += "    " + line + "\r\n";
    }
    text += "\r\nClose the game if it is still running. Reelwright tries again the next time it starts.";
    return text;
}

std::string UnreadableJournalText(const std::string& path, const std::string& reason, const std::string& setAside) {
    std::string text = "Reelwright could not read its record of demo sessions:\r\n\r\n" + path + "\r\n" + reason +
                       ".\r\n\r\nThe keys and settings that a demo session changed in the game's config may not "
                       "have been put back.";
    if (!setAside.empty()) text += " The record was kept as:\r\n\r\n" + setAside;
    return text;
}

std::string DroppedText(const std::vector<FailedConfig>& dropped) {
    std::string text = "Reelwright has stopped trying to put your own keys and settings back into the game's config "
                       "after a demo session: it could not reach the file at any start for " +
                       std::to_string(std::chrono::duration_cast<std::chrono::hours>(kUnreachableLimit).count() / 24) +
                       " days.\r\n";
    for (const FailedConfig& failure : dropped) {
        text += "\r\n" + failure.path + "\r\n" + failure.reason + ".\r\n";
        if (failure.lines.empty()) continue;
        text += "Your own lines, to put back by hand:\r\n";
        for (const auto& line : failure.lines) text += "    " + line + "\r\n";
    }
    return text;
}

void Show(UserPrompts& prompts, const std::string& text) {
    prompts.ShowMessage(text, kDemoKeysTitle, MessageIcon::Exclamation, MessageButtons::Ok);
}

}  // namespace

std::string FindGameConfig(SessionPlatform& platform, const std::string& gameTypeFolder) {
    if (const auto contents = platform.Files().ListFolder(gameTypeFolder))
        for (const std::string& name : contents->files)
            if (EqualIgnoringAsciiCase(name, kGameConfigFileName)) return JoinFolder(gameTypeFolder, name);
    return JoinFolder(gameTypeFolder, kGameConfigFileName);
}

SessionRecording RecordSession(SessionPlatform& platform, const std::string& gameFolder,
                               const std::vector<std::string>& gameTypes, const SessionNames& names) {
    SessionRecording recording;
    const std::string path = platform.JournalPath();
    if (path.empty()) {
        recording.problem = "Reelwright has no folder for its record of demo sessions (the local application data "
                            "folder)";
        return recording;
    }
    // The configs that the start's recovery has yet to put back would be
    // recorded with the script's lines as the player's.
    if (!platform.AwaitRecovery(kRecoveryWait)) {
        recording.problem = "Reelwright is still putting back the configs of earlier demo sessions";
        return recording;
    }
    const JournalLock lock(platform);
    if (!lock.Held()) {
        recording.problem = "Another Reelwright kept its record of demo sessions locked:\r\n" + path;
        return recording;
    }
    JournalRead read = ReadJournal(platform, path);
    if (!read.journal) {  // never written over: the next start reports it
        recording.problem = "Reelwright's record of demo sessions could not be read:\r\n" + path + "\r\n" +
                            (read.result ? std::string("It is damaged or was written by a newer version")
                                         : platform.Files().ErrorText(read.result.error));
        return recording;
    }

    const VirtualisedFolders virtualised = platform.Virtualised();
    std::vector<std::string> problems;
    for (const std::string& gameType : gameTypes) {
        SessionEntry entry;
        entry.folder = JoinFolder(gameFolder, gameType);
        entry.names = names;
        entry.processes.push_back(platform.CurrentProcess());
        std::string problem;
        const std::string config = FindGameConfig(platform, entry.folder);
        std::string configBytes;
        auto record = RecordConfig(platform, config, configBytes, problem);
        if (!record) {
            problems.push_back(std::move(problem));
            continue;
        }
        const auto copyPath = VirtualStorePath(config, virtualised);
        std::optional<ConfigRecord> copy;
        std::string copyBytes;
        if (copyPath) {
            copy = RecordConfig(platform, FindGameConfig(platform, FolderOf(*copyPath)), copyBytes, problem);
            if (!copy) {
                problems.push_back(std::move(problem));
                continue;
            }
        }
        // The game reads its config from the user's copy when there is one,
        // and writes that copy (made from the config when there is none)
        // unless it runs with rights: the copy's lines are those of the file
        // the game reads.
        record->playerLines = PlayerLines(configBytes, names);
        entry.configs.push_back(std::move(*record));
        if (copy) {
            copy->playerLines = PlayerLines(copy->existed ? copyBytes : configBytes, names);
            entry.configs.push_back(std::move(*copy));
        }
        AddSession(*read.journal, std::move(entry));
    }
    if (const FileResult written = WriteJournal(platform, path, *read.journal); !written) {
        problems.insert(problems.begin(), "Reelwright's record of demo sessions could not be written:\r\n" + path + "\r\n" +
                                              platform.Files().ErrorText(written.error));
    } else {
        recording.journalWritten = !read.journal->entries.empty();
    }
    for (const std::string& problem : problems) recording.problem += (recording.problem.empty() ? "" : ".\r\n\r\n") + problem;
    return recording;
}

std::string UnguardedSessionQuestionText(const std::string& problem) {
    return "Reelwright cannot put your own keys and settings back after this demo session: the game's config will "
           "keep the script's keys.\r\n\r\n" +
           problem + ".\r\n\r\nPlay the demos anyway?";
}

namespace {

std::string UnwrittenJournalText(const std::string& path, const std::string& reason) {
    return "Reelwright could not update its record of demo sessions:\r\n\r\n" + path + "\r\n" + reason +
           ".\r\n\r\nYour own keys and settings are put back into the game's config the next time Reelwright starts "
           "after the game has ended.";
}

}  // namespace

void SessionGameStarted(SessionPlatform& platform, UserPrompts& prompts, bool started,
                        const std::optional<SessionProcess>& game) {
    if (started && !game) return;
    const std::string path = platform.JournalPath();
    std::string unwritten;
    {
        const JournalLock lock(platform);
        JournalRead read;
        if (lock.Held()) read = ReadJournal(platform, path);
        if (!lock.Held()) {
            unwritten = UnwrittenJournalText(path, "Another Reelwright kept it locked");
        } else if (!read.journal) {
            unwritten = UnwrittenJournalText(
                path, read.result ? "It is damaged or was written by a newer version" : platform.Files().ErrorText(read.result.error));
        } else {
            ReplaceProcess(*read.journal, platform.CurrentProcess(), started ? game : std::nullopt);
            if (const FileResult written = WriteJournal(platform, path, *read.journal); !written)
                unwritten = UnwrittenJournalText(path, platform.Files().ErrorText(written.error));
        }
    }
    if (!unwritten.empty()) {
        Show(prompts, unwritten);
        return;
    }
    if (!started) RestoreEndedSessions(platform, prompts);
}

void RestoreEndedSessions(SessionPlatform& platform, UserPrompts& prompts) {
    const std::string path = platform.JournalPath();
    if (path.empty()) return;
    std::vector<FailedConfig> failures;
    std::vector<FailedConfig> dropped;
    std::string unreadable;
    std::string unwritten;
    {
        const JournalLock lock(platform);
        if (!lock.Held()) return;
        JournalRead read = ReadJournal(platform, path);
        if (!read.journal) {
            std::string setAside;
            if (read.result) {
                // Damaged or of a newer format: kept aside, out of the way of
                // the next sessions, and reported this once.
                setAside = path + ".unreadable";
                if (!platform.Files().ReplaceFile(setAside, read.bytes) || !platform.Files().RemoveFile(path)) setAside.clear();
            }
            unreadable = UnreadableJournalText(
                path, read.result ? "It is damaged or was written by a newer version" : platform.Files().ErrorText(read.result.error),
                setAside);
        } else {
            SessionJournal& journal = *read.journal;
            const auto now = static_cast<std::uint64_t>(
                std::max<std::int64_t>(1, std::chrono::duration_cast<std::chrono::seconds>(
                                              platform.Now().time_since_epoch()).count()));
            const auto limit = static_cast<std::uint64_t>(std::chrono::seconds(kUnreachableLimit).count());
            bool changed = false;
            for (auto entry = journal.entries.begin(); entry != journal.entries.end();) {
                const bool ended = std::all_of(entry->processes.begin(), entry->processes.end(),
                                               [&](const SessionProcess& p) { return platform.ProcessEnded(p); });
                if (!ended) {
                    ++entry;
                    continue;
                }
                std::vector<FailedConfig> failed;
                for (const ConfigRecord& config : entry->configs)
                    if (auto failure = RestoreFile(platform, config, entry->names)) failed.push_back(std::move(*failure));
                if (failed.empty()) {
                    entry = journal.entries.erase(entry);
                    changed = true;
                    continue;
                }
                // Out of reach at every restore since then: a drive that does
                // not come back, a game folder moved away.
                const bool outOfReach = std::any_of(failed.begin(), failed.end(),
                                                    [](const FailedConfig& failure) { return failure.outOfReach; });
                if (!outOfReach) {
                    if (entry->unreachableSince != 0) changed = true;
                    entry->unreachableSince = 0;
                } else if (entry->unreachableSince == 0) {
                    entry->unreachableSince = now;
                    changed = true;
                } else if (now >= entry->unreachableSince && now - entry->unreachableSince >= limit) {
                    for (FailedConfig& failure : failed)
                        if (failure.outOfReach) dropped.push_back(std::move(failure));
                    entry = journal.entries.erase(entry);
                    changed = true;
                    continue;
                }
                if (!entry->reported) {
                    entry->reported = true;
                    changed = true;
                    failures.insert(failures.end(), failed.begin(), failed.end());
                }
                ++entry;
            }
            if (changed) {
                if (const FileResult written = WriteJournal(platform, path, journal); !written)
                    unwritten = UnwrittenJournalText(path, platform.Files().ErrorText(written.error));
            }
        }
    }
    // Shown without the lock, so that no other process waits on the user.
    if (!unreadable.empty()) Show(prompts, unreadable);
    if (!failures.empty()) Show(prompts, FailureText(failures));
    if (!dropped.empty()) Show(prompts, DroppedText(dropped));
    if (!unwritten.empty()) Show(prompts, unwritten);
}

void RecoverEndedSessions(SessionPlatform& platform, UserPrompts& prompts) {
    std::string reason;
    try {
        RestoreEndedSessions(platform, prompts);
        return;
    } catch (const std::exception& error) {
        reason = error.what();
    } catch (...) {
        reason = "An unknown error";
    }
    try {
        Show(prompts, "Reelwright could not look after the game's config after a demo session:\r\n\r\n" + reason +
                          ".\r\n\r\nYour own keys and settings may not have been put back. Reelwright tries again the "
                          "next time it starts.");
    } catch (...) {
        // Nothing more can be said: the program goes on.
    }
}

}  // namespace reelwright
