// The sub-commands of lumetra-map. Each lives in a file of its own and takes
// the arguments after its name; the result is the process exit code.
#pragma once

#include <span>
#include <string_view>

namespace lumetra::map_tool {

using Args = std::span<const std::string_view>;

int RunCheck(Args args);
int RunProbe(Args args);
int RunRender(Args args);

}  // namespace lumetra::map_tool
