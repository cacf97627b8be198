// The names that the game's console can take. Launch checks the queue against
// these rules before it writes or starts anything:
// - the game splits its command line into commands at every "+", quoted or
//   not, and reads each as a console command;
// - the console splits a line into commands at ";" outside double quotes and a
//   command into words at blanks (every character up to the space counts as
//   one) outside double quotes; "//" ends a command;
// - it reads the command line and the script in the ANSI code page.
// Hence: the game type is never quoted (on the command line and in the
// script) and must hold none of blank, ";", "+", "/" and the double quote;
// the name of the demo on the command line must hold no "+" (it is quoted
// when it holds a blank, ";" or "/"); the names in the script of two or more
// demos are run unquoted by "vstr" and must hold no blank, ";" or "/"; no
// name may hold a double quote or a control character (a line end splits a
// command even inside quotes); and every character must exist in the ANSI
// code page.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "queue/DemoQueue.h"

namespace reelwright {

enum class ConsoleNameProblem {
    GameTypeCharacters,   // the game type holds a blank, ";", "+", "/" or a double quote
    NotInAnsiCodePage,    // the name or the game type holds a character the ANSI code page lacks
    CharacterInName,      // the name holds a double quote or a control character
    PlusInCommandLineName,  // the demo on the command line has "+" in its name
    BlankInScriptName,    // two or more demos, and the name holds a blank, ";" or "/"
};

struct RefusedQueuedDemo {
    std::size_t position = 0;  // 1-based queue position
    ConsoleNameProblem problem = ConsoleNameProblem::GameTypeCharacters;
    bool operator==(const RefusedQueuedDemo&) const = default;
};

// Tells whether the ANSI code page holds every character of a UTF-8 text.
using AnsiTest = std::function<bool(std::string_view)>;

// True when the console would split the name unquoted: it holds a blank (any
// character up to the space), ";" or "/".
bool NameNeedsQuotes(std::string_view name);

// The queued demos that the game cannot take, each once with its first
// problem in the order of ConsoleNameProblem, in queue order.
std::vector<RefusedQueuedDemo> FindConsoleNameProblems(const DemoQueue& queue, const AnsiTest& fitsAnsi);

// The stop box's text: the demos concerned (at most 20, then "... and N
// more."), each with its problem and what to do.
std::string ConsoleNamesMessage(const DemoQueue& queue, const std::vector<RefusedQueuedDemo>& refused);

}  // namespace reelwright
