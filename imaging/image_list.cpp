#include "imaging/image_list.h"

#include <algorithm>
#include <cstring>

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
    if (!strip.HasPixels() || imageWidth <= 0 || imageWidth > strip.Width()) return false;
    const int count = strip.Width() / imageWidth;  // a narrower remainder holds no image
    const int height = strip.Height();
    const ColorRef key = mask & 0x00FFFFFFU;
    // Each image is kept as blue-green-red rows plus the stretches of pixels
    // that are not the mask colour, so drawing copies whole stretches.
    m_bgr.resize(std::size_t{3} * static_cast<std::size_t>(count) * imageWidth * height);
    m_rowRuns.reserve(static_cast<std::size_t>(count) * height + 1);
    m_rowRuns.push_back(0);
    std::uint8_t* out = m_bgr.data();
    for (int image = 0; image < count; ++image) {
        for (int y = 0; y < height; ++y) {
            int runStart = -1;
            for (int x = 0; x < imageWidth; ++x, out += 3) {
                const ColorRef c = ReadPixelColor(strip, image * imageWidth + x, y);
                out[0] = BlueOf(c);
                out[1] = GreenOf(c);
                out[2] = RedOf(c);
                if (c != key && runStart < 0) runStart = x;
                if (c == key && runStart >= 0) {
                    m_runs.push_back(Run{runStart, x - runStart});
                    runStart = -1;
                }
            }
            if (runStart >= 0) m_runs.push_back(Run{runStart, imageWidth - runStart});
            m_rowRuns.push_back(m_runs.size());
        }
    }
    m_nImageWidth = imageWidth;
    m_nHeight = height;
    m_nCount = count;
    return true;
}

bool CImageList::Draw(CCanvas& canvas, int image, int x, int y, unsigned /*style*/) const {
    if (image < 0 || image >= m_nCount || !canvas.CanDraw()) return false;
    CDib& target = canvas.Target();
    // The columns and rows of the image that lie on the canvas.
    const std::int64_t fromX = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t toX = std::min<std::int64_t>(m_nImageWidth, std::int64_t{target.Width()} - x);
    const std::int64_t fromY = std::max<std::int64_t>(0, -std::int64_t{y});
    const std::int64_t toY = std::min<std::int64_t>(m_nHeight, std::int64_t{target.Height()} - y);
    if (fromX >= toX) return true;
    const std::size_t imageRow0 = static_cast<std::size_t>(image) * m_nHeight;
    for (std::int64_t iy = fromY; iy < toY; ++iy) {
        const std::size_t k = imageRow0 + static_cast<std::size_t>(iy);
        std::uint8_t* row = target.GetPixelAddress(0, static_cast<int>(y + iy));
        const std::uint8_t* source = m_bgr.data() + 3 * k * m_nImageWidth;
        for (std::size_t r = m_rowRuns[k]; r < m_rowRuns[k + 1]; ++r) {
            const std::int64_t from = std::max<std::int64_t>(m_runs[r].start, fromX);
            const std::int64_t to = std::min<std::int64_t>(std::int64_t{m_runs[r].start} + m_runs[r].length, toX);
            if (from < to) {
                std::memcpy(row + 3 * (x + from), source + 3 * from, static_cast<std::size_t>(3 * (to - from)));
            }
        }
    }
    return true;
}

void CImageList::DeleteImageList() {
    m_bgr.clear();
    m_runs.clear();
    m_rowRuns.clear();
    m_nImageWidth = 0;
    m_nHeight = 0;
    m_nCount = 0;
}

}  // namespace lumetra
