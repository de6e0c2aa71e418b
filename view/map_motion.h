// The motion of several maps at once, one per area of view/monitor_layout.h:
// each drifting map has its own position and drift and bounces inside its
// own area; a still map stands where StillMapRect puts it. Each drifting map
// follows the one-frame rules of view/frame_motion.h, with its scaled size;
// drift steps are screen pixels at every scale.
#pragma once

#include <span>
#include <vector>

#include "imaging/canvas.h"
#include "view/frame_motion.h"
#include "view/monitor_layout.h"
#include "view/random_source.h"

namespace lumetra {

struct ShownMap {
    Rect bounds;     // its area, client coordinates
    int scale = 1;   // as MapArea::scale: 0 for a still map
    Size size;       // on screen
    Point position;  // top left corner, client coordinates
    Point drift;     // (0, 0) for a still map
    friend bool operator==(const ShownMap&, const ShownMap&) = default;
};

// The maps of `areas` in their order. For each drifting map the drift is
// drawn, then the position (DrawDrift, DrawPosition), so one map draws
// exactly what the single frame always drew; a still map draws nothing.
std::vector<ShownMap> PlaceMaps(std::span<const MapArea> areas, int mapMotion, IRandomSource& random);

// One motion tick: MoveFrame for every drifting map, in order.
void MoveMaps(std::span<ShownMap> maps, int mapMotion, IRandomSource& random);

}  // namespace lumetra
