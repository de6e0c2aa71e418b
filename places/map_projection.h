// The map's projection: latitude and longitude to the continuous coordinates
// of the 516 x 310 frame, as the resource generator drew the outline. An
// Albers equal-area conic, then a per-axis fit of the land into the frame;
// the numbers come from the generator (projection_fit.inc).
#pragma once

namespace lumetra {

namespace projection_fit {
#include "places/projection_fit.inc"
}  // namespace projection_fit

// A position in the frame: pixel (x, y) covers [x, x + 1) x [y, y + 1), y
// counted from the top.
struct MapPoint {
    double dX;
    double dY;
};

// Degrees north and east. Longitudes are taken around the globe, so -180 and
// 180 are one meridian. Far from the map the result lies far outside the
// frame; not a number when the input is none.
MapPoint ProjectToMap(double latitude, double longitude);

}  // namespace lumetra
