// The header record of the Windows bitmap formats, with fixed-width fields so
// the same bytes are read and written on every platform. The colour records
// it goes with are the framework's (framework/color_types.h).
#pragma once

#include <bit>
#include <cstdint>

#include "framework/color_types.h"

namespace lumetra {

// Packed bitmaps and BMP files are little-endian; we read them by copying.
static_assert(std::endian::native == std::endian::little, "bitmap records assume a little-endian host");

// BITMAPINFOHEADER: the 40-byte header of a packed bitmap.
struct BitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;  // positive: rows stored bottom-up
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "BitmapInfoHeader must match the 40-byte file layout");

inline constexpr std::uint32_t kBiRgb = 0;  // uncompressed rows

}  // namespace lumetra
