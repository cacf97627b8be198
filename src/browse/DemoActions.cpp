#include "browse/DemoActions.h"

#include <algorithm>
#include <unordered_set>

#include "core/GameFolder.h"
#include "core/Text.h"
#include "queue/DemoDetails.h"
#include "queue/DemoDrop.h"

namespace reelwright {

namespace {

bool IsFileNameCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    return std::string_view("\\/:*?\"<>|").find(c) == std::string_view::npos;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

AddDemosResult AddBrowsedDemos(AppServices& services, DemoQueue& queue, const std::vector<std::string>& paths) {
    const std::string gameFolder = ReadGameFolder(services.store);
    AddDemosResult result;
    for (const std::string& path : paths) {
        const DemoPlace place = CheckDemoFileForQueue(gameFolder, path);
        if (!place.Accepted()) {
            result.refused.push_back({path, place.refusal});
        } else if (result.beyondLimit > 0 || !queue.Append({place.name, place.gameType, path})) {
            ++result.beyondLimit;
        } else {
            ++result.added;
        }
    }
    if (!result.AllAdded())
        services.prompts.ShowMessage(NotAddedMessage(result, gameFolder), kAddErrorTitle, MessageIcon::Exclamation,
                                     MessageButtons::Ok);
    return result;
}

RenameCheck CheckDemoRename(FileSystem& files, const AnsiTest& fitsAnsi, const std::string& path,
                            std::string_view newFileName) {
    RenameCheck check;
    const std::string name(newFileName);
    check.newPath = JoinFolder(FolderOf(path), name);
    if (name == FileNameOf(path)) {
        check.problem = RenameProblem::Unchanged;
        return check;
    }
    if (name.empty()) {
        check.problem = RenameProblem::NotDemoName;
        return check;
    }
    if (!std::all_of(name.begin(), name.end(), IsFileNameCharacter) || name.back() == ' ' || name.back() == '.') {
        check.problem = RenameProblem::FileNameCharacter;
        return check;
    }
    if (!IsDemoFileName(name) || name.size() == std::string_view(".dm_2004").size()) {
        check.problem = RenameProblem::NotDemoName;
        return check;
    }
    // The game's console reads the name as the second demo of a queue and
    // as the first: a plain game type, so that only the name is judged.
    DemoQueue trial;
    trial.Append({name, "base\\mp", check.newPath});
    trial.Append({"other.dm_2004", "base\\mp", "other.dm_2004"});
    for (const RefusedQueuedDemo& refused : FindConsoleNameProblems(trial, fitsAnsi))
        if (refused.position == 1) {
            check.problem = RenameProblem::ConsoleName;
            check.console = refused.problem;
            return check;
        }
    // A new letter case of the same name names the same file.
    const bool sameFile = EqualIgnoringAsciiCase(name, FileNameOf(path));
    if (!sameFile && (files.FileExists(check.newPath) || files.ListFolder(check.newPath))) {
        check.problem = RenameProblem::NameExists;
        return check;
    }
    return check;
}

std::string RenameProblemText(const RenameCheck& check, std::string_view newFileName) {
    std::string quoted = "\"";
    quoted.append(newFileName).append("\"");
    switch (check.problem) {
        case RenameProblem::None:
        case RenameProblem::Unchanged: return {};
        case RenameProblem::NotDemoName:
            return "The demo was not renamed, because " + quoted +
                   " does not end in \".dm_2004\" (or is nothing else). The game plays only files of that type.";
        case RenameProblem::FileNameCharacter:
            return "The demo was not renamed, because " + quoted +
                   " is not a file name: a file name cannot hold \\ / : * ? \" < > | or control characters, "
                   "nor end in a blank or a dot.";
        case RenameProblem::NameExists:
            return "The demo was not renamed, because a file named " + quoted + " is already in its folder.";
        case RenameProblem::ConsoleName:
            switch (check.console) {
                case ConsoleNameProblem::PlusInCommandLineName:
                    return "The demo was not renamed, because " + quoted +
                           " holds a \"+\": the game splits its command line there.";
                case ConsoleNameProblem::BlankInScriptName:
                    return "The demo was not renamed, because " + quoted +
                           " holds a blank, \";\" or \"/\": the playback script of several demos cannot take it.";
                case ConsoleNameProblem::OutsideAsciiInScriptName:
                case ConsoleNameProblem::NotInAnsiCodePage:
                case ConsoleNameProblem::GameTypeOutsideAscii:
                    return "The demo was not renamed, because " + quoted +
                           " holds a character outside plain ASCII (such as an accented letter): the playback "
                           "script of several demos cannot take it.";
                case ConsoleNameProblem::CharacterInName:
                case ConsoleNameProblem::GameTypeCharacters:
                    return "The demo was not renamed, because " + quoted +
                           " holds a character the game cannot take.";
            }
    }
    return {};
}

std::size_t FollowRenamedDemo(DemoQueue& queue, std::string_view gameFolder, const std::string& oldPath,
                              const std::string& newPath) {
    const DemoPlace place = CheckDemoFileForQueue(gameFolder, newPath);
    if (!place.Accepted()) return 0;
    std::size_t followed = 0;
    for (std::size_t index = 0; index < queue.Count(); ++index) {
        DemoQueueEntry entry = queue.Entries()[index];
        if (!EqualIgnoringAsciiCase(DemoFileOfEntry(gameFolder, entry), oldPath)) continue;
        if (EqualIgnoringAsciiCase(entry.Path, oldPath)) entry.Path = newPath;
        entry.Name = place.name;
        queue.ReplaceAt(index, std::move(entry));
        ++followed;
    }
    return followed;
}

std::size_t RemoveDeletedDemos(DemoQueue& queue, std::string_view gameFolder, const std::vector<std::string>& deleted) {
    std::unordered_set<std::string> gone;
    for (const std::string& path : deleted) gone.insert(AsciiLower(path));
    std::vector<std::size_t> rows;
    for (std::size_t index = 0; index < queue.Count(); ++index)
        if (gone.count(AsciiLower(DemoFileOfEntry(gameFolder, queue.Entries()[index])))) rows.push_back(index);
    return queue.RemoveRows(rows);
}

std::string DeleteQuestionText(const std::vector<std::string>& names) {
    if (names.size() == 1) return "Move the demo \"" + names.front() + "\" to the Recycle Bin?";
    return "Move these " + std::to_string(names.size()) + " demos to the Recycle Bin?";
}

void ShowDemoInFolder(AppServices& services, const std::string& path) {
    const std::uint32_t error = services.shell.ShowInFolder(path);
    if (error == 0) return;
    std::string reason = services.shell.ErrorText(error);
    if (reason.empty()) reason = "error " + std::to_string(error);
    services.prompts.ShowMessage("The folder of \"" + path + "\" could not be shown: " + reason, kShowInFolderTitle,
                                 MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace reelwright
