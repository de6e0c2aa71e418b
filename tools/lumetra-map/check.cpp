#include <cstdio>

#include "tools/lumetra-map/commands.h"

namespace lumetra::map_tool {

int RunCheck(Args) {
    std::fputs("lumetra-map check: the target file reader is not built yet\n", stderr);
    return 2;
}

}  // namespace lumetra::map_tool
