// The monitors of an X screen, in the form the monitor rules take
// (view/monitor_layout.h).
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "view/monitor_layout.h"

namespace lumetra::x11 {

// RandR's monitors (1.5 or later), the primary one marked; where RandR gives
// none, Xinerama's screens, the first taken for the primary. Empty when the
// server offers neither: the caller's window is then the one area.
std::vector<Monitor> ScreenMonitors(Display* display);

}  // namespace lumetra::x11
