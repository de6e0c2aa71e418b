// Fuzzes lumetra-map's option parser with each command's own table: the
// first input byte picks the command, the rest, split at zero bytes, is the
// argument list. What it takes must match the table: only its options, each
// once, a value for each that needs one, the required ones present. The
// text that the tool prints from files must come out free of control bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/lumetra-map/commands.h"

namespace {

using namespace lumetra::map_tool;

void Require(bool condition) {
    if (!condition) std::abort();
}

const CommandSpec* const kSpecs[] = {&kCheckCommand, &kProbeCommand, &kRenderCommand};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const CommandSpec& spec = *kSpecs[data[0] % 3];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string shown = Printable(input);
    for (const char c : shown) Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);

    std::vector<std::string_view> args;
    for (std::size_t start = 0; start <= input.size() && args.size() < 64;) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        args.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    ParsedOptions parsed(spec.options);
    if (ParseOptions(args, parsed)) return 0;
    for (const Option& option : spec.options) {
        if (option.required) Require(parsed.Given(option.name));
        if (!parsed.Given(option.name)) continue;
        const std::optional<std::string> value = parsed.Value(option.name);
        Require(value.has_value());
        if (!option.name.starts_with("--")) continue;         // an operand: any word in its place
        Require(value->empty() == option.valueName.empty());  // a flag has none, an option's value is never empty
    }
    Require(!Usage(spec).empty());
    return 0;
}
