#include "places/land_mask.h"

#include <string>

#include "framework/exceptions.h"
#include "imaging/dib.h"
#include "imaging/dib_pixels.h"
#include "places/map_projection.h"
#include "resources/resource_ids.h"

namespace lumetra {

using projection_fit::kMapHeight;
using projection_fit::kMapWidth;

CLandMask::CLandMask(const CDib& outline) {
    if (!outline.HasPixels() || outline.Width() != kMapWidth || outline.Height() != kMapHeight) {
        throw ResourceException("the map outline is not " + std::to_string(kMapWidth) + " x " +
                                std::to_string(kMapHeight) + " pixels");
    }
    m_land.reserve(std::size_t{kMapWidth} * kMapHeight);
    for (int y = 0; y < kMapHeight; ++y) {
        for (int x = 0; x < kMapWidth; ++x) m_land.push_back(ReadPixelColor(outline, x, y) == Rgb(255, 255, 255));
    }
}

const CLandMask& CLandMask::Outline() {
    static const CLandMask land = [] {
        CDib outline;
        outline.LoadFromResource(IDB_MAP_OUTLINE, 0);  // the colour table as colours
        return CLandMask(outline);
    }();
    return land;
}

bool CLandMask::IsLand(int x, int y) const {
    if (x < 0 || x >= kMapWidth || y < 0 || y >= kMapHeight) return false;
    return m_land[static_cast<std::size_t>(y) * kMapWidth + static_cast<std::size_t>(x)] != 0;
}

}  // namespace lumetra
