// What the tool does first of all, before it reads a file: give up the
// privileges a program file may hold, and see that a stop during the write of
// a file leaves no temporary file behind. Each platform in a file of its own.
#pragma once

namespace lumetra::map_tool {

// False when the tool cannot give up its privileges: it must not go on.
// `probing` keeps what the probe command needs (on Linux, the one raw ICMP
// socket a CAP_NET_RAW file may open).
[[nodiscard]] bool PrepareToRun(bool probing);

}  // namespace lumetra::map_tool
