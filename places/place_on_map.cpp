#include "places/place_on_map.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "places/map_projection.h"

namespace lumetra {
namespace {

using projection_fit::kMaxNudge;

// The nearest land pixel within kMaxNudge of (x0, y0); among equally near
// ones the first in row order, as the generator chooses.
std::optional<MapPixel> NearestLand(int x0, int y0, const CLandMask& land) {
    std::optional<MapPixel> best;
    int bestSquare = 0;
    for (int dy = -kMaxNudge; dy <= kMaxNudge; ++dy) {
        for (int dx = -kMaxNudge; dx <= kMaxNudge; ++dx) {
            const int square = dx * dx + dy * dy;
            if (square > kMaxNudge * kMaxNudge || !land.IsLand(x0 + dx, y0 + dy)) continue;
            if (best && square >= bestSquare) continue;
            best = MapPixel{x0 + dx, y0 + dy, std::sqrt(static_cast<double>(square))};
            bestSquare = square;
        }
    }
    return best;
}

}  // namespace

std::optional<double> ReadDegrees(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::variant<MapPixel, std::string> PlaceOnMap(double latitude, double longitude, const CLandMask& land) {
    if (!(latitude >= -90 && latitude <= 90)) return "the latitude is not between -90 and 90";
    if (!(longitude >= -180 && longitude <= 180)) return "the longitude is not between -180 and 180";
    const MapPoint point = ProjectToMap(latitude, longitude);
    // Tested before the conversion to int, which could not hold every double.
    if (!(point.dX >= 0 && point.dX < projection_fit::kMapWidth && point.dY >= 0 &&
          point.dY < projection_fit::kMapHeight)) {
        return "outside the map of the lower 48";
    }
    const int x = static_cast<int>(std::floor(point.dX));
    const int y = static_cast<int>(std::floor(point.dY));
    if (const std::optional<MapPixel> spot = NearestLand(x, y, land)) return *spot;
    return "in the water or outside the lower 48: no land within " + std::to_string(kMaxNudge) + " pixels of " +
           std::to_string(x) + "," + std::to_string(y);
}

std::variant<MapPixel, std::string> PlaceOnMap(double latitude, double longitude) {
    return PlaceOnMap(latitude, longitude, CLandMask::Outline());
}

}  // namespace lumetra
