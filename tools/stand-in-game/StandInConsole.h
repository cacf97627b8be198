// The stand-in game's console: it runs the command line's commands through
// the model of the game's console, with "exec" reading files from the game
// folder as the game does (the fs_game folder, then "base"), so that a chain
// of script files runs as it would in the game.
#pragma once

#include <string>

namespace standin {

// The record lines of one start, each ending in CR LF:
//   console=<each exec, missing file, buffer overflow and fatal error, in order>
//   variable=demo<i> <value>   for demo1, demo2, ... as long as they are defined
// `parameters` and `directory` are UTF-8; the files are read in the ANSI code page.
std::string RunCommandLine(const std::string& parameters, const std::string& directory);

}  // namespace standin
