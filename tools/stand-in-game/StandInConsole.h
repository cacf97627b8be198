// The stand-in game's console: the model of the game's console, run as the
// engine runs it at start-up. It reads "<fs_basepath>\<fs_game>\SOF2MP.cfg"
// (the user's VirtualStore copy when that exists, as Windows redirects an old
// program), then the command line's commands, with "exec" reading files from
// the game folder as the game does (the fs_game folder, then "base"), so that
// a chain of script files runs as it would in the game. Whenever a bind or a
// stored ("seta") variable changes, it rewrites the config as the engine does;
// a config with the read-only attribute is not written.
#pragma once

#include <optional>
#include <string>

#include "support/ConsoleInterpreter.h"

namespace standin {

class GameConsole {
public:
    // `parameters` is the command line without the program's name;
    // `directory` the working directory, the base path when none is set.
    GameConsole(const std::wstring& parameters, const std::wstring& directory);

    // Runs the config and then the command line, and gives the record lines
    // of what the console did with the command line, each ending in CR LF:
    //   console=<each exec, missing file, buffer overflow and fatal error, in order>
    //   variable=demo<i> <value>   for demo1, demo2, ... as long as they are defined
    // in UTF-8 (the files are read in the ANSI code page).
    std::string Start();

    // Runs a file of player actions line by line, as a player would type them:
    // console commands, "press <key>" to press a bound key, and "quit" to end
    // the game there.
    void RunPlayer(const std::wstring& playerFile);
    bool Quit() const { return quit_; }

private:
    std::optional<std::string> ReadGameFile(const std::string& name) const;
    void WriteConfigWhenChanged();

    reelwright::test::ConsoleInterpreter console_;
    std::wstring directory_, basePath_, gameType_, config_;
    std::string commandLine_;
    bool quit_ = false;
    bool stopped_ = false;  // a script ran without end
};

}  // namespace standin
