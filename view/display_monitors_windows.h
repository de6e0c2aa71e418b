// The monitors that Windows reports and the virtual screen that spans them,
// in the form the monitor rules take (view/monitor_layout.h).
#pragma once

#include <vector>

#include "imaging/canvas.h"
#include "view/monitor_layout.h"

namespace lumetra {

// Every display monitor (EnumDisplayMonitors), in the system's order, the
// primary one marked. Empty when the system lists none.
std::vector<Monitor> DisplayMonitors();

// The virtual screen (SM_XVIRTUALSCREEN ... SM_CYVIRTUALSCREEN).
Rect VirtualScreenRect();

}  // namespace lumetra
