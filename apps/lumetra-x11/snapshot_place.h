// Where a run of lumetra-x11 leaves its snapshot. A hack that xscreensaver
// runs (or one told to draw as a saver with -root) was started in whatever
// folder the daemon was started in, usually the home folder, which is no
// place for a picture at every unblank: its snapshot goes to the user's
// state folder instead. Any other run keeps the saver's rule (the current
// folder, else the settings folder).
#pragma once

#include <optional>
#include <string>

#include "apps/lumetra-x11/hack_options.h"

namespace lumetra::x11 {

// The program's folder under the user's state folder: $XDG_STATE_HOME/lumetra,
// else $HOME/.local/state/lumetra; nothing when neither variable holds an
// absolute path (null for an unset variable).
std::optional<std::string> StateFolder(const char* xdgStateHome, const char* home);

// Whether the run is a screen saver's: under xscreensaver (whose variable,
// null when unset, names a window) or with -root.
bool RunsAsSaver(const HackOptions& options, const char* xscreensaverWindow);

}  // namespace lumetra::x11
