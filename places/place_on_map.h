// Where a host at a latitude and longitude stands on the map, by the rule
// that placed the bundled hosts: the pixel that holds its projected
// position, or, for a coastal place that falls into the water at this scale,
// the nearest land pixel within a few pixels. Anything farther from the
// lower 48's land is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "places/land_mask.h"

namespace lumetra {

// A pixel of the map as the target file writes it ("X,Y"), and how far the
// position moved to reach land (0 when it was on land).
struct MapPixel {
    int nX;
    int nY;
    double dMoved;
};

// Degrees as a table or a command line writes them: a decimal number with an
// optional sign and exponent, nothing else ("47.6553", "-122.3035").
std::optional<double> ReadDegrees(std::string_view text);

// The pixel for degrees north and east, or why there is none, e.g.
// "outside the map of the lower 48".
std::variant<MapPixel, std::string> PlaceOnMap(double latitude, double longitude, const CLandMask& land);

// The same on the program's own map outline (CLandMask::Outline()).
std::variant<MapPixel, std::string> PlaceOnMap(double latitude, double longitude);

}  // namespace lumetra
