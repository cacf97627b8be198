// Command lines by the rules the system's parser (CommandLineToArgvW) reads
// them with: the program's own process modes ("/copy-script ...",
// "/watch-session ...") are written and read back by these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace reelwright {

// One argument in double quotes, by the rules the system's command-line
// parser (CommandLineToArgvW) reads back: backslashes before a quote doubled.
std::string QuoteArgument(std::string_view argument);

// The arguments of a command line's tail (without the program's name), by
// the same rules.
std::vector<std::string> SplitArguments(std::string_view tail);

}  // namespace reelwright
