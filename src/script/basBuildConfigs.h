// The playback script "Reelwright.cfg": key binds for stepping through the
// queued demos and for slow/fast motion, pause, play, third-person view and
// stop, followed by one playback entry per queued demo. The builders only
// compute text; WriteDemoConfig puts it into the program's folder.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace reelwright {
class FileSystem;

// The playback script's file name, in the program's and the game-type folders.
inline constexpr const char* kScriptFileName = "Reelwright.cfg";
}

namespace basBuildConfigs {

// Lines 4 to 28 of the script (the six viewer key scripts): CR LF after each
// line except the last (the stop bind).
std::string BuildViewerScripts(std::string_view slowKey, std::string_view fastKey, std::string_view pauseKey,
                               std::string_view thirdPersonKey, std::string_view playKey,
                               std::string_view stopKey);

// One playback entry, ending in CR LF. Its neighbours in the ring: the first
// index leads back to `last`, the last index on to `first`. Throws
// std::overflow_error when a neighbour falls outside the 16-bit signed range.
std::string BuildDemoEntry(std::int16_t first, std::int16_t last, std::int16_t index, std::string_view name,
                           std::string_view gameType);

// Appends one playback entry to `chain` (what BuildDemoEntry returns), without
// building a temporary text: Launch calls this once per queued demo.
void AppendDemoEntry(std::string& chain, std::int16_t first, std::int16_t last, std::int16_t index,
                     std::string_view name, std::string_view gameType);

// Lines 29 to 37 (previous/next binds, the start values of demonext and
// demopre, the column header), each ending in CR LF, then `chain` unchanged.
// The game is started on demo `first`: demonext starts at demo first + 1 and
// demopre at demo `last`. Throws std::overflow_error when first + 1 falls
// outside the 16-bit signed range.
std::string BuildNavigationBinds(std::string_view prevKey, std::string_view nextKey, std::string_view chain,
                                 std::int16_t first, std::int16_t last);

// The whole file: the two header lines and an empty line, the viewer text,
// CR LF, the navigation text.
std::string ComposeDemoConfig(std::string_view viewer, std::string_view navigation);

// The program folder and "Reelwright.cfg" joined with one separator.
std::string DemoConfigPath(std::string_view programFolder);

// Creates or truncates DemoConfigPath(programFolder) and writes the composed
// text in one write. False when the file could not be written.
bool WriteDemoConfig(reelwright::FileSystem& files, const std::string& programFolder, std::string_view viewer,
                     std::string_view navigation);

// The same for a text already composed.
bool WriteDemoConfigText(reelwright::FileSystem& files, const std::string& programFolder, const std::string& text);

// The eight control keys as the script binds them.
struct ScriptKeys {
    std::string slow, fast, pause, thirdPerson, play, stop, previous, next;

    friend bool operator==(const ScriptKeys&, const ScriptKeys&) = default;
};

// One queued demo as the script plays it.
struct ScriptEntry {
    std::string_view name;
    std::string_view gameType;
};

// The whole script for the keys and the demos in queue order (numbered from
// 1): ComposeDemoConfig of the viewer scripts and of the navigation binds over
// the chain of all entries, built in one text. Throws std::overflow_error for
// more entries than the 16-bit indices hold.
std::string BuildScript(const ScriptKeys& keys, std::span<const ScriptEntry> entries);

// The script's first line with its CR LF: every script this program writes
// begins with it.
std::string_view ScriptFirstLine();

}  // namespace basBuildConfigs
