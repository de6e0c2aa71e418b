// lumetra-map: the saver's reading, rendering and probing on the command
// line, so a user can see what the saver would do and why.
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/lumetra-map/commands.h"

namespace {

using lumetra::map_tool::Args;

struct Command {
    std::string_view name;
    int (*run)(Args);
    std::string_view usage;
};

// Every command once, with its usage line.
constexpr Command kCommands[] = {
    {"check", lumetra::map_tool::RunCheck,
     "check [FILE]      read a target file as the saver does and list its records"},
    {"probe", lumetra::map_tool::RunProbe,
     "probe [--targets FILE] [--settings INI] [--out FILE.bmp]\n"
     "                    probe every target of the region once, as the saver does, list the times and\n"
     "                    write the frame"},
    {"render", lumetra::map_tool::RunRender,
     "render --targets FILE --results FILE [--settings INI] [--current INDEX] --out FILE.bmp\n"
     "                    draw one frame as the saver would after a probe, without any network"},
};

int Usage(std::FILE* out, int code) {
    std::fputs("usage: lumetra-map COMMAND [ARGS]\n", out);
    for (const Command& c : kCommands) std::fprintf(out, "  %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) return Usage(stderr, 2);
    if (args[0] == "--help" || args[0] == "-h") return Usage(stdout, 0);
    for (const Command& c : kCommands) {
        if (args[0] == c.name) return c.run(Args(args).subspan(1));
    }
    std::fprintf(stderr, "lumetra-map: unknown command '%.*s'\n", static_cast<int>(args[0].size()), args[0].data());
    return Usage(stderr, 2);
}
