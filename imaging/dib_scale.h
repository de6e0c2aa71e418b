// Scaled copies of a 24-bit image, made in software so that every platform
// shows the same pixels: larger by whole blocks, nothing blurred, for a map
// drawn bigger on a large screen; smaller by area averages for a window too
// small for the frame. Each is meant to be made once per render, not per
// repaint.
#pragma once

#include "imaging/dib.h"

namespace lumetra {

// `target` becomes `source` with every pixel an N x N block of the same
// colour, N = `factor`: width x N by height x N, 24 bits. A target of that
// size is reused as it is; any other is created afresh (with `referenceDC`,
// as CDib::Create takes it). A source that is not a 24-bit image with
// pixels, or a factor below 1, leaves the target empty.
void ScaleUpByBlocks(const CDib& source, int factor, CDib& target, CDC* referenceDC = nullptr);

// `target` becomes `source` resampled to `width` x `height` (1 or more) by
// area averages: each target pixel covers a rectangle of the source, partial
// pixels counting by the share of them it covers, and takes the mean of each
// colour over it, rounded to the nearest whole value (halves up). Reuse and
// failures as ScaleUpByBlocks.
void ScaleByAreaAverage(const CDib& source, int width, int height, CDib& target, CDC* referenceDC = nullptr);

}  // namespace lumetra
