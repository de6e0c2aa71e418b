#include "imaging/canvas.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "imaging/font_6x13.h"

namespace lumetra {
namespace {

// A clip box in 64 bits: rectangles may reach any int, and their sums must
// not overflow.
struct Box {
    std::int64_t left, top, right, bottom;  // right and bottom exclusive
    bool Empty() const { return left >= right || top >= bottom; }
};

Box Intersect(const Box& a, const Box& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

void Put(std::uint8_t* p, ColorRef color) {
    p[0] = BlueOf(color);
    p[1] = GreenOf(color);
    p[2] = RedOf(color);
}

}  // namespace

ColorRef CCanvas::SetTextColor(ColorRef color) {
    return std::exchange(m_textColor, color);
}

ColorRef CCanvas::SetBkColor(ColorRef color) {
    return std::exchange(m_bkColor, color);
}

int CCanvas::SetBkMode(int mode) {
    if (mode != kTransparent && mode != kOpaque) return 0;
    return std::exchange(m_bkMode, mode);
}

bool CCanvas::CanDraw() const {
    return m_target.HasPixels() && m_target.BitCount() == 24;
}

void CCanvas::SetPixel(int x, int y, ColorRef color) {
    if (!CanDraw() || x < 0 || y < 0 || x >= m_target.Width() || y >= m_target.Height()) return;
    Put(m_target.GetPixelAddress(x, y), color);
}

std::int64_t CCanvas::TextWidth(std::string_view text) {
    return static_cast<std::int64_t>(text.size()) * kFontCellWidth;
}

int CCanvas::DrawTextLine(std::string_view text, const Rect& rect, unsigned format) {
    if (text.empty()) return 0;
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    const std::int64_t textWidth = TextWidth(text);

    std::int64_t x0 = rect.left;
    if ((format & kDtRight) != 0) {
        x0 = rect.right - textWidth;
    } else if ((format & kDtCenter) != 0) {
        x0 = rect.left + (width - textWidth) / 2;  // truncates toward zero, as DrawText
    }
    std::int64_t y0 = rect.top;
    if ((format & kDtBottom) != 0) {
        y0 = std::int64_t{rect.bottom} - kFontCellHeight;
    } else if ((format & kDtVCenter) != 0) {
        y0 = rect.top + (height - kFontCellHeight) / 2;
    }
    const std::int64_t drawnBottom = y0 + kFontCellHeight;
    const bool offsetResult = (format & (kDtVCenter | kDtBottom)) != 0;
    const int result = static_cast<int>(
        std::clamp<std::int64_t>(offsetResult ? drawnBottom - rect.top : kFontCellHeight, INT32_MIN, INT32_MAX));
    if (!CanDraw()) return result;

    Box clip{0, 0, m_target.Width(), m_target.Height()};
    if ((format & kDtNoClip) == 0) clip = Intersect(clip, Box{rect.left, rect.top, rect.right, rect.bottom});
    clip = Intersect(clip, Box{x0, y0, x0 + textWidth, drawnBottom});
    if (clip.Empty()) return result;

    // Only the glyphs that reach the clip box are visited, however long the text.
    const std::int64_t first = (clip.left - x0) / kFontCellWidth;
    const std::int64_t last = (clip.right - 1 - x0) / kFontCellWidth;
    for (auto y = static_cast<int>(clip.top); y < clip.bottom; ++y) {
        std::uint8_t* row = m_target.GetPixelAddress(0, y);
        const auto glyphRow = static_cast<std::size_t>(y - y0);
        for (std::int64_t i = first; i <= last; ++i) {
            const std::uint8_t bits =
                kFontGlyphs[static_cast<unsigned char>(text[static_cast<std::size_t>(i)])][glyphRow];
            const std::int64_t cellLeft = x0 + i * kFontCellWidth;
            const std::int64_t from = std::max(cellLeft, clip.left);
            const std::int64_t to = std::min(cellLeft + kFontCellWidth, clip.right);
            for (std::int64_t x = from; x < to; ++x) {
                const bool ink = ((bits >> (kFontCellWidth - 1 - (x - cellLeft))) & 1U) != 0;
                if (ink) {
                    Put(row + 3 * x, m_textColor);
                } else if (m_bkMode == kOpaque) {
                    Put(row + 3 * x, m_bkColor);
                }
            }
        }
    }
    return result;
}

}  // namespace lumetra
