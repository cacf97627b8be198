#include "queue/ConsoleNames.h"

#include <algorithm>

#include "core/ConsoleKeyName.h"

namespace reelwright {

namespace {

constexpr std::size_t kMaxListedDemos = 20;

bool IsConsoleBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool SplitsUnquoted(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return IsConsoleBlank(c) || c == ';' || c == '/'; });
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < ' '; }

// The console reads a byte of 0x80 or above as a blank.
bool HoldsOutsideAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

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
        case ConsoleNameProblem::GameTypeOutsideAscii:
            return "its game type folder holds a character outside plain ASCII (such as an accented letter), "
                   "which the game reads as a blank there. Rename the folder.";
        case ConsoleNameProblem::CharacterInName:
            return "its name holds a double quote or a control character, which the game cannot take. Rename the "
                   "file.";
        case ConsoleNameProblem::PlusInCommandLineName:
            return "the game starts on this demo and splits its command line at every \"+\". Rename the file, "
                   "or put another demo first in the queue.";
        case ConsoleNameProblem::BlankInScriptName:
            return "its name holds a blank, \";\" or \"/\", which the playback script of several demos cannot "
                   "take. Rename the file, or play it alone.";
        case ConsoleNameProblem::OutsideAsciiInScriptName:
            return "its name holds a character outside plain ASCII (such as an accented letter), which the "
                   "playback script of several demos cannot take. Rename the file, or play it alone.";
    }
    return "";
}

bool BreaksCommandLine(char c) { return c == '+' || c == '"' || IsControl(c); }

// The length of the UTF-8 character that begins the text: 1 for ASCII and
// for a byte that begins no well-formed sequence.
std::size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    return length;
}

// "U+FF0B" for a UTF-8 character; a stray byte is named by its code.
std::string CodePointLabel(std::string_view character) {
    auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1 && lead >= 0x80) return "byte " + std::to_string(lead);
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned long codePoint = lead & kLeadBits[character.size()];
    for (std::size_t i = 1; i < character.size(); ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (; codePoint || digits.size() < 4; codePoint >>= 4) digits.insert(digits.begin(), kHex[codePoint & 0xF]);
    return "U+" + digits;
}

bool IsBreakingCharacter(std::string_view character) {
    return character.size() == 1 && BreaksCommandLine(character[0]);
}

// The character as the boxes name it.
std::string CharacterName(std::string_view character) {
    if (character == "+") return "a \"+\"";
    if (character == "\"") return "a double quote";
    if (IsBreakingCharacter(character))
        return "a control character (code " + std::to_string(static_cast<unsigned char>(character[0])) + ")";
    return "the character \"" + std::string(character) + "\" (" + CodePointLabel(character) + ")";
}

// What the character does to the game's command line.
const char* CharacterEffect(std::string_view character) {
    if (character == "+") return "at which the game splits its command line";
    if (IsBreakingCharacter(character)) return "which breaks the quotes around the folder on the game's command line";
    return "which your system's code page (for programs that do not use Unicode) cannot represent and the game "
           "would read as another character";
}

// What the folder's path must hold instead.
const char* FolderAdvice(std::string_view character) {
    return IsBreakingCharacter(character) ? "holds no \"+\" or double quote"
                                          : "holds only characters of your system's code page";
}

// The action of each bind index, as the properties dialog labels it.
constexpr std::array<const char*, 8> kBindActions{"Next Demo",   "Play",        "Pause",           "Stop",
                                                  "Fast Motion", "Slow Motion", "3rd Person View", "Previous Demo"};

}  // namespace

bool NameNeedsQuotes(std::string_view name) { return SplitsUnquoted(name) || HoldsOutsideAscii(name); }

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
        else if (HoldsOutsideAscii(entry.GameType))
            refuse(ConsoleNameProblem::GameTypeOutsideAscii);
        else if (Holds(entry.Name, '"') || std::any_of(entry.Name.begin(), entry.Name.end(), IsControl))
            refuse(ConsoleNameProblem::CharacterInName);
        else if (position == 1 && Holds(entry.Name, '+'))
            refuse(ConsoleNameProblem::PlusInCommandLineName);
        else if (script && SplitsUnquoted(entry.Name))
            refuse(ConsoleNameProblem::BlankInScriptName);
        else if (script && HoldsOutsideAscii(entry.Name))
            refuse(ConsoleNameProblem::OutsideAsciiInScriptName);
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

std::optional<char> GameFolderBreakingCharacter(std::string_view gameFolder) {
    const auto found = std::find_if(gameFolder.begin(), gameFolder.end(), BreaksCommandLine);
    if (found == gameFolder.end()) return std::nullopt;
    return *found;
}

std::optional<std::string> GameFolderRefusedCharacter(std::string_view gameFolder, const AnsiTest& fitsAnsi) {
    for (std::size_t at = 0; at < gameFolder.size();) {
        const std::string_view character = gameFolder.substr(at, CharacterLength(gameFolder.substr(at)));
        if (IsBreakingCharacter(character) || !fitsAnsi(character)) return std::string(character);
        at += character.size();
    }
    return std::nullopt;
}

std::string GameFolderRefusedMessage(std::string_view gameFolder, std::string_view character) {
    std::string text = "Your SOF2 folder holds " + CharacterName(character) + ", " + CharacterEffect(character) +
                       ", so the game was not started:\r\n\r\n";
    text += gameFolder;
    text += "\r\n\r\nMove or rename the game's folder so that its path ";
    text += FolderAdvice(character);
    text += ", then locate it again with File > Locate SOF2.exe File.";
    return text;
}

std::string GameFolderRefusedMessage(std::string_view gameFolder, char character) {
    return GameFolderRefusedMessage(gameFolder, std::string_view(&character, 1));
}

std::string GameFolderNotTakenText(std::string_view gameFolder, char character) {
    const std::string_view named(&character, 1);
    std::string text = "The folder you have chosen holds " + CharacterName(named) + ", " + CharacterEffect(named) +
                       ":\r\n\r\n";
    text += gameFolder;
    text += "\r\n\r\nMove or rename the game's folder so that its path holds no \"+\" or double quote, then "
            "choose it again.";
    return text;
}

std::vector<int> RefusedKeyNames(const std::array<std::string, 8>& binds) {
    std::vector<int> refused;
    for (int i = 0; i < static_cast<int>(binds.size()); ++i)
        if (!binds[i].empty() && !IsConsoleKeyName(binds[i])) refused.push_back(i);
    return refused;
}

std::string RefusedKeyNamesMessage(const std::array<std::string, 8>& binds, const std::vector<int>& refused) {
    std::string text = refused.size() == 1 ? "The game's console cannot take this demo key as one key, so nothing "
                                             "was written and the game was not started:"
                                           : "The game's console cannot take these demo keys as one key each, so "
                                             "nothing was written and the game was not started:";
    text += "\r\n";
    for (int index : refused) {
        text += "\r\n";
        text += kBindActions[index];
        text += ": \"" + binds[index] + "\"";
    }
    text += "\r\n\r\nChoose another key in Tools > Properties, on the Demo Keys page: click into the key's box, "
            "press the key and then Ok.";
    return text;
}

}  // namespace reelwright
