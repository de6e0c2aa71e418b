// Scaled copies of a 24-bit image, made in software so that every platform
// shows the same pixels: larger by whole blocks, nothing blurred, for a map
// drawn bigger on a large screen; smaller by area averages for a window too
// small for the frame. Each is meant to be made once per render, not per
// repaint.
#pragma once

#include "imaging/dib.h"

namespace lumetra {

// `target` becomes `source` with every pixel an N x N block of the same
// colour, N = `factor`: width x N by height x N, of `targetBits` (24, or 32
// with every pixel's fourth byte 0, which a 32-bit screen takes as a plain
// copy of rows, no conversion per pixel). A target of that size and depth is
// reused as it is; any other is created afresh (with `referenceDC`, as
// CDib::Create takes it). A source that is not a 24-bit image with pixels, a
// factor below 1 or another depth leaves the target empty.
void ScaleUpByBlocks(const CDib& source, int factor, CDib& target, CDC* referenceDC = nullptr, int targetBits = 24);

// `target` becomes `source` resampled to `width` x `height` (1 or more) by
// area averages: each target pixel covers a rectangle of the source, partial
// pixels counting by the share of them it covers, and takes the mean of each
// colour over it, rounded to the nearest whole value (halves up). Reuse and
// failures as ScaleUpByBlocks.
void ScaleByAreaAverage(const CDib& source, int width, int height, CDib& target, CDC* referenceDC = nullptr);

}  // namespace lumetra
