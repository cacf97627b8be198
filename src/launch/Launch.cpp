#include "launch/Launch.h"

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/AppInfo.h"
#include "core/GameFolder.h"
#include "core/SettingsStore.h"
#include "core/Text.h"
#include "launch/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "launch/GameFolderRights.h"
#include "launch/ScriptCopyHelper.h"
#include "launch/GameStart.h"
#include "launch/SessionNames.h"
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
        const auto value = Int16Number(TrimBlanks(store.GetSetting(AppKey(), kSectionSettings, kKeyMinOnPlayback, "1")));
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
            keys.bind[read.index] = store.GetSetting(AppKey(), kSectionBinds, BindKey(read.index), read.fallback);
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
        return ReadGameFolder(store, AppKey());
    } catch (const std::exception&) {
        return {};
    }
}

// The distinct game types of the queue in order of first appearance, compared
// trimmed and case-sensitively; an empty or blank game type never joins. The
// listed text is the game type as queued, untrimmed, since it names the folder.
std::vector<std::string> DistinctGameTypes(const DemoQueue& queue) {
    std::vector<std::string> gameTypes;
    std::unordered_set<std::string> listed;
    for (const DemoQueueEntry& entry : queue.Entries()) {
        std::string trimmed = TrimBlanks(entry.GameType);
        if (!trimmed.empty() && listed.insert(std::move(trimmed)).second) gameTypes.push_back(entry.GameType);
    }
    return gameTypes;
}

// The whole script for the queue, in queue order.
std::string ComposeScript(const DemoKeys& keys, const DemoQueue& queue) {
    const basBuildConfigs::ScriptKeys scriptKeys{keys.bind[5], keys.bind[4], keys.bind[2], keys.bind[6],
                                                 keys.bind[1], keys.bind[3], keys.bind[7], keys.bind[0]};
    std::vector<basBuildConfigs::ScriptEntry> entries;
    entries.reserve(queue.Entries().size());
    for (const auto& entry : queue.Entries()) entries.push_back({entry.Name, entry.GameType});
    return basBuildConfigs::BuildScript(scriptKeys, entries);
}

// Writes the script to a temporary file, has the elevated helper place it in
// the failed folders, then looks at each of them again: the folders that still
// lack the script's bytes (or a read-only SOF2MP.cfg that was to be set), with
// what is there now. `refused` tells that the helper's checks refused the
// request. The temporary file is deleted afterwards in every case.
std::vector<FolderOutcome> PlaceWithRights(FileSystem& files, ElevatedRunner& runner, const std::string& script,
                                           const std::string& gameFolder, std::vector<FolderOutcome> failed,
                                           bool& refused) {
    refused = false;
    const std::string temporary = files.MakeTemporaryFile();
    if (temporary.empty()) return failed;
    // The bytes as written, to compare the copies with: in the ANSI code page
    // no text takes more bytes than in UTF-8.
    std::string bytes;
    if (files.WriteAnsiTextFile(temporary, script) && files.ReadFileStart(temporary, script.size() + 1, bytes)) {
        CopyScriptRequest request{temporary, gameFolder, {}};
        for (const FolderOutcome& outcome : failed) request.gameTypes.push_back(outcome.gameType);
        const auto exitCode = runner.RunElevated(BuildCopyScriptParameters(request));
        refused = exitCode && *exitCode == static_cast<std::uint32_t>(kHelperRefused);
        if (exitCode) {
            std::vector<FolderOutcome> remaining;
            for (FolderOutcome& outcome : failed) {
                const std::string target = basBuildConfigs::DemoConfigPath(outcome.folder);
                std::string there;
                const bool exists = static_cast<bool>(files.ReadFileStart(target, bytes.size() + 1, there));
                if (exists && there == bytes) {
                    outcome.copy = {};
                } else if (outcome.copy) {
                    outcome.copy = FileResult{kErrorInvalidData};
                }
                outcome.staleScript = !outcome.copy && exists;
                if (!outcome.attribute && files.IsReadOnly(JoinFolder(outcome.folder, kGameConfigFileName)))
                    outcome.attribute = {};
                if (outcome.Failed()) remaining.push_back(std::move(outcome));
            }
            failed = std::move(remaining);
        }
    }
    files.RemoveFile(temporary);
    return failed;
}

// Returns false when the user chose not to start the game.
bool LaunchMany(AppServices& services, const DemoQueue& queue, const DemoKeys& keys, const std::string& gameFolder,
                ElevatedRunner* elevation, SessionPlatform* sessions) {
    FileSystem& files = services.files;
    const std::vector<std::string> gameTypes = DistinctGameTypes(queue);

    // What the game's configs hold before this launch changes them, so that
    // the game's end can put the player's keys and settings back.
    bool guarded = false;
    try {
        guarded = sessions && RecordSession(*sessions, gameFolder, gameTypes, ScriptSessionNames(keys.bind, queue.Count()));
    } catch (const std::exception&) {
    }

    std::string script;
    bool written = false;
    try {
        script = ComposeScript(keys, queue);
        written = basBuildConfigs::WriteDemoConfigText(files, services.location.folder, script);
    } catch (const std::exception&) {
    }

    // When the program folder's script could not be written, an older script
    // may still lie there: the game-type folders then get the fresh text
    // directly instead of a copy of that file.
    const std::string programScript = basBuildConfigs::DemoConfigPath(services.location.folder);
    std::vector<FolderOutcome> failed;
    for (const std::string& gameType : gameTypes) {
        FolderOutcome outcome = PlaceScriptInFolder(files, gameFolder, gameType, [&](const std::string& target) {
            if (written) return files.CopyFileOver(programScript, target);
            if (!script.empty()) return files.WriteAnsiTextFile(target, script);
            return FileResult{kErrorFileNotFound};
        });
        if (outcome.Failed()) failed.push_back(std::move(outcome));
    }

    // A folder the script did not reach would leave the demo keys dead (or
    // running an older script): ask for rights once when they would help,
    // otherwise say so and let the user decide.
    if (!failed.empty()) {
        bool refused = false;
        if (elevation && !script.empty() && ShouldOfferElevation(failed) &&
            services.prompts.ShowMessage(ElevationQuestionText(failed), kGameFolderTitle, MessageIcon::Question,
                                         MessageButtons::YesNo) == MessageAnswer::Yes)
            // The helper gets the folder as the game does: "D:\" for a drive
            // root, which it can tell from a drive's current folder "D:".
            failed = PlaceWithRights(files, *elevation, script, GameFolderForGame(gameFolder), std::move(failed),
                                     refused);
        if (!failed.empty() &&
            services.prompts.ShowMessage(PlacementFailureText(failed, files, refused), kGameFolderTitle,
                                         MessageIcon::Exclamation, MessageButtons::YesNo) != MessageAnswer::Yes) {
            if (guarded) SessionGameStarted(*sessions, services.prompts, false, std::nullopt);
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
                                       return sessions->StartGame(file, arguments, directory, show, game);
                                   });
    SessionGameStarted(*sessions, services.prompts, started, game);
    if (started && game) sessions->WatchGame();
    return started;
}

}  // namespace

bool Launch(AppServices& services, const DemoQueue& queue, std::string_view optionalParameters,
            ElevatedRunner* elevation, SessionPlatform* sessions) {
    const bool minimise = ReadMinimise(services.store);
    const DemoKeys keys = ReadKeys(services.store);
    // Without trailing separators, so that a drive root ("D:\") joins as "D:".
    const std::string gameFolder(GameFolderForJoining(ReadFolder(services.store)));

    if (gameFolder.empty() || queue.Empty()) return minimise;

    // A folder that breaks the game's command line: one box, nothing written,
    // nothing started, the window left as it is (as for the names below).
    if (const auto character = GameFolderBreakingCharacter(gameFolder)) {
        services.prompts.ShowMessage(GameFolderRefusedMessage(gameFolder, *character), kPlayDemoErrorTitle,
                                     MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }

    // Names the game's console cannot take: one box, nothing written, nothing
    // started, the window left as it is.
    const AnsiTest fitsAnsi = [&](std::string_view text) { return services.shell.FitsAnsiCodePage(std::string(text)); };
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
        started = LaunchMany(services, queue, keys, gameFolder, elevation, sessions);
    }
    // A game that could not be started was reported; the window stays.
    return started && minimise;
}

std::string LaunchBindFallback(int index) {
    for (const BindRead& read : kBindReads)
        if (read.index == index) return read.fallback;
    return {};
}

}  // namespace reelwright
