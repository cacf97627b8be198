// The playback script "Reelwright.cfg": key binds for stepping through the
// queued demos and for slow/fast motion, pause, play, third-person view and
// stop, followed by one playback entry per queued demo. The builders only
// compute text; WriteDemoConfig puts it into the program's folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace reelwright {
class FileSystem;

// The playback script's file name, in the program's and the game-type folders.
inline constexpr const char* kScriptFileName = "Reelwright.cfg";

// The longest file of the playback script, in bytes. The game's "exec" puts a
// file into its console's command buffer at once, and that buffer holds
// 16 384 bytes: a longer file is dropped whole and none of it runs. The margin
// leaves room for what else waits in the buffer then.
inline constexpr std::size_t kScriptPartLimit = 15000;
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

// The program folder and "Reelwright.cfg" (or the part's file name) joined
// with one separator.
std::string DemoConfigPath(std::string_view programFolder, std::string_view fileName = reelwright::kScriptFileName);

// Creates or truncates DemoConfigPath(programFolder) and writes the composed
// text in one write. False when the file could not be written.
bool WriteDemoConfig(reelwright::FileSystem& files, const std::string& programFolder, std::string_view viewer,
                     std::string_view navigation);

// The same for a text already composed, under the given file name.
bool WriteDemoConfigText(reelwright::FileSystem& files, const std::string& programFolder, const std::string& text,
                         std::string_view fileName = reelwright::kScriptFileName);

// One file of the playback script as the game runs it.
struct ScriptPart {
    std::string fileName;  // "Reelwright.cfg", then "Reelwright2.cfg", "Reelwright3.cfg", ...
    std::string text;

    friend bool operator==(const ScriptPart&, const ScriptPart&) = default;
};

// The file name of part `number` (counted from 1): "Reelwright.cfg" for the
// first, "Reelwright<number>.cfg" for the others.
std::string ScriptPartFileName(std::size_t number);

// The composed script as the files the game runs. A script of at most `limit`
// bytes is one file, unchanged. A longer one becomes a chain: each part holds
// whole lines (the first one the header and the binds, then entries), at most
// `limit` bytes together with the line "exec <next part's name>" that ends
// every part but the last. A single line longer than that gets a part of its
// own: lines are never split. Sizes are counted in the text's UTF-8 bytes,
// never fewer than the file's bytes in the ANSI code page.
std::vector<ScriptPart> SplitDemoConfig(std::string_view script, std::size_t limit = reelwright::kScriptPartLimit);

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

// What every playback entry begins with, so every later part of a script too.
std::string_view EntryLineStart();

}  // namespace basBuildConfigs
