// Prints what the saver learns of the monitors, one line each, for the test
// that runs it on a nested server with two monitors:
//   virtual LEFT TOP RIGHT BOTTOM
//   monitor LEFT TOP RIGHT BOTTOM [primary]
#include <cstdio>

#include "view/display_monitors_windows.h"

int main() {
    const lumetra::Rect screen = lumetra::VirtualScreenRect();
    std::printf("virtual %d %d %d %d\n", screen.left, screen.top, screen.right, screen.bottom);
    for (const lumetra::Monitor& m : lumetra::DisplayMonitors()) {
        std::printf("monitor %d %d %d %d%s\n", m.rect.left, m.rect.top, m.rect.right, m.rect.bottom,
                    m.primary ? " primary" : "");
    }
    return 0;
}
