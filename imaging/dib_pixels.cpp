#include "imaging/dib_pixels.h"

#include <array>
#include <cstring>
#include <span>

namespace lumetra {
namespace {

// The colour of table entry `index`. In index mode the table holds palette
// indices and the colours are in the palette; otherwise the table holds them.
ColorRef TableColor(const CDib& dib, unsigned index) {
    const std::span<const RgbQuad> table = dib.Colors();
    if (index >= table.size()) return Rgb(0, 0, 0);
    if (dib.UsesPaletteIndices() && dib.Palette() != nullptr) {
        std::uint16_t paletteIndex = 0;
        std::memcpy(&paletteIndex, std::as_bytes(table).data() + 2 * std::size_t{index}, 2);
        std::array<PaletteEntry, 1> entry{};
        if (dib.Palette()->GetPaletteEntries(paletteIndex, entry) != 1) return Rgb(0, 0, 0);
        return Rgb(entry[0].peRed, entry[0].peGreen, entry[0].peBlue);
    }
    const RgbQuad& q = table[index];
    return Rgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// A 5-bit sample widened to 8 bits so that 31 becomes 255.
std::uint8_t Widen5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

}  // namespace

ColorRef ReadPixelColor(const CDib& dib, int x, int y) {
    const std::uint8_t* p = dib.GetPixelAddress(x, y);
    const int bits = dib.BitCount();
    if (bits <= 8) {
        // Pixels fill each byte from its most significant bits.
        const int shift = 8 - bits - (x * bits) % 8;
        const unsigned index = (static_cast<unsigned>(*p) >> shift) & ((1U << bits) - 1U);
        return TableColor(dib, index);
    }
    if (bits == 16) {
        const unsigned v = p[0] | (static_cast<unsigned>(p[1]) << 8);  // x-5-5-5
        return Rgb(Widen5((v >> 10) & 31U), Widen5((v >> 5) & 31U), Widen5(v & 31U));
    }
    return Rgb(p[2], p[1], p[0]);  // 24 and 32 bits: blue, green, red first
}

}  // namespace lumetra
