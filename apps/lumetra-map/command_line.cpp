#include "apps/lumetra-map/command_line.h"

#include <algorithm>
#include <exception>
#include <new>

#include "framework/exceptions.h"

namespace lumetra::map_tool {
namespace {

constexpr std::string_view kTool = "lumetra-map";
constexpr std::string_view kHelp = "--help";
constexpr std::string_view kHelpText = "show this help";

bool IsOperand(const Option& option) {
    return !option.name.starts_with("--");
}

bool TakesValue(const Option& option) {
    return !IsOperand(option) && !option.valueName.empty();
}

const Option* Named(std::span<const Option> options, std::string_view name) {
    const auto it = std::find_if(options.begin(), options.end(), [name](const Option& o) { return o.name == name; });
    return it != options.end() ? &*it : nullptr;
}

std::string HelpLine(std::string_view spelled, std::size_t width, std::string_view help, std::string_view fallback) {
    std::string line = "  " + std::string(spelled);
    line.append(width + 2 - spelled.size(), ' ');
    line += help;
    if (!fallback.empty()) ((line += " (default: ") += fallback) += ')';
    return line + '\n';
}

}  // namespace

std::string Spelled(const Option& option) {
    std::string text(option.name);
    if (TakesValue(option)) (text += ' ') += option.valueName;
    return text;
}

std::optional<std::string> ParsedOptions::Value(std::string_view name) const {
    for (const auto& [given, value] : m_values) {
        if (given == name) return value;
    }
    const Option* option = Named(m_options, name);
    if (option != nullptr && !option->fallback.empty()) return std::string(option->fallback);
    return std::nullopt;
}

bool ParsedOptions::Given(std::string_view name) const {
    return std::any_of(m_values.begin(), m_values.end(), [name](const auto& v) { return v.first == name; });
}

std::optional<std::string> ParseOptions(Args args, ParsedOptions& parsed) {
    const std::span<const Option> options = parsed.Options();
    const bool takesOperands = std::any_of(options.begin(), options.end(), IsOperand);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const Option* option = arg.starts_with("--") ? Named(options, arg) : nullptr;
        if (option == nullptr && !(arg.size() > 1 && arg.front() == '-')) {
            const auto free = std::find_if(options.begin(), options.end(), [&parsed](const Option& o) {
                return IsOperand(o) && !parsed.Given(o.name);
            });
            if (free == options.end()) {
                return takesOperands ? "unexpected argument '" + std::string(arg) + "'"
                                     : "unknown option '" + std::string(arg) + "'";
            }
            parsed.Set(free->name, std::string(arg));
            continue;
        }
        if (option == nullptr) return "unknown option '" + std::string(arg) + "'";
        if (parsed.Given(option->name)) return "option " + std::string(arg) + " is given twice";
        if (!TakesValue(*option)) {
            parsed.Set(option->name, "");
        } else if (i + 1 >= args.size() || args[i + 1].empty()) {
            return "option " + std::string(arg) + " needs a value";
        } else {
            parsed.Set(option->name, std::string(args[++i]));
        }
    }
    for (const Option& option : options) {
        if (option.required && !parsed.Given(option.name)) return "missing " + Spelled(option);
    }
    return std::nullopt;
}

void Print(std::FILE* stream, std::string_view text) {
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stream));
}

std::string Synopsis(const CommandSpec& spec) {
    std::string text(spec.name);
    for (const Option& option : spec.options) {
        text += option.required ? " " + Spelled(option) : " [" + Spelled(option) + "]";
    }
    return text;
}

std::string Usage(const CommandSpec& spec) {
    std::size_t width = kHelp.size();
    for (const Option& option : spec.options) width = std::max(width, Spelled(option).size());
    std::string text =
        "usage: " + std::string(kTool) + " " + Synopsis(spec) + "\n  " + std::string(spec.summary) + "\n";
    for (const Option& option : spec.options) text += HelpLine(Spelled(option), width, option.help, option.fallback);
    text += HelpLine(kHelp, width, kHelpText, {});
    text +=
        "  exit status: 0 done\n"
        "               1 " +
        std::string(spec.incomplete) +
        "\n"
        "               2 " +
        std::string(kBadInputMeaning) + "\n";
    return text;
}

int Fail(const CommandSpec& spec, ExitCode code, std::string_view message) {
    Print(stderr, std::string(kTool) + " " + std::string(spec.name) + ": " + std::string(message) + "\n");
    return code;
}

int UsageError(const CommandSpec& spec, std::string_view message) {
    Print(stderr, Usage(spec));
    return Fail(spec, kExitBadInput, message);
}

std::string CannotRead(std::string_view what, const std::string& path, std::error_code error) {
    const std::string reason = error == std::errc::not_enough_memory ? "out of memory" : error.message();
    return "cannot read " + std::string(what) + " '" + path + "': " + reason;
}

namespace {

// What the command ran into, as a message and kExitIncomplete.
int Failure(const CommandSpec& spec, const std::exception_ptr& thrown) {
    try {
        std::rethrow_exception(thrown);
    } catch (const ResourceException& e) {
        return Fail(spec, kExitIncomplete, std::string("a bitmap resource is missing or broken: ") + e.what());
    } catch (const MemoryException& e) {
        return Fail(spec, kExitIncomplete, std::string("out of memory: ") + e.what());
    } catch (const std::bad_alloc&) {
        return Fail(spec, kExitIncomplete, "out of memory");
    } catch (const FileException& e) {
        const std::string cause = e.Cause() != 0 ? ": " + std::generic_category().message(e.Cause()) : "";
        return Fail(spec, kExitIncomplete, std::string("file error: ") + e.what() + cause);
    } catch (const std::exception& e) {
        return Fail(spec, kExitIncomplete, e.what());
    }
}

// A command whose output did not all reach stdout has not done its work.
int FinishOutput(const CommandSpec& spec, int code) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return code;
    static_cast<void>(Fail(spec, kExitIncomplete, "writing to standard output failed"));
    return code == kExitDone ? kExitIncomplete : code;
}

}  // namespace

int RunCommand(const CommandSpec& spec, int (*run)(const ParsedOptions&), Args args) {
    if (std::find(args.begin(), args.end(), kHelp) != args.end()) {
        Print(stdout, Usage(spec));
        return FinishOutput(spec, kExitDone);
    }
    ParsedOptions options(spec.options);
    if (const std::optional<std::string> problem = ParseOptions(args, options)) return UsageError(spec, *problem);
    int code = kExitIncomplete;
    try {
        code = run(options);
    } catch (...) {
        code = Failure(spec, std::current_exception());
    }
    return FinishOutput(spec, code);
}

}  // namespace lumetra::map_tool
