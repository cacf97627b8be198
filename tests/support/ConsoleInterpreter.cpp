#include "support/ConsoleInterpreter.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace reelwright::test {

namespace {

// A script that keeps re-running itself through vstr is a fault of the script.
constexpr std::size_t kCommandLimit = 100000;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The variables of the game that the trace follows.
bool IsTracedGameVariable(const std::string& lowerName) {
    return lowerName == "timescale" || lowerName == "cl_freezedemo" || lowerName == "cg_thirdperson";
}

// The console reads text as signed characters: every byte of 0x80 or above
// is below the space and counts as a blank.
bool IsConsoleBlank(char c) { return static_cast<signed char>(c) <= ' '; }

bool StartsComment(std::string_view text, std::size_t i) {
    return text.compare(i, 2, "//") == 0 || text.compare(i, 2, "/*") == 0;
}

std::string JoinFrom(const std::vector<std::string>& arguments, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < arguments.size(); ++i) {
        if (i > first) text += ' ';
        text += arguments[i];
    }
    return text;
}

}  // namespace

ConsoleInterpreter::ConsoleInterpreter(std::size_t bufferSize)
    : variables_{{"timescale", "1"}, {"cl_freezedemo", "0"}, {"cg_thirdperson", "0"}, {"fs_gametype", ""}},
      bufferSize_(bufferSize) {}

// The engine's insertion: the text and a line end go ahead of what waits, or
// nothing at all when they do not fit.
bool ConsoleInterpreter::InsertText(std::string_view text) {
    if (fatalError_) return false;
    if (buffer_.size() + text.size() + 1 > bufferSize_) {
        trace_.push_back("Cbuf_InsertText overflowed");
        return false;
    }
    std::string inserted(text);
    inserted += '\n';
    buffer_.insert(0, inserted);
    return true;
}

// The engine's append, which keeps one byte of the buffer free.
void ConsoleInterpreter::AddText(std::string_view text) {
    if (fatalError_) return;
    if (buffer_.size() + text.size() >= bufferSize_) {
        trace_.push_back("Cbuf_AddText: overflow");
        return;
    }
    buffer_.append(text);
}

void ConsoleInterpreter::Execute(std::string_view text) {
    if (InsertText(text)) Run();
}

void ConsoleInterpreter::PressKey(std::string_view key) {
    const auto found = bindings_.find(Lower(key));
    if (found == bindings_.end()) return;
    Execute(found->second);
}

void ConsoleInterpreter::ExecuteCommandLine(std::string_view parameters) {
    // Each piece goes to the end of the command buffer as a line of its own,
    // so ";" outside quotes separates commands there too; then it all runs.
    for (const std::string& piece : SplitCommandLine(parameters)) {
        AddText(piece);
        AddText("\n");
    }
    Run();
}

void ConsoleInterpreter::Exec(const std::string& name) {
    std::string file = name;
    if (file.find('.') == std::string::npos) file += ".cfg";
    trace_.push_back("exec " + file);
    if (!files_) return;
    const std::optional<std::string> text = files_(file);
    if (!text) {
        trace_.push_back("couldn't exec " + file);
        return;
    }
    InsertText(*text);
}

std::vector<std::string> ConsoleInterpreter::SplitCommandLine(std::string_view parameters) {
    std::vector<std::string> pieces;
    std::size_t start = parameters.find('+');
    while (start != std::string_view::npos) {
        const std::size_t end = parameters.find('+', start + 1);
        pieces.emplace_back(parameters.substr(start + 1, end == std::string_view::npos ? end : end - start - 1));
        start = end;
    }
    return pieces;
}

std::optional<std::string> ConsoleInterpreter::Variable(std::string_view name) const {
    const auto found = variables_.find(Lower(name));
    if (found == variables_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> ConsoleInterpreter::Binding(std::string_view key) const {
    const auto found = bindings_.find(Lower(key));
    if (found == bindings_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> ConsoleInterpreter::Take(std::string_view prefix) {
    std::vector<std::string> taken;
    for (const auto& entry : trace_)
        if (entry.compare(0, prefix.size(), prefix) == 0) taken.push_back(entry);
    trace_.clear();
    return taken;
}

std::vector<std::string> ConsoleInterpreter::Tokenize(std::string_view command) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (true) {
        // Blanks and "/* ... */" comments between arguments; "//" ends the
        // command, as does a comment that is never closed.
        while (true) {
            while (i < command.size() && IsConsoleBlank(command[i])) ++i;
            if (command.compare(i, 2, "/*") != 0) break;
            const std::size_t close = command.find("*/", i + 2);
            if (close == std::string_view::npos) return arguments;
            i = close + 2;
        }
        if (i >= command.size() || command.compare(i, 2, "//") == 0) break;
        if (command[i] == '"') {
            const std::size_t close = command.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? command.size() : close;
            arguments.emplace_back(command.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? command.size() : close + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < command.size() && !IsConsoleBlank(command[i]) && command[i] != '"' && !StartsComment(command, i))
            ++i;
        arguments.emplace_back(command.substr(start, i - start));
    }
    return arguments;
}

void ConsoleInterpreter::Run() {
    while (!buffer_.empty() && !fatalError_) {
        // The next command ends at a line end, or at a ';' outside quotes and
        // comments. Outside quotes "//" comments out the rest of the line (its
        // ';' included), and "/*" runs over ';' and line ends to "*/", where
        // the command ends.
        bool quoted = false;
        bool lineComment = false;
        bool blockComment = false;
        std::size_t end = 0;
        for (; end < buffer_.size(); ++end) {
            const char c = buffer_[end];
            if (c == '"') quoted = !quoted;
            if (!quoted) {
                const char next = end + 1 < buffer_.size() ? buffer_[end + 1] : '\0';
                if (!blockComment && c == '/' && next == '/') {
                    lineComment = true;
                } else if (!lineComment && c == '/' && next == '*') {
                    blockComment = true;
                } else if (blockComment && c == '*' && next == '/') {
                    ++end;  // the command ends with the comment
                    break;
                }
                if (!lineComment && !blockComment && c == ';') break;
            }
            if (!blockComment && (c == '\r' || c == '\n')) break;
        }
        const std::string command = buffer_.substr(0, end);
        buffer_.erase(0, end < buffer_.size() ? end + 1 : end);

        if (++commandsRun_ > kCommandLimit) throw std::runtime_error("console script runs without end");
        const auto arguments = Tokenize(command);
        if (!arguments.empty()) RunCommand(arguments);
    }
}

void ConsoleInterpreter::RunCommand(const std::vector<std::string>& arguments) {
    const std::string name = Lower(arguments[0]);
    if (name == "set" || name == "seta") {
        if (arguments.size() >= 3) SetVariable(arguments[1], JoinFrom(arguments, 2), name == "seta");
    } else if (name == "vstr") {
        if (arguments.size() >= 2) {
            const auto value = Variable(arguments[1]);
            // The variable's text runs before the rest of the buffer.
            if (value) InsertText(*value);
        }
    } else if (name == "bind") {
        if (arguments.size() >= 3) {
            bindings_[Lower(arguments[1])] = JoinFrom(arguments, 2);
            configChanged_ = true;
        }
    } else if (name == "unbindall") {
        bindings_.clear();
        configChanged_ = true;
    } else if (name == "wait") {
        trace_.push_back(arguments.size() >= 2 ? "wait " + arguments[1] : "wait");
    } else if (name == "echo") {
        trace_.push_back("echo " + JoinFrom(arguments, 1));
    } else if (name == "demo") {
        trace_.push_back(arguments.size() >= 2 ? "demo " + arguments[1] : "demo");
    } else if (name == "exec") {
        if (arguments.size() >= 2) Exec(arguments[1]);
        else trace_.push_back("exec");
    } else if (name == "stopdemo") {
        trace_.push_back("stopdemo");
    } else if (variables_.count(name)) {
        if (arguments.size() >= 2) SetVariable(name, arguments[1]);
    } else {
        trace_.push_back("unknown " + arguments[0]);
    }
}

void ConsoleInterpreter::SetVariable(const std::string& name, const std::string& value, bool archive) {
    const std::string lower = Lower(name);
    if (variableLimit_ && !variables_.count(lower) && variables_.size() >= *variableLimit_) {
        // The engine cannot create one more and ends the game.
        fatalError_ = "MAX_CVARS";
        buffer_.clear();
        return;
    }
    const auto old = variables_.find(lower);
    const bool newlyArchived = archive && archived_.insert(lower).second;
    if (newlyArchived || (archived_.count(lower) && (old == variables_.end() || old->second != value)))
        configChanged_ = true;
    variables_[lower] = value;
    if (IsTracedGameVariable(lower)) trace_.push_back(lower + " " + value);
}

}  // namespace reelwright::test

namespace reelwright::test {

bool ConsoleInterpreter::TakeConfigChanged() {
    const bool changed = configChanged_;
    configChanged_ = false;
    return changed;
}

std::string ConsoleInterpreter::ConfigText(std::string_view lineEnd) const {
    std::string text = "// generated by the stand-in game, do not modify";
    text += lineEnd;
    text += "unbindall";
    text += lineEnd;
    for (const auto& [key, command] : bindings_) {
        std::string name = key;
        if (name.size() > 1)
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        text += "bind " + name + " \"" + command + "\"";
        text += lineEnd;
    }
    for (const auto& name : archived_) {
        text += "seta " + name + " \"" + variables_.at(name) + "\"";
        text += lineEnd;
    }
    return text;
}

std::vector<std::string> PlaySession(std::string_view commandLine, ConsoleInterpreter::FileSource files,
                                     const std::vector<std::string>& keys) {
    ConsoleInterpreter console;
    console.SetFileSource(std::move(files));
    console.ExecuteCommandLine(commandLine);
    const std::vector<std::string> started = console.Take("demo ");
    std::vector<std::string> steps{started.empty() ? std::string() : started.front()};
    for (const std::string& key : keys) {
        console.PressKey(key);
        const std::vector<std::string> trace = console.Take();
        steps.push_back(trace.empty() ? std::string() : trace.front());
    }
    return steps;
}

}  // namespace reelwright::test
