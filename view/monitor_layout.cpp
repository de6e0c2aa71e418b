#include "view/monitor_layout.h"

#include <algorithm>
#include <cstdint>

#include "settings/saver_settings.h"
#include "view/frame_size.h"

namespace lumetra {
namespace {

// Sums and products in 64 bits: rectangles come from the platform unchecked.
using Wide = std::int64_t;

Size Extent(const Rect& r) {
    return {std::max(r.right - r.left, 0), std::max(r.bottom - r.top, 0)};
}

bool IsEmpty(const Rect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// The part of `monitor` that the window shows, in client coordinates.
Rect ClientPart(const Rect& monitor, const Rect& window) {
    const Rect both{std::max(monitor.left, window.left), std::max(monitor.top, window.top),
                    std::min(monitor.right, window.right), std::min(monitor.bottom, window.bottom)};
    const auto shift = [](int value, int origin) { return static_cast<int>(Wide{value} - origin); };
    return {shift(both.left, window.left), shift(both.top, window.top), shift(both.right, window.left),
            shift(both.bottom, window.top)};
}

// The largest scale whose whole map fits `area`; 0 when not even the frame does.
int LargestWholeScale(Size area) {
    return static_cast<int>(
        std::min({Wide{area.cx} / kFrameWidth, Wide{area.cy} / kFrameHeight, Wide{kMapScaleRange.max}}));
}

int ScaleFor(Size area, int mapScale) {
    const int asked = std::clamp(mapScale, kMapScaleRange.min, kMapScaleRange.max);
    return std::min(asked == kMapScaleFit ? FitMapScale(area) : asked, LargestWholeScale(area));
}

// The monitors' parts of the window, the primary's first, each rectangle once.
std::vector<Rect> MonitorParts(std::span<const Monitor> monitors, const Rect& window) {
    std::vector<Rect> parts;
    for (const bool primary : {true, false}) {
        for (const Monitor& monitor : monitors) {
            const Rect part = ClientPart(monitor.rect, window);
            if (monitor.primary != primary || IsEmpty(part)) continue;
            if (std::find(parts.begin(), parts.end(), part) == parts.end()) parts.push_back(part);
        }
    }
    return parts;
}

}  // namespace

Size ScaledMapSize(int scale) {
    return {kFrameWidth * scale, kFrameHeight * scale};
}

int FitMapScale(Size area) {
    // N x 516 <= 60 % of the width is 5 x 516 x N <= 3 x width; likewise the height.
    const Wide n = std::min(Wide{3} * area.cx / (Wide{5} * kFrameWidth), Wide{3} * area.cy / (Wide{5} * kFrameHeight));
    return static_cast<int>(std::clamp<Wide>(n, 1, kMapScaleRange.max));
}

std::vector<MapArea> MapAreas(std::span<const Monitor> monitors, const Rect& window, int mapScale, bool allMonitors) {
    std::vector<Rect> parts = MonitorParts(monitors, window);
    if (parts.empty()) parts.push_back(ClientPart(window, window));
    // Without a monitor marked primary the first one counts as the primary.
    if (!allMonitors) parts.resize(1);
    std::vector<MapArea> areas;
    areas.reserve(parts.size());
    for (const Rect& part : parts) areas.push_back({part, ScaleFor(Extent(part), mapScale)});
    return areas;
}

Rect StillMapRect(const Rect& bounds) {
    const Size room = Extent(bounds);
    if (room.cx == 0 || room.cy == 0) return {bounds.left, bounds.top, bounds.left, bounds.top};
    Wide width = room.cx;
    Wide height = Wide{room.cx} * kFrameHeight / kFrameWidth;
    if (height > room.cy) {
        height = room.cy;
        width = Wide{room.cy} * kFrameWidth / kFrameHeight;
    }
    width = std::max<Wide>(width, 1);
    height = std::max<Wide>(height, 1);
    const auto left = static_cast<int>(bounds.left + (room.cx - width) / 2);
    const auto top = static_cast<int>(bounds.top + (room.cy - height) / 2);
    return {left, top, static_cast<int>(left + width), static_cast<int>(top + height)};
}

}  // namespace lumetra
