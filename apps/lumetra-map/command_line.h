// What every command of lumetra-map shares: its options declared as a table
// (the parser and the usage text both come from it), its messages and its
// exit status.
#pragma once

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace lumetra::map_tool {

using Args = std::span<const std::string_view>;

// The exit status of every command.
enum ExitCode : int {
    kExitDone = 0,        // it did all it was asked
    kExitIncomplete = 1,  // it ran, but its result is not whole (the command says how)
    kExitBadInput = 2,    // bad arguments, or a file that cannot be read or created
};

// One option of a command. A name without the leading "--" is an operand: a
// plain word in that place, such as "FILE".
struct Option {
    std::string_view name;       // "--out", or an operand such as "FILE"
    std::string_view valueName;  // "FILE.bmp" for an option that takes a value; empty for a flag
    std::string_view help;
    bool required = false;
    std::string_view fallback = {};  // the value when the option is left out
};

struct CommandSpec {
    std::string_view name;
    std::string_view summary;  // what the command does, in one line
    std::span<const Option> options;
    std::string_view incomplete;  // when it exits with kExitIncomplete
};

// The options a command was given, by name.
class ParsedOptions {
public:
    explicit ParsedOptions(std::span<const Option> options) : m_options(options) {}

    // The value of the option or operand `name`: the one given, else its
    // fallback, else nothing. For a flag, "" when given.
    std::optional<std::string> Value(std::string_view name) const;

    std::span<const Option> Options() const { return m_options; }
    bool Given(std::string_view name) const;
    void Set(std::string_view name, std::string value) { m_values.emplace_back(name, std::move(value)); }

private:
    std::span<const Option> m_options;
    std::vector<std::pair<std::string_view, std::string>> m_values;
};

// Fills `parsed` from the arguments; the first problem, if any, as a message.
std::optional<std::string> ParseOptions(Args args, ParsedOptions& parsed);

// Writes the text as it is. A failed write to stdout is caught once, when
// the command has ended (FinishOutput).
void Print(std::FILE* stream, std::string_view text);

// What exit status 2 means, for every command.
inline constexpr std::string_view kBadInputMeaning = "bad arguments, or a file that cannot be read or created";

// The option as the user types it: "--out FILE.bmp", "--help" or "FILE".
std::string Spelled(const Option& option);

// "usage: lumetra-map NAME ..." and a line for every option.
std::string Usage(const CommandSpec& spec);
// The command's line in the usage of the whole tool.
std::string Synopsis(const CommandSpec& spec);

// Says "lumetra-map NAME: message" on stderr and returns `code`.
int Fail(const CommandSpec& spec, ExitCode code, std::string_view message);
// The usage, then the message, on stderr; returns kExitBadInput.
int UsageError(const CommandSpec& spec, std::string_view message);

// Parses the arguments after the command's name, then runs it: --help shows
// the usage, a bad argument ends with UsageError, and whatever the framework
// throws (a missing or broken bitmap resource, memory, a file) or a failed
// write to stdout ends with a message and kExitIncomplete.
int RunCommand(const CommandSpec& spec, int (*run)(const ParsedOptions&), Args args);

// "cannot read the target file 'x': reason", with "out of memory" as the
// reason when the file did not fit.
std::string CannotRead(std::string_view what, const std::string& path, std::error_code error);

}  // namespace lumetra::map_tool
