// The colour of one pixel of a ready image at any bit depth, through its
// colour table or palette below 9 bits per pixel.
#pragma once

#include "framework/color_types.h"
#include "imaging/dib.h"

namespace lumetra {

// (x, y) must lie inside the image, which must have pixel storage.
ColorRef ReadPixelColor(const CDib& dib, int x, int y);

}  // namespace lumetra
