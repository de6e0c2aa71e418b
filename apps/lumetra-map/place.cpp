// lumetra-map place LAT LON: where a host at this latitude and longitude
// stands on the map, written as a target file's position field, by the rule
// that placed the bundled hosts.
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "apps/lumetra-map/commands.h"
#include "places/place_on_map.h"
#include "places/target_collector.h"
#include "places/target_fields.h"

namespace lumetra::map_tool {
namespace {

constexpr Option kPlaceOptions[] = {
    {"LAT", "", "degrees north, e.g. 47.6553", true},
    {"LON", "", "degrees east, e.g. -122.3035 (west is negative)", true},
};

std::optional<double> Degrees(const ParsedOptions& options, std::string_view name) {
    return ReadDegrees(*options.Value(name));
}

}  // namespace

const CommandSpec kPlaceCommand = {
    "place",
    "print the map position X,Y of a latitude and longitude, as a target file writes it",
    kPlaceOptions,
    "the point is not on the map of the lower 48 (said why)",
};

int RunPlace(const ParsedOptions& options) {
    const std::optional<double> latitude = Degrees(options, "LAT");
    const std::optional<double> longitude = Degrees(options, "LON");
    for (const auto& [name, value] : {std::pair{"LAT", latitude}, std::pair{"LON", longitude}}) {
        if (!value) {
            return UsageError(kPlaceCommand,
                              std::string(name) + " is no number of degrees: " + Quoted(*options.Value(name)));
        }
    }
    const std::variant<MapPixel, std::string> placed = PlaceOnMap(*latitude, *longitude);
    if (const auto* reason = std::get_if<std::string>(&placed)) {
        return Fail(kPlaceCommand, kExitIncomplete, DegreesText(*latitude, *longitude) + ": " + *reason);
    }
    const MapPixel& pixel = std::get<MapPixel>(placed);
    if (pixel.dMoved > 0) {
        char moved[96];
        static_cast<void>(
            std::snprintf(moved, sizeof moved, "in the water at this scale; moved %.1f pixels to land", pixel.dMoved));
        Print(stderr, "lumetra-map place: " + DegreesText(*latitude, *longitude) + ": " + moved + "\n");
    }
    Print(stdout, PositionField(pixel) + "\n");
    return kExitDone;
}

}  // namespace lumetra::map_tool
