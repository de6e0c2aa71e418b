#include "view/map_motion.h"

namespace lumetra {

std::vector<ShownMap> PlaceMaps(std::span<const MapArea> areas, int mapMotion, IRandomSource& random) {
    std::vector<ShownMap> maps;
    maps.reserve(areas.size());
    for (const MapArea& area : areas) {
        ShownMap map{area.bounds, area.scale, {}, {}, {}};
        if (area.scale == 0) {
            const Rect still = StillMapRect(area.bounds);
            map.size = {still.right - still.left, still.bottom - still.top};
            map.position = {still.left, still.top};
        } else {
            map.size = ScaledMapSize(area.scale);
            map.drift = DrawDrift(mapMotion, random);
            map.position = DrawPosition(area.bounds, map.size, random);
        }
        maps.push_back(map);
    }
    return maps;
}

void MoveMaps(std::span<ShownMap> maps, int mapMotion, IRandomSource& random) {
    for (ShownMap& map : maps) {
        if (map.scale != 0) MoveFrame(map.position, map.drift, map.size, map.bounds, mapMotion, random);
    }
}

}  // namespace lumetra
