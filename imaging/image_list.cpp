#include "imaging/image_list.h"

#include <algorithm>

#include "framework/exceptions.h"
#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "imaging/dib_pixels.h"

namespace lumetra {

bool CImageList::Create(std::uint16_t bitmapId, int imageWidth, int /*grow*/, ColorRef mask) {
    DeleteImageList();
    CDib strip;
    try {
        strip.LoadFromResource(bitmapId, 0);  // colours stay in the table
    } catch (const ResourceException&) {
        return false;
    } catch (const MemoryException&) {
        return false;
    }
    return Create(strip, imageWidth, mask);
}

bool CImageList::Create(const CDib& strip, int imageWidth, ColorRef mask) {
    DeleteImageList();
    if (strip.m_pBits == nullptr || imageWidth <= 0 || imageWidth > strip.Width()) return false;
    const int width = strip.Width();
    const int height = strip.Height();
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    m_colors.resize(size);
    m_shown.resize(size);
    const ColorRef key = mask & 0x00FFFFFFU;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            m_colors[i] = ReadPixelColor(strip, x, y);
            m_shown[i] = m_colors[i] != key ? 1 : 0;
        }
    }
    m_nImageWidth = imageWidth;
    m_nHeight = height;
    m_nStripWidth = width;
    m_nCount = width / imageWidth;  // a narrower remainder holds no image
    return true;
}

bool CImageList::Draw(CCanvas& canvas, int image, int x, int y, unsigned /*style*/) const {
    if (image < 0 || image >= m_nCount || !canvas.CanDraw()) return false;
    CDib& target = canvas.Target();
    // The part of the image that lies on the canvas, in image coordinates.
    const std::int64_t fromX = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t toX = std::min<std::int64_t>(m_nImageWidth, std::int64_t{target.Width()} - x);
    const std::int64_t fromY = std::max<std::int64_t>(0, -std::int64_t{y});
    const std::int64_t toY = std::min<std::int64_t>(m_nHeight, std::int64_t{target.Height()} - y);
    const std::int64_t stripLeft = std::int64_t{image} * m_nImageWidth;
    for (std::int64_t iy = fromY; iy < toY; ++iy) {
        std::uint8_t* row = target.GetPixelAddress(0, static_cast<int>(y + iy));
        const std::size_t source = static_cast<std::size_t>(iy * m_nStripWidth + stripLeft);
        for (std::int64_t ix = fromX; ix < toX; ++ix) {
            const std::size_t i = source + static_cast<std::size_t>(ix);
            if (m_shown[i] == 0) continue;
            std::uint8_t* p = row + 3 * (x + ix);
            p[0] = BlueOf(m_colors[i]);
            p[1] = GreenOf(m_colors[i]);
            p[2] = RedOf(m_colors[i]);
        }
    }
    return true;
}

void CImageList::DeleteImageList() {
    m_colors.clear();
    m_shown.clear();
    m_nImageWidth = 0;
    m_nHeight = 0;
    m_nCount = 0;
    m_nStripWidth = 0;
}

}  // namespace lumetra
