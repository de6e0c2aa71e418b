#include "apps/lumetra-x11/pixel_layout.h"

#include <bit>

namespace lumetra::x11 {
namespace {

// An 8-bit channel value spread over `mask`: its top bits when the mask is
// narrower, repeated into the low bits when it is wider.
std::uint32_t Channel(std::uint8_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    std::uint32_t scaled = 0;
    for (int filled = 0; filled < bits; filled += 8) {
        scaled = (scaled << 8) | value;
    }
    const int have = ((bits + 7) / 8) * 8;
    scaled >>= have - bits;
    return (scaled << shift) & mask;
}

bool IsContiguous(std::uint32_t mask) {
    return mask != 0 && std::has_single_bit((mask >> std::countr_zero(mask)) + 1);
}

}  // namespace

bool IsPackable(const PixelLayout& layout) {
    const bool sizeKnown = layout.bitsPerPixel == 16 || layout.bitsPerPixel == 24 || layout.bitsPerPixel == 32;
    const std::uint64_t limit = (std::uint64_t{1} << layout.bitsPerPixel) - 1;
    const std::uint32_t all = layout.redMask | layout.greenMask | layout.blueMask;
    const bool disjoint = (layout.redMask & layout.greenMask) == 0 && (layout.redMask & layout.blueMask) == 0 &&
                          (layout.greenMask & layout.blueMask) == 0;
    return sizeKnown && all <= limit && disjoint && IsContiguous(layout.redMask) && IsContiguous(layout.greenMask) &&
           IsContiguous(layout.blueMask);
}

std::uint32_t PixelValue(const PixelLayout& layout, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Channel(red, layout.redMask) | Channel(green, layout.greenMask) | Channel(blue, layout.blueMask);
}

void PackFrame(const CDib& frame, const PixelLayout& layout, std::span<std::uint8_t> image, std::size_t stride) {
    const auto bytes = static_cast<std::size_t>(layout.bitsPerPixel / 8);
    const auto sourceBytes = static_cast<std::size_t>(frame.BitCount() / 8);  // 3, or 4 for a scaled picture
    for (int y = 0; y < frame.Height(); ++y) {
        const std::uint8_t* source = frame.GetPixelAddress(0, y);
        std::uint8_t* row = image.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < frame.Width(); ++x, source += sourceBytes, row += bytes) {
            const std::uint32_t pixel = PixelValue(layout, source[2], source[1], source[0]);
            for (std::size_t b = 0; b < bytes; ++b) {
                const std::size_t shift = 8 * (layout.msbFirst ? bytes - 1 - b : b);
                row[b] = static_cast<std::uint8_t>(pixel >> shift);
            }
        }
    }
}

}  // namespace lumetra::x11
