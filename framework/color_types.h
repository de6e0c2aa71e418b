// The colour records that the palette and the bitmaps share: a colour as the
// platform's COLORREF, a colour-table entry and a palette entry, with
// fixed-width fields so the same bytes are read and written on every platform.
#pragma once

#include <cstdint>

namespace lumetra {

// A colour as 0x00BBGGRR, the layout of the platform's COLORREF.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) | (static_cast<ColorRef>(b) << 16);
}
constexpr std::uint8_t RedOf(ColorRef c) {
    return static_cast<std::uint8_t>(c & 0xFFU);
}
constexpr std::uint8_t GreenOf(ColorRef c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFFU);
}
constexpr std::uint8_t BlueOf(ColorRef c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFFU);
}

// RGBQUAD: one colour-table entry.
struct RgbQuad {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};
static_assert(sizeof(RgbQuad) == 4, "RgbQuad must be 4 bytes");

// PALETTEENTRY: one entry of a logical palette.
struct PaletteEntry {
    std::uint8_t peRed;
    std::uint8_t peGreen;
    std::uint8_t peBlue;
    std::uint8_t peFlags;
};
static_assert(sizeof(PaletteEntry) == 4, "PaletteEntry must be 4 bytes");

inline constexpr std::uint8_t kPcNoCollapse = 0x04;  // PC_NOCOLLAPSE

}  // namespace lumetra
