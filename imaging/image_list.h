// CImageList: a strip of equal-width images drawn with a mask colour: pixels
// of that colour leave the canvas unchanged, all others are painted. Drawing
// is clipped at the canvas's edges.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/color_types.h"

namespace lumetra {

class CCanvas;
class CDib;

inline constexpr unsigned kIldNormal = 0x0, kIldTransparent = 0x1;

class CImageList {
public:
    // The strip of bitmap resource `bitmapId` (any depth) cut into images of
    // `imageWidth` pixels; `grow` is accepted for the caller's sake and not
    // needed. False, and an empty list, when the bitmap is missing or unusable.
    bool Create(std::uint16_t bitmapId, int imageWidth, int grow, ColorRef mask);
    bool Create(const CDib& strip, int imageWidth, ColorRef mask);

    // Draws image `image` with its top-left corner at (x, y). The mask colour
    // is always transparent (an image list without a background colour draws
    // kIldNormal the same way). False when the list is empty, the index is out
    // of range or the canvas cannot be drawn on; then nothing is drawn.
    bool Draw(CCanvas& canvas, int image, int x, int y, unsigned style = kIldTransparent) const;

    int GetImageCount() const { return m_nCount; }
    int GetImageWidth() const { return m_nImageWidth; }
    int GetImageHeight() const { return m_nHeight; }
    void DeleteImageList();

private:
    // A stretch of painted pixels in one row of one image.
    struct Run {
        int start;   // first column, within the image
        int length;  // pixels
    };

    int m_nImageWidth = 0;
    int m_nHeight = 0;
    int m_nCount = 0;
    std::vector<std::uint8_t> m_bgr;  // the images' pixels, blue-green-red, image by image, top row first
    std::vector<Run> m_runs;          // painted stretches, by image and row
    std::vector<std::size_t>
        m_rowRuns;  // runs of row r of image i: [m_rowRuns[k], m_rowRuns[k + 1]), k = i x height + r
};

}  // namespace lumetra
