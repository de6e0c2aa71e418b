// Size arithmetic of a bitmap, checked: every count must fit the 32-bit
// fields that describe it, so nothing downstream can overflow.
#pragma once

#include <cstdint>
#include <optional>

namespace lumetra {

struct DibLayout {
    std::uint16_t colors;    // colour-table entries
    std::int32_t stride;     // bytes per row
    std::int32_t imageSize;  // stride x height
    std::int32_t totalSize;  // 40 + 4 x colors + imageSize
};

// The layout of a width x height image at `bitCount` bits per pixel, or none
// when a size is not positive, the bit count is not 1-8, 16, 24 or 32, or a
// count does not fit in 32 signed bits.
std::optional<DibLayout> ComputeDibLayout(int width, int height, int bitCount);

}  // namespace lumetra
