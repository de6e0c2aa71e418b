// Packed bitmaps made by hand for the imaging tests; the files they write are
// read back with tests/support (files, little-endian fields, ImageMagick).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/color_types.h"
#include "tests/support/files.h"
#include "tests/support/image_magick.h"
#include "tests/support/little_endian.h"

namespace lumetra::test {

// A packed bitmap: 40-byte header, `table` entries, then `rows` (bottom row
// first, each padded to 4 bytes by the caller).
struct PackedLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::int32_t pelsPerMeter = 0;
    std::vector<RgbQuad> table;
    std::vector<std::uint8_t> rows;
};
std::vector<std::uint8_t> MakePacked(const PackedLayout& layout);

}  // namespace lumetra::test
