// Where the maps go on a window that may span several monitors: the area in
// which each map drifts, the scale it is drawn at, and the still picture that
// stands in for the drift where an area is too small for the frame (the
// display settings' preview). Window-free: a front end asks its platform for
// the monitors and hands them in.
#pragma once

#include <span>
#include <vector>

#include "imaging/canvas.h"
#include "settings/saver_settings.h"
#include "view/frame_motion.h"

namespace lumetra {

// A monitor as the platform reports it, in virtual-screen coordinates.
struct Monitor {
    Rect rect;
    bool primary = false;
};

// Where one map is shown, in the window's client coordinates.
struct MapArea {
    Rect bounds;  // the map never leaves it
    // 1 to 8: the map is the frame with every pixel an N x N block, and it
    // drifts. 0: the area is smaller than the frame, so the frame is shown
    // scaled down to fit (StillMapRect) and stands still.
    int scale = 1;
    friend bool operator==(const MapArea&, const MapArea&) = default;
};

// The frame drawn at `scale` (1 or more): 516 scale x 310 scale.
Size ScaledMapSize(int scale);

// The largest whole scale whose map fits within 60 per cent of `area`'s width
// and of its height: 1 at least, kMapScaleRange.max at most.
int FitMapScale(Size area);

// The maps of a window at `window` (virtual-screen coordinates) over
// `monitors`. Each monitor's part of the window is an area; a monitor that
// repeats an earlier one's rectangle (a mirrored display) adds none. By
// default there is one map, in the primary monitor's area (the first one
// marked primary, else the first); with `allMonitors` one per area, the
// primary's first. With no monitors given, or none over the window, the
// whole window is the one area.
//
// Scale: `mapScale` taken into kMapScaleRange, kMapScaleFit giving
// FitMapScale of the area; never more than lets the whole map fit the area,
// so it never crosses onto another monitor; 0 where not even the frame fits.
std::vector<MapArea> MapAreas(std::span<const Monitor> monitors, const Rect& window, int mapScale, bool allMonitors);

// The frame scaled down to fit `bounds` with its aspect kept, centred: as
// wide as the bounds (height rounded down) unless that would be too high,
// else as high (width rounded down); 1 pixel at least on either axis. An
// empty bounds gives an empty rectangle at its corner.
Rect StillMapRect(const Rect& bounds);

}  // namespace lumetra
