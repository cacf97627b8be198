// The names that the game's console can take. Launch checks the queue against
// these rules before it writes or starts anything:
// - the game splits its command line into commands at every "+", quoted or
//   not, and reads each as a console command;
// - the console splits a line into commands at ";" outside double quotes and a
//   command into words at blanks (every character up to the space counts as
//   one) outside double quotes; "//" and "/*" end a word wherever they stand;
// - it reads the command line and the script in the ANSI code page, as
//   signed characters: every byte of 0x80 or above ends an unquoted word as a
//   blank does. A character outside ASCII is such a byte in every ANSI code
//   page (those that lack it are refused first).
// Hence: the game type is never quoted (on the command line and in the
// script) and must hold none of blank, ";", "+", "/", the double quote and
// characters outside ASCII; the name of the demo on the command line must
// hold no "+" (it is quoted when it holds a blank, ";", "/" or a character
// outside ASCII); the names in the script of two or more demos are run
// unquoted by "vstr" and must hold none of blank, ";", "/" and characters
// outside ASCII; no name may hold a double quote or a control character (a
// line end splits a command even inside quotes); and every character must
// exist in the ANSI code page. The game folder is always quoted, so it must
// hold no "+", double quote or control character; and, as every name, only
// characters of the ANSI code page: the game's command line is converted to
// it with best-fit, so a fullwidth plus or quote would reach the game as a
// "+" or a double quote.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "queue/DemoQueue.h"

namespace reelwright {

enum class ConsoleNameProblem {
    GameTypeCharacters,   // the game type holds a blank, ";", "+", "/" or a double quote
    NotInAnsiCodePage,    // the name or the game type holds a character the ANSI code page lacks
    GameTypeOutsideAscii,  // the game type holds a character outside ASCII
    CharacterInName,      // the name holds a double quote or a control character
    PlusInCommandLineName,  // the demo on the command line has "+" in its name
    BlankInScriptName,    // two or more demos, and the name holds a blank, ";" or "/"
    OutsideAsciiInScriptName,  // two or more demos, and the name holds a character outside ASCII
};

struct RefusedQueuedDemo {
    std::size_t position = 0;  // 1-based queue position
    ConsoleNameProblem problem = ConsoleNameProblem::GameTypeCharacters;
    bool operator==(const RefusedQueuedDemo&) const = default;
};

// Tells whether the ANSI code page holds every character of a UTF-8 text.
using AnsiTest = std::function<bool(std::string_view)>;

// True when the console would split the name unquoted: it holds a blank (any
// character up to the space), ";", "/" or a character outside ASCII.
bool NameNeedsQuotes(std::string_view name);

// The queued demos that the game cannot take, each once with its first
// problem in the order of ConsoleNameProblem, in queue order.
std::vector<RefusedQueuedDemo> FindConsoleNameProblems(const DemoQueue& queue, const AnsiTest& fitsAnsi);

// The stop box's text: the demos concerned (at most 20, then "... and N
// more."), each with its problem and what to do.
std::string ConsoleNamesMessage(const DemoQueue& queue, const std::vector<RefusedQueuedDemo>& refused);

// The first character of the game folder that breaks the game's command line:
// a "+" (the game splits its command line there, quoted or not), a double
// quote or a control character (they break the quotes around the folder).
// Nothing when the folder can be passed.
std::optional<char> GameFolderBreakingCharacter(std::string_view gameFolder);

// The first character of the game folder that the game cannot take: one that
// breaks the command line (as above) or that the ANSI code page lacks, as its
// UTF-8 text. Nothing when the folder can be passed. Bytes that are not UTF-8
// come out one at a time and are judged by `fitsAnsi`.
std::optional<std::string> GameFolderRefusedCharacter(std::string_view gameFolder, const AnsiTest& fitsAnsi);

// The stop box's text of Launch and the direct playback for such a folder:
// the folder, the character (one UTF-8 character), and what to do.
std::string GameFolderRefusedMessage(std::string_view gameFolder, std::string_view character);
std::string GameFolderRefusedMessage(std::string_view gameFolder, char character);

// The folder setup's text when the chosen folder holds such a character.
std::string GameFolderNotTakenText(std::string_view gameFolder, char character);

// The bind indices (0 to 7) whose key names the script cannot bind as one key
// (see IsConsoleKeyName), in index order. An empty name is passed: it binds
// no key and breaks nothing.
std::vector<int> RefusedKeyNames(const std::array<std::string, 8>& binds);

// Launch's stop box text for those keys: each with its action and name, and
// where to choose another.
std::string RefusedKeyNamesMessage(const std::array<std::string, 8>& binds, const std::vector<int>& refused);

}  // namespace reelwright
