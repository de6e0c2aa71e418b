#include "apps/lumetra-x11/x_monitors_linux.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace lumetra::x11 {
namespace {

std::vector<Monitor> RandRMonitors(Display* display) {
    // Asked of the core protocol first: libXrandr keeps a record it never
    // frees on a server without the extension.
    int opcode = 0, event = 0, error = 0, major = 0, minor = 0;
    if (XQueryExtension(display, "RANDR", &opcode, &event, &error) == False ||
        XRRQueryVersion(display, &major, &minor) == 0 || major * 100 + minor < 105) {
        return {};
    }
    int count = 0;
    XRRMonitorInfo* infos = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    std::vector<Monitor> monitors;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = infos[i];
        monitors.push_back({{m.x, m.y, m.x + m.width, m.y + m.height}, m.primary != 0});
    }
    if (infos != nullptr) XRRFreeMonitors(infos);
    return monitors;
}

std::vector<Monitor> XineramaMonitors(Display* display) {
    int event = 0, error = 0;
    if (XineramaQueryExtension(display, &event, &error) == False || XineramaIsActive(display) == False) return {};
    int count = 0;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    std::vector<Monitor> monitors;
    for (int i = 0; i < count; ++i) {
        const XineramaScreenInfo& s = screens[i];
        monitors.push_back({{s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height}, i == 0});
    }
    if (screens != nullptr) XFree(screens);
    return monitors;
}

}  // namespace

std::vector<Monitor> ScreenMonitors(Display* display) {
    std::vector<Monitor> monitors = RandRMonitors(display);
    return monitors.empty() ? XineramaMonitors(display) : monitors;
}

}  // namespace lumetra::x11
