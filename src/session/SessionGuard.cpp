#include "session/SessionGuard.h"

#include <algorithm>

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
    if (journal.entries.empty()) return platform.Files().RemoveFile(path);
    return platform.Files().ReplaceFile(path, FormatJournal(journal));
}

std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

ConfigRecord RecordConfig(SessionPlatform& platform, const std::string& path, const SessionNames& names) {
    ConfigRecord record;
    record.path = path;
    if (const auto attributes = platform.Files().Attributes(path)) {
        record.existed = true;
        record.attributes = *attributes;
        std::string bytes;
        if (platform.Files().ReadWholeFile(path, bytes)) record.playerLines = PlayerLines(bytes, names);
    }
    return record;
}

struct FailedConfig {
    std::string path;
    std::string reason;
    std::vector<std::string> lines;
};

// Restores one config; nothing when it is as it should be.
std::optional<FailedConfig> RestoreFile(SessionPlatform& platform, const ConfigRecord& record,
                                        const SessionNames& names) {
    const auto attributes = platform.Files().Attributes(record.path);
    if (!attributes) return std::nullopt;  // gone: nothing to put back into

    auto failed = [&](FileResult result, std::vector<std::string> lines) {
        return FailedConfig{record.path, platform.Files().ErrorText(result.error), std::move(lines)};
    };
    std::string bytes;
    if (const FileResult read = Retried(platform, [&] { return platform.Files().ReadWholeFile(record.path, bytes); }); !read)
        return failed(read, record.playerLines);

    // A file that did not exist before the session was made by the game: its
    // attributes are the game's.
    const std::uint32_t wanted = record.existed ? record.attributes : *attributes;
    const auto restored = RestoreConfig(bytes, names, record.playerLines);
    if (restored) {
        const std::vector<std::string> lines = LinesToPutBack(bytes, names, record.playerLines);
        if (*attributes & kAttributeReadOnly) {
            if (const FileResult cleared = platform.Files().SetAttributes(record.path, *attributes & ~kAttributeReadOnly);
                !cleared)
                return failed(cleared, lines);
        }
        if (const FileResult written = Retried(
                platform, [&] { return platform.Files().ReplaceFile(record.path, *restored); }, InUseOrHeldOpen);
            !written) {
            // Back as it was found.
            if (*attributes & kAttributeReadOnly) platform.Files().SetAttributes(record.path, *attributes);
            return failed(written, lines);
        }
    } else if (*attributes == wanted) {
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

bool RecordSession(SessionPlatform& platform, const std::string& gameFolder,
                   const std::vector<std::string>& gameTypes, const SessionNames& names) {
    const std::string path = platform.JournalPath();
    if (path.empty()) return false;
    const JournalLock lock(platform);
    if (!lock.Held()) return false;
    JournalRead read = ReadJournal(platform, path);
    if (!read.journal) return false;  // never written over: the next start reports it

    const VirtualisedFolders virtualised = platform.Virtualised();
    for (const std::string& gameType : gameTypes) {
        SessionEntry entry;
        entry.folder = JoinFolder(gameFolder, gameType);
        entry.names = names;
        entry.processes.push_back(platform.CurrentProcess());
        const std::string config = FindGameConfig(platform, entry.folder);
        entry.configs.push_back(RecordConfig(platform, config, names));
        if (const auto copy = VirtualStorePath(config, virtualised))
            entry.configs.push_back(RecordConfig(platform, FindGameConfig(platform, FolderOf(*copy)), names));
        AddSession(*read.journal, std::move(entry));
    }
    return static_cast<bool>(WriteJournal(platform, path, *read.journal));
}

void SessionGameStarted(SessionPlatform& platform, UserPrompts& prompts, bool started,
                        const std::optional<SessionProcess>& game) {
    if (started && !game) return;
    const std::string path = platform.JournalPath();
    {
        const JournalLock lock(platform);
        if (!lock.Held()) return;
        JournalRead read = ReadJournal(platform, path);
        if (!read.journal) return;
        ReplaceProcess(*read.journal, platform.CurrentProcess(), started ? game : std::nullopt);
        WriteJournal(platform, path, *read.journal);
    }
    if (!started) RestoreEndedSessions(platform, prompts);
}

void RestoreEndedSessions(SessionPlatform& platform, UserPrompts& prompts) {
    const std::string path = platform.JournalPath();
    if (path.empty()) return;
    std::vector<FailedConfig> failures;
    std::string unreadable;
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
                if (!entry->reported) {
                    entry->reported = true;
                    changed = true;
                    failures.insert(failures.end(), failed.begin(), failed.end());
                }
                ++entry;
            }
            if (changed) WriteJournal(platform, path, journal);
        }
    }
    // Shown without the lock, so that no other process waits on the user.
    if (!unreadable.empty()) Show(prompts, unreadable);
    if (!failures.empty()) Show(prompts, FailureText(failures));
}

}  // namespace reelwright
