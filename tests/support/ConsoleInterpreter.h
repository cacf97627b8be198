// A small model of the game's console, enough to run the playback script and
// press its keys in tests:
// - a text is split into commands at CR, LF and at ';' outside double quotes
//   and comments: "//" comments out the rest of the line, ';' included, and
//   "/*" runs over ';' and line ends to "*/", where the command ends;
// - a command is split into arguments at blanks; a double-quoted text is one
//   argument (a quote also ends an unquoted argument); outside quotes "//"
//   ends the command and "/*" starts a comment that runs to "*/", wherever
//   they stand, inside an unquoted argument too;
// - text is read as signed characters: a byte of 0x80 or above is below the
//   space, so outside quotes it is a blank (between arguments it is skipped,
//   inside one it ends it); inside quotes it is kept;
// - set/seta name args...: the variable gets the remaining arguments joined
//   with one blank; vstr name runs the variable's text before what follows;
//   bind key args...: the key runs that text when pressed; wait, echo, demo and
//   stopdemo are recorded in the trace; a command named like a variable sets
//   it to its first argument;
// - variable and key names are compared without regard to case, as the game
//   does;
// - anything else is an unknown command: recorded as "unknown <name>" and
//   skipped, as the game reports and skips it (the script's two header lines,
//   which begin with "\\", are such commands);
// - the game's command line is split into commands at every "+", inside
//   double quotes too, and each piece is added to the command buffer as a
//   line of console text; then the buffer runs;
// - the command buffer holds 16 384 bytes, as the engine's does: "exec" and
//   "vstr" insert their text (and a line end) ahead of what waits in it, and
//   an insertion that would take it past that size is dropped whole, with the
//   engine's message "Cbuf_InsertText overflowed" in the trace; text added at
//   the end (the command line) that would fill it is dropped with
//   "Cbuf_AddText: overflow";
// - "exec name" reads the file through the console's file source (".cfg" is
//   added to a name without extension) and inserts it; "exec <file>" is
//   recorded in the trace, and "couldn't exec <file>" when the source has no
//   such file; without a file source it is only recorded;
// - an optional limit on the number of variables: creating one more ends the
//   console with the fatal error "MAX_CVARS", and nothing runs after that;
// - "seta" marks a variable as stored in the config ("set" keeps the mark of
//   a variable that has it), and "unbindall" clears every bind; any change of
//   a bind or a stored variable marks the config as to be rewritten, which
//   ConfigText gives as the engine writes it.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace reelwright::test {

class ConsoleInterpreter {
public:
    static constexpr std::size_t kEngineBufferSize = 16384;

    // The files "exec" reads: the text of a file, or nothing when it is missing.
    using FileSource = std::function<std::optional<std::string>(const std::string& name)>;

    explicit ConsoleInterpreter(std::size_t bufferSize = kEngineBufferSize);

    void SetFileSource(FileSource source) { files_ = std::move(source); }
    // The most variables the console holds, its own included (it starts with
    // four: timescale, cl_freezedemo, cg_thirdperson and fs_gametype).
    void SetVariableLimit(std::size_t limit) { variableLimit_ = limit; }
    std::size_t VariableCount() const { return variables_.size(); }
    // The fatal error that ended the console, if any.
    const std::optional<std::string>& FatalError() const { return fatalError_; }

    // Runs a script text, as "exec" does: inserted ahead of the buffer's text.
    void Execute(std::string_view text);
    // Runs what is bound to the key; nothing when the key is not bound.
    void PressKey(std::string_view key);
    // Runs the game's command line (the parameters it was started with).
    void ExecuteCommandLine(std::string_view parameters);
    // The pieces of a command line, split at every "+" as the game does.
    static std::vector<std::string> SplitCommandLine(std::string_view parameters);

    std::optional<std::string> Variable(std::string_view name) const;
    std::optional<std::string> Binding(std::string_view key) const;
    // Every bound key (lower case) with its text.
    const std::map<std::string, std::string>& Bindings() const { return bindings_; }

    // The variables set with "seta" so far (lower-case names).
    std::set<std::string> ArchivedVariables() const { return archived_; }

    // True when a bind or a stored variable changed since the last call.
    bool TakeConfigChanged();
    // The config as the engine writes it: a comment line, "unbindall", every
    // bind, every stored variable, each line ending in `lineEnd`. Key names
    // as the engine writes them: one character in small letters, longer names
    // in capitals.
    std::string ConfigText(std::string_view lineEnd = "\n") const;

    // What the console did, in order: "demo <name>", "exec <file>", "stopdemo", "echo <text>",
    // "wait" / "wait <n>", "<game variable> <value>" when timescale,
    // cl_freezedemo or cg_thirdperson is set, "unknown <command>", and the
    // engine's messages "couldn't exec <file>", "Cbuf_InsertText overflowed",
    // "Cbuf_AddText: overflow".
    const std::vector<std::string>& Trace() const { return trace_; }
    // The trace entries that begin with `prefix`, and forgets the whole trace.
    std::vector<std::string> Take(std::string_view prefix = "");

    // Splits one command into its arguments.
    static std::vector<std::string> Tokenize(std::string_view command);

private:
    bool InsertText(std::string_view text);
    void AddText(std::string_view text);
    void Exec(const std::string& name);
    void Run();
    void RunCommand(const std::vector<std::string>& arguments);
    void SetVariable(const std::string& name, const std::string& value, bool archive = false);

    std::map<std::string, std::string> variables_;  // lower-case name -> value
    std::map<std::string, std::string> bindings_;   // lower-case key -> text
    std::set<std::string> archived_;                // lower-case names set with seta
    bool configChanged_ = false;
    std::string buffer_;                            // commands still to run
    std::vector<std::string> trace_;
    std::size_t commandsRun_ = 0;
    std::size_t bufferSize_;
    std::optional<std::size_t> variableLimit_;
    std::optional<std::string> fatalError_;
    FileSource files_;
};

// A playback session as the user steps through it: the console runs the
// game's command line, reading the files "exec" names from `files`, then each
// of `keys` is pressed in turn. What each step did first: the command line's
// "demo <name>", then for each key the first entry of its trace ("demo
// <name>", "timescale 0.90", "cl_freezedemo 1", "stopdemo", ...; "" when the
// key did nothing).
std::vector<std::string> PlaySession(std::string_view commandLine, ConsoleInterpreter::FileSource files,
                                     const std::vector<std::string>& keys);

}  // namespace reelwright::test
