#include "core/CommandLine.h"

namespace reelwright {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string QuoteArgument(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped;
        // elsewhere they stand for themselves.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote they are doubled too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::vector<std::string> SplitArguments(std::string_view tail) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (true) {
        while (i < tail.size() && IsSpace(tail[i])) ++i;
        if (i == tail.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < tail.size() && (quoted || !IsSpace(tail[i]))) {
            std::size_t backslashes = 0;
            while (i < tail.size() && tail[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < tail.size() && tail[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < tail.size() && tail[i + 1] == '"') {
                    // "" inside quotes is one quote character.
                    argument += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < tail.size() && (quoted || !IsSpace(tail[i]))) argument += tail[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace reelwright
