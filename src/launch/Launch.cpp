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
#include "launch/ConsoleNames.h"
#include "launch/GameCommandLine.h"
#include "launch/GameFolderRights.h"
#include "launch/ScriptCopyHelper.h"
#include "launch/GameStart.h"
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
std::vector<std::string> DistinctGameTypes(std::span<const DemoQueueEntry> entries) {
    std::vector<std::string> gameTypes;
    std::unordered_set<std::string> listed;
    for (const DemoQueueEntry& entry : entries) {
        std::string trimmed = TrimBlanks(entry.GameType);
        if (!trimmed.empty() && listed.insert(std::move(trimmed)).second) gameTypes.push_back(entry.GameType);
    }
    return gameTypes;
}

// The whole script: the header, the viewer scripts and the navigation lines,
// then the playback entries of the session's demos in queue order. The
// entries are appended in place, so a long queue is not copied from a chain
// text into the navigation text and again into the file's text; the bytes are
// those of ComposeDemoConfig(viewer, BuildNavigationBinds(..., chain, ...)).
std::string ComposeScript(const DemoKeys& keys, std::span<const DemoQueueEntry> entries) {
    const auto last = static_cast<std::int16_t>(entries.size());

    const std::string viewer = basBuildConfigs::BuildViewerScripts(keys.bind[5], keys.bind[4], keys.bind[2],
                                                                   keys.bind[6], keys.bind[1], keys.bind[3]);
    std::string text = basBuildConfigs::ComposeDemoConfig(
        viewer, basBuildConfigs::BuildNavigationBinds(keys.bind[7], keys.bind[0], {}, 1, last));

    std::size_t length = text.size();
    for (const auto& entry : entries) length += 110 + entry.Name.size() + entry.GameType.size();
    text.reserve(length);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        basBuildConfigs::AppendDemoEntry(text, 1, last, static_cast<std::int16_t>(i + 1), entries[i].Name,
                                         entries[i].GameType);
    }
    return text;
}

// Writes each part of the script to a temporary file and has the elevated
// helper place them in the failed folders; true when the helper reports that
// every step worked. The temporary files are deleted afterwards in every case.
bool PlaceWithRights(FileSystem& files, ElevatedRunner& runner, const std::vector<basBuildConfigs::ScriptPart>& parts,
                     const std::string& gameFolder, const std::vector<FolderOutcome>& failed) {
    std::vector<std::string> temporaries;
    bool ready = true;
    for (const basBuildConfigs::ScriptPart& part : parts) {
        std::string temporary = files.MakeTemporaryFile();
        if (temporary.empty()) {
            ready = false;
            break;
        }
        temporaries.push_back(std::move(temporary));
        if (!files.WriteAnsiTextFile(temporaries.back(), part.text)) {
            ready = false;
            break;
        }
    }
    bool placed = false;
    if (ready && !temporaries.empty()) {
        CopyScriptRequest request{temporaries.front(), gameFolder, {}, {}};
        for (const FolderOutcome& outcome : failed) request.gameTypes.push_back(outcome.gameType);
        request.laterParts.assign(temporaries.begin() + 1, temporaries.end());
        const auto exitCode = runner.RunElevated(BuildCopyScriptParameters(request));
        placed = exitCode && *exitCode == static_cast<std::uint32_t>(kHelperSucceeded);
    }
    for (const std::string& temporary : temporaries) files.RemoveFile(temporary);
    return placed;
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
bool LaunchMany(AppServices& services, const DemoQueue& queue, const DemoKeys& keys, const std::string& gameFolder,
                ElevatedRunner* elevation) {
    FileSystem& files = services.files;
    const auto session = SessionDemos(services.prompts, queue);
    if (!session) return false;

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
    std::vector<FolderOutcome> failed;
    for (const std::string& gameType : DistinctGameTypes(*session)) {
        FolderOutcome outcome = PlaceScriptInFolder(
            files, gameFolder, gameType, std::max<std::size_t>(parts.size(), 1),
            [&](std::size_t part, const std::string& target) {
                if (parts.empty()) return FileResult{kErrorFileNotFound};
                if (written)
                    return files.CopyFileOver(
                        basBuildConfigs::DemoConfigPath(services.location.folder, parts[part].fileName), target);
                return files.WriteAnsiTextFile(target, parts[part].text);
            });
        if (outcome.Failed()) failed.push_back(std::move(outcome));
    }

    // A folder the script did not reach would leave the demo keys dead (or
    // running an older script): ask for rights once when they would help,
    // otherwise say so and let the user decide.
    if (!failed.empty()) {
        bool placed = false;
        if (elevation && !parts.empty() && ShouldOfferElevation(failed) &&
            services.prompts.ShowMessage(ElevationQuestionText(failed), kGameFolderTitle, MessageIcon::Question,
                                         MessageButtons::YesNo) == MessageAnswer::Yes)
            placed = PlaceWithRights(files, *elevation, parts, gameFolder, failed);
        if (!placed && services.prompts.ShowMessage(PlacementFailureText(failed, files), kGameFolderTitle,
                                                    MessageIcon::Exclamation,
                                                    MessageButtons::YesNo) != MessageAnswer::Yes)
            return false;
    }

    const DemoQueueEntry& first = queue.At(1);
    return StartGame(services, gameFolder, ManyDemosParameters(gameFolder, first.GameType, first.Name));
}

}  // namespace

bool Launch(AppServices& services, const DemoQueue& queue, std::string_view optionalParameters,
            ElevatedRunner* elevation) {
    const bool minimise = ReadMinimise(services.store);
    const DemoKeys keys = ReadKeys(services.store);
    // Without trailing separators, so that a drive root ("D:\") joins as "D:".
    const std::string gameFolder(GameFolderForJoining(ReadFolder(services.store)));

    if (gameFolder.empty() || queue.Empty()) return minimise;

    // Names the game's console cannot take: one box, nothing written, nothing
    // started, the window left as it is.
    const AnsiTest fitsAnsi = [&](std::string_view text) { return services.shell.FitsAnsiCodePage(std::string(text)); };
    if (const auto refused = FindConsoleNameProblems(queue, fitsAnsi); !refused.empty()) {
        services.prompts.ShowMessage(ConsoleNamesMessage(queue, refused), kPlayDemoErrorTitle, MessageIcon::Stop,
                                     MessageButtons::Ok);
        return false;
    }

    bool started = false;
    if (queue.Count() == 1) {
        const DemoQueueEntry& only = queue.At(1);
        started = StartGame(services, gameFolder,
                            OneDemoParameters(gameFolder, only.GameType, only.Name, optionalParameters));
    } else {
        started = LaunchMany(services, queue, keys, gameFolder, elevation);
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
