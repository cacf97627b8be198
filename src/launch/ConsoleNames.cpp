#include "launch/ConsoleNames.h"

#include <algorithm>

namespace reelwright {

namespace {

constexpr std::size_t kMaxListedDemos = 20;

bool IsConsoleBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool SplitsUnquoted(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return IsConsoleBlank(c) || c == ';' || c == '/'; });
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < ' '; }

bool Holds(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

// The demo as the user knows it: its path below the game folder.
std::string DemoLabel(const DemoQueueEntry& entry) {
    std::string label = entry.GameType;
    if (!label.empty()) label += '\\';
    return label + "demos\\" + entry.Name;
}

const char* ProblemText(ConsoleNameProblem problem) {
    switch (problem) {
        case ConsoleNameProblem::GameTypeCharacters:
            return "its game type folder holds a blank, \";\", \"+\", \"/\" or a double quote, which the game "
                   "cannot take. Rename the folder.";
        case ConsoleNameProblem::NotInAnsiCodePage:
            return "its path holds characters that your system's code page (for programs that do not use "
                   "Unicode) cannot represent, and the game reads names in that code page. Rename the file or "
                   "its folder.";
        case ConsoleNameProblem::CharacterInName:
            return "its name holds a double quote or a control character, which the game cannot take. Rename the "
                   "file.";
        case ConsoleNameProblem::PlusInCommandLineName:
            return "the game starts on this demo and splits its command line at every \"+\". Rename the file, "
                   "or put another demo first in the queue.";
        case ConsoleNameProblem::BlankInScriptName:
            return "its name holds a blank, \";\" or \"/\", which the playback script of several demos cannot "
                   "take. Rename the file, or play it alone.";
    }
    return "";
}

}  // namespace

bool NameNeedsQuotes(std::string_view name) { return SplitsUnquoted(name); }

std::vector<RefusedQueuedDemo> FindConsoleNameProblems(const DemoQueue& queue, const AnsiTest& fitsAnsi) {
    std::vector<RefusedQueuedDemo> refused;
    const bool script = queue.Count() >= 2;
    for (std::size_t position = 1; position <= queue.Count(); ++position) {
        const DemoQueueEntry& entry = queue.At(position);
        auto refuse = [&](ConsoleNameProblem problem) { refused.push_back({position, problem}); };
        if (SplitsUnquoted(entry.GameType) || Holds(entry.GameType, '+') || Holds(entry.GameType, '"'))
            refuse(ConsoleNameProblem::GameTypeCharacters);
        else if (!fitsAnsi(entry.Name) || !fitsAnsi(entry.GameType))
            refuse(ConsoleNameProblem::NotInAnsiCodePage);
        else if (Holds(entry.Name, '"') || std::any_of(entry.Name.begin(), entry.Name.end(), IsControl))
            refuse(ConsoleNameProblem::CharacterInName);
        else if (position == 1 && Holds(entry.Name, '+'))
            refuse(ConsoleNameProblem::PlusInCommandLineName);
        else if (script && SplitsUnquoted(entry.Name))
            refuse(ConsoleNameProblem::BlankInScriptName);
    }
    return refused;
}

std::string ConsoleNamesMessage(const DemoQueue& queue, const std::vector<RefusedQueuedDemo>& refused) {
    std::string text = refused.size() == 1 ? "The game cannot take the name of this queued demo, so nothing was "
                                             "written and the game was not started:"
                                           : "The game cannot take the names of these queued demos, so nothing was "
                                             "written and the game was not started:";
    text += "\r\n";
    const std::size_t listed = std::min(refused.size(), kMaxListedDemos);
    for (std::size_t i = 0; i < listed; ++i) {
        text += "\r\n";
        text += DemoLabel(queue.At(refused[i].position));
        text += ": ";
        text += ProblemText(refused[i].problem);
    }
    if (refused.size() > listed) text += "\r\n... and " + std::to_string(refused.size() - listed) + " more.";
    return text;
}

}  // namespace reelwright
