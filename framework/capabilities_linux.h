// Linux: a program given a capability on its file (setcap cap_net_raw+ep)
// needs it for one thing at its start. Dropping it right after keeps
// everything else the program does (reading files, X11, the user's
// settings) as unprivileged as the user who started it.
#pragma once

namespace lumetra {

// Empties the permitted, effective, inheritable and ambient capability sets
// of the process, at once and for good. Capabilities belong to each
// thread: call it before the process makes one. True when none is left.
bool DropAllCapabilities();

}  // namespace lumetra
