// The sub-commands of lumetra-map. Each lives in a file of its own with the
// table of its options; RunCommand (command_line.h) parses the arguments
// after its name and runs it, and its result is the process exit code.
#pragma once

#include "apps/lumetra-map/command_line.h"

namespace lumetra::map_tool {

extern const CommandSpec kCheckCommand;
extern const CommandSpec kProbeCommand;
extern const CommandSpec kRenderCommand;
extern const CommandSpec kPlaceCommand;
extern const CommandSpec kImportCommand;

int RunCheck(const ParsedOptions& options);
int RunProbe(const ParsedOptions& options);
int RunRender(const ParsedOptions& options);
int RunPlace(const ParsedOptions& options);
int RunImport(const ParsedOptions& options);

}  // namespace lumetra::map_tool
