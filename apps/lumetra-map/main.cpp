// lumetra-map: the saver's reading, rendering and probing on the command
// line, so a user can see what the saver would do and why.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "apps/lumetra-map/commands.h"
#include "apps/lumetra-map/manual.h"
#include "resources/lumetra_version.h"

namespace {

using namespace lumetra::map_tool;

struct Command {
    const CommandSpec& spec;
    int (*run)(const ParsedOptions&);
};

// Every command once; its usage comes from its own table of options.
const Command kCommands[] = {
    {kCheckCommand, RunCheck},
    {kProbeCommand, RunProbe},
    {kRenderCommand, RunRender},
};

int Usage(std::FILE* out, ExitCode code) {
    std::string text = "usage: lumetra-map COMMAND [ARGS]   (lumetra-map COMMAND --help for its options)\n";
    for (const Command& c : kCommands)
        text += "  " + Synopsis(c.spec) + "\n      " + std::string(c.spec.summary) + "\n";
    Print(out, text);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) return Usage(stderr, kExitBadInput);
    if (args[0] == "--help" || args[0] == "-h") return Usage(stdout, kExitDone);
    if (args[0] == "--version") {
        Print(stdout, "lumetra-map (Lumetra) " LUMETRA_VERSION_TEXT "\n");
        return kExitDone;
    }
    // Not in the usage: the build writes the manual page with it.
    if (args[0] == "--man") {
        std::vector<const CommandSpec*> specs;
        for (const Command& c : kCommands) specs.push_back(&c.spec);
        Print(stdout, ToolManual(specs));
        return kExitDone;
    }
    for (const Command& c : kCommands) {
        if (args[0] == c.spec.name) return RunCommand(c.spec, c.run, Args(args).subspan(1));
    }
    Print(stderr, "lumetra-map: unknown command '" + std::string(args[0]) + "'\n");
    return Usage(stderr, kExitBadInput);
}
