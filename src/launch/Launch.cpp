#include "launch/Launch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/AppInfo.h"
#include "core/GameFolder.h"
#include "core/SettingsStore.h"
#include "core/Text.h"
#include "queue/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "launch/GameFolderRights.h"
#include "elevated/ScriptCopyHelper.h"
#include "launch/ScriptPlacing.h"
#include "launch/GameStart.h"
#include "session/SessionNames.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

namespace {

// The eight demo-control keys as Launch reads them, with the keys it binds
// while nothing is stored.
struct DemoKeys {
    std::array<std::string, 8> bind;  // indexed by the bind number
};

struct BindRead {
    int index;
    const char* fallback;
};

// Launch reads the binds in this order.
constexpr std::array<BindRead, 8> kBindReads{{
    {0, "F1"},  // next demo
    {7, "F2"},  // previous demo
    {3, "F3"},  // stop
    {1, "F4"},  // play
    {2, "F5"},  // pause/play toggle
    {5, "F6"},  // slow motion
    {4, "F7"},  // fast motion
    {6, "F8"},  // third-person view
}};

bool ReadMinimise(SettingsStore& store) {
    try {
        const auto value = Int16Number(TrimBlanks(store.GetSetting(kSectionSettings, kKeyMinOnPlayback, "1")));
        return value && *value == 1;
    } catch (const std::exception&) {
        // A store that cannot be read gives no value: it is not 1.
        return false;
    }
}

DemoKeys ReadKeys(SettingsStore& store) {
    DemoKeys keys;
    for (const BindRead& read : kBindReads) {
        try {
            keys.bind[read.index] = store.GetSetting(kSectionBinds, BindKey(read.index), read.fallback);
        } catch (const std::exception&) {
            // A failing read binds the same key as a missing one rather than
            // writing an empty key name into the script.
            keys.bind[read.index] = read.fallback;
        }
    }
    return keys;
}

std::string ReadFolder(SettingsStore& store) {
    try {
        return ReadGameFolder(store);
    } catch (const std::exception&) {
        return {};
    }
}

// The distinct game types of the queue in order of first appearance, compared
// trimmed and case-sensitively; an empty or blank game type never joins. The
// listed text is the game type as queued, untrimmed, since it names the folder.
std::vector<std::string> DistinctGameTypes(std::span<const DemoQueueEntry> entries) {
    std::vector<std::string> gameTypes;
    std::unordered_set<std::string> listed;
    for (const DemoQueueEntry& entry : entries) {
        std::string trimmed = TrimBlanks(entry.GameType);
        if (!trimmed.empty() && listed.insert(std::move(trimmed)).second) gameTypes.push_back(entry.GameType);
    }
    return gameTypes;
}

// The whole script for the session's demos, in queue order.
std::string ComposeScript(const DemoKeys& keys, std::span<const DemoQueueEntry> session) {
    const basBuildConfigs::ScriptKeys scriptKeys{keys.bind[5], keys.bind[4], keys.bind[2], keys.bind[6],
                                                 keys.bind[1], keys.bind[3], keys.bind[7], keys.bind[0]};
    std::vector<basBuildConfigs::ScriptEntry> entries;
    entries.reserve(session.size());
    for (const auto& entry : session) entries.push_back({entry.Name, entry.GameType});
    return basBuildConfigs::BuildScript(scriptKeys, entries);
}

// Looks at a folder again after the helper: its copy is sound when every part
// holds the bytes written for it; otherwise the first part that does not names
// the failure. The read-only SOF2MP.cfg counts when it is set now.
void RecheckFolder(FileSystem& files, const std::vector<std::string>& partBytes, FolderOutcome& outcome) {
    const std::string failedBefore =
        outcome.copy ? std::string() : outcome.failedFile.empty() ? std::string(kScriptFileName) : outcome.failedFile;
    outcome.failedFile.clear();
    outcome.staleScript = false;
    bool placed = true;
    for (std::size_t part = 0; part < partBytes.size() && placed; ++part) {
        const std::string fileName = basBuildConfigs::ScriptPartFileName(part + 1);
        std::string there;
        const bool exists = static_cast<bool>(files.ReadFileStart(
            basBuildConfigs::DemoConfigPath(outcome.folder, fileName), partBytes[part].size() + 1, there));
        if (exists && there == partBytes[part]) continue;
        placed = false;
        // The error the copy of this file reported before is kept; a file
        // that was written, or never tried, and is not right now is invalid
        // data.
        if (fileName != failedBefore) outcome.copy = FileResult{kErrorInvalidData};
        outcome.failedFile = fileName;
        outcome.staleScript = exists;
    }
    if (placed) outcome.copy = {};
    if (!outcome.attribute && files.IsReadOnly(JoinFolder(outcome.folder, kGameConfigFileName)))
        outcome.attribute = {};
}

// Writes each part of the script to a temporary file, has the elevated helper
// place them in the failed folders, then looks at each of them again: the
// folders that still lack any part's bytes (or a read-only SOF2MP.cfg that was
// to be set), with what is there now. `refused` tells that the helper's checks
// refused the request. The temporary files are deleted afterwards in every
// case.
std::vector<FolderOutcome> PlaceWithRights(FileSystem& files, ElevatedRunner& runner,
                                           const std::vector<basBuildConfigs::ScriptPart>& parts,
                                           const std::string& gameFolder, std::vector<FolderOutcome> failed,
                                           bool& refused) {
    refused = false;
    std::vector<std::string> temporaries;
    // The bytes as written, to compare the copies with: in the ANSI code page
    // no text takes more bytes than in UTF-8.
    std::vector<std::string> partBytes;
    bool ready = !parts.empty();
    for (const basBuildConfigs::ScriptPart& part : parts) {
        std::string temporary = files.MakeTemporaryFile();
        if (temporary.empty()) {
            ready = false;
            break;
        }
        temporaries.push_back(std::move(temporary));
        std::string& bytes = partBytes.emplace_back();
        if (!files.WriteAnsiTextFile(temporaries.back(), part.text) ||
            !files.ReadFileStart(temporaries.back(), part.text.size() + 1, bytes)) {
            ready = false;
            break;
        }
    }
    if (ready) {
        CopyScriptRequest request{temporaries.front(), gameFolder, {}, {}};
        for (const FolderOutcome& outcome : failed) request.gameTypes.push_back(outcome.gameType);
        request.laterParts.assign(temporaries.begin() + 1, temporaries.end());
        const auto exitCode = runner.RunElevated(BuildCopyScriptParameters(request));
        refused = exitCode && *exitCode == static_cast<std::uint32_t>(kHelperRefused);
        if (exitCode) {
            std::vector<FolderOutcome> remaining;
            for (FolderOutcome& outcome : failed) {
                RecheckFolder(files, partBytes, outcome);
                if (outcome.Failed()) remaining.push_back(std::move(outcome));
            }
            failed = std::move(remaining);
        }
    }
    for (const std::string& temporary : temporaries) files.RemoveFile(temporary);
    return failed;
}

// The demos the session steps through: the whole queue, or its first
// kSafeDemosPerSession when the user chose so for a long queue. Nothing when
// the user cancelled.
std::optional<std::span<const DemoQueueEntry>> SessionDemos(UserPrompts& prompts, const DemoQueue& queue) {
    const std::span<const DemoQueueEntry> all(queue.Entries());
    if (all.size() <= kSafeDemosPerSession) return all;
    switch (prompts.ShowMessage(LongQueueQuestionText(all.size()), kLongQueueTitle, MessageIcon::Question,
                                MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes: return all.first(kSafeDemosPerSession);
        case MessageAnswer::No: return all;
        default: return std::nullopt;
    }
}

// Returns false when the user chose not to start the game.
bool LaunchMany(AppServices& services, SessionPlatform& sessions, const DemoQueue& queue, const DemoKeys& keys,
                const std::string& gameFolder) {
    FileSystem& files = services.files;
    const auto session = SessionDemos(services.prompts, queue);
    if (!session) return false;
    const std::vector<std::string> gameTypes = DistinctGameTypes(*session);

    // What the game's configs hold before this launch changes them, so that
    // the game's end can put the player's keys and settings back. The names
    // are those of every demo the session steps through.
    SessionRecording recording;
    try {
        recording = RecordSession(sessions, gameFolder, gameTypes, ScriptSessionNames(keys.bind, session->size()));
    } catch (const std::exception& error) {
        recording = {false, *error.what() ? std::string(error.what()) : std::string("An unexpected error")};
    }
    const bool guarded = recording.journalWritten;
    // Nothing will put some config back: the player decides before anything
    // is written or started.
    if (!recording.problem.empty() &&
        services.prompts.ShowMessage(UnguardedSessionQuestionText(recording.problem), kDemoKeysTitle,
                                     MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        if (guarded) SessionGameStarted(sessions, services.prompts, false, std::nullopt);
        return false;
    }

    // A script longer than the game's console takes at once is written as a
    // chain of parts, each copied wherever the first one goes.
    std::vector<basBuildConfigs::ScriptPart> parts;
    bool written = false;
    try {
        parts = basBuildConfigs::SplitDemoConfig(ComposeScript(keys, *session));
        written = true;
        for (const basBuildConfigs::ScriptPart& part : parts)
            written = basBuildConfigs::WriteDemoConfigText(files, services.location.folder, part.text, part.fileName) &&
                      written;
    } catch (const std::exception&) {
        written = false;
    }

    // When the program folder's script could not be written, older files may
    // still lie there: the game-type folders then get the fresh text directly
    // instead of a copy of those files.
    const std::optional<std::string> copiedFrom =
        written ? std::optional<std::string>(services.location.folder) : std::nullopt;
    std::vector<FolderOutcome> failed;
    for (const std::string& gameType : gameTypes) {
        FolderOutcome outcome = PlaceScriptInFolder(files, gameFolder, gameType, parts, copiedFrom);
        if (outcome.Failed()) failed.push_back(std::move(outcome));
    }

    // A folder the script did not reach would leave the demo keys dead (or
    // running an older script): ask for rights once when they would help,
    // otherwise say so and let the user decide.
    if (!failed.empty()) {
        bool refused = false;
        if (!parts.empty() && ShouldOfferElevation(failed) &&
            services.prompts.ShowMessage(ElevationQuestionText(failed), kGameFolderTitle, MessageIcon::Question,
                                         MessageButtons::YesNo) == MessageAnswer::Yes)
            // The helper gets the folder as the game does: "D:\" for a drive
            // root, which it can tell from a drive's current folder "D:".
            failed = PlaceWithRights(files, services.elevation, parts, GameFolderForGame(gameFolder), std::move(failed),
                                     refused);
        if (!failed.empty() &&
            services.prompts.ShowMessage(PlacementFailureText(failed, files, refused), kGameFolderTitle,
                                         MessageIcon::Exclamation, MessageButtons::YesNo) != MessageAnswer::Yes) {
            if (guarded) SessionGameStarted(sessions, services.prompts, false, std::nullopt);
            return false;
        }
    }

    const DemoQueueEntry& first = queue.At(1);
    const std::string parameters = ManyDemosParameters(gameFolder, first.GameType, first.Name);
    if (!guarded) return StartGame(services, gameFolder, parameters);

    std::optional<SessionProcess> game;
    const bool started = StartGame(services, gameFolder, parameters,
                                   [&](const std::string& file, const std::string& arguments,
                                       const std::string& directory, int show) {
                                       return sessions.StartGame(file, arguments, directory, show, game);
                                   });
    SessionGameStarted(sessions, services.prompts, started, game);
    if (started && game) sessions.WatchGame();
    return started;
}

}  // namespace

bool Launch(AppServices& services, SessionPlatform& sessions, const DemoQueue& queue,
            std::string_view optionalParameters) {
    const bool minimise = ReadMinimise(services.store);
    const DemoKeys keys = ReadKeys(services.store);
    // Without trailing separators, so that a drive root ("D:\") joins as "D:".
    const std::string gameFolder(GameFolderForJoining(ReadFolder(services.store)));

    if (gameFolder.empty() || queue.Empty()) return minimise;

    // A folder that breaks the game's command line or holds a character of no
    // ANSI code page: one box, nothing written, nothing started, the window
    // left as it is (as for the names below).
    const AnsiTest fitsAnsi = [&](std::string_view text) { return services.shell.FitsAnsiCodePage(std::string(text)); };
    if (const auto character = GameFolderRefusedCharacter(gameFolder, fitsAnsi)) {
        services.prompts.ShowMessage(GameFolderRefusedMessage(gameFolder, *character), kPlayDemoErrorTitle,
                                     MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }

    // Names the game's console cannot take: one box, nothing written, nothing
    // started, the window left as it is.
    if (const auto refused = FindConsoleNameProblems(queue, fitsAnsi); !refused.empty()) {
        services.prompts.ShowMessage(ConsoleNamesMessage(queue, refused), kPlayDemoErrorTitle, MessageIcon::Stop,
                                     MessageButtons::Ok);
        return false;
    }

    // The keys reach the console only through the script of two or more demos.
    if (queue.Count() >= 2) {
        if (const auto refused = RefusedKeyNames(keys.bind); !refused.empty()) {
            services.prompts.ShowMessage(RefusedKeyNamesMessage(keys.bind, refused), kPlayDemoErrorTitle,
                                         MessageIcon::Stop, MessageButtons::Ok);
            return false;
        }
    }

    bool started = false;
    if (queue.Count() == 1) {
        const DemoQueueEntry& only = queue.At(1);
        started = StartGame(services, gameFolder,
                            OneDemoParameters(gameFolder, only.GameType, only.Name, optionalParameters));
    } else {
        started = LaunchMany(services, sessions, queue, keys, gameFolder);
    }
    // A game that could not be started was reported; the window stays.
    return started && minimise;
}

std::string LongQueueQuestionText(std::size_t queued) {
    const std::string safe = std::to_string(kSafeDemosPerSession);
    return "The queue holds " + std::to_string(queued) +
           " demos. The game keeps a limited number of console variables, and stepping through more than " + safe +
           " demos in one session may end it with an error. The queue itself stays as it is.\r\n\r\nPlay only "
           "the first " +
           safe + "?";
}

std::string LaunchBindFallback(int index) {
    for (const BindRead& read : kBindReads)
        if (read.index == index) return read.fallback;
    return {};
}

}  // namespace reelwright
