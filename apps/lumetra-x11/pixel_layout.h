// The frame (24-bit, bottom-up, blue-green-red) in the pixel layout of an X
// server's image: TrueColor pixels of 16, 24 or 32 bits with the visual's
// channel masks, in the server's byte order. Apart from X11 so that every
// layout is tested natively; the bytes the server gets show the frame's
// colours unchanged wherever a channel has 8 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/dib.h"

namespace lumetra::x11 {

struct PixelLayout {
    int bitsPerPixel = 32;  // 16, 24 or 32
    bool msbFirst = false;  // the image's byte order
    std::uint32_t redMask = 0xFF0000;
    std::uint32_t greenMask = 0x00FF00;
    std::uint32_t blueMask = 0x0000FF;
};

// Whether PackFrame can fill an image of this layout.
bool IsPackable(const PixelLayout& layout);

// One colour as a pixel value of the layout.
std::uint32_t PixelValue(const PixelLayout& layout, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Writes every pixel of `frame` (24 or 32 bits per pixel) into `image`, whose rows
// are `stride` bytes apart, top row first. Needs a packable layout and an
// image of at least frame height x stride bytes.
void PackFrame(const CDib& frame, const PixelLayout& layout, std::span<std::uint8_t> image, std::size_t stride);

}  // namespace lumetra::x11
