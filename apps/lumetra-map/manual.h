// The manual page of lumetra-map (section 1), written from the commands' own
// option tables, the ones their --help shows.
#pragma once

#include <span>
#include <string>

#include "apps/lumetra-map/command_line.h"

namespace lumetra::map_tool {

std::string ToolManual(std::span<const CommandSpec* const> commands);

}  // namespace lumetra::map_tool
