// The bundled bitmap font: the public-domain X11 "fixed" 6x13 font, converted
// once by tools/font/pcf2cpp.py into imaging/font_6x13.cpp. Every byte has a
// glyph in one 6 x 13 cell; bytes are taken as Windows-1252, and bytes that
// name no character (controls, holes of the code page) draw a stippled box.
#pragma once

#include <array>
#include <cstdint>

namespace lumetra {

inline constexpr int kFontCellWidth = 6;    // every glyph advances by this much
inline constexpr int kFontCellHeight = 13;  // ascent plus descent
inline constexpr int kFontAscent = 11;      // baseline below the cell's top

// One glyph: a byte per row, top row first; bit (kFontCellWidth - 1) is the
// leftmost pixel, bit 0 the rightmost.
using FontGlyph = std::array<std::uint8_t, kFontCellHeight>;

extern const std::array<FontGlyph, 256> kFontGlyphs;

}  // namespace lumetra
