// CCanvas: software drawing into a 24-bit CDib, the same on every platform,
// so a frame has the same bytes wherever it is rendered. Text is one line in
// a rectangle, drawn with the bundled 6 x 13 bitmap font (imaging/font_6x13.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/color_types.h"
#include "imaging/dib.h"

namespace lumetra {

struct Rect {
    int left, top, right, bottom;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Format flags, with the values of the platform's DrawText flags.
inline constexpr unsigned kDtLeft = 0x0, kDtCenter = 0x1, kDtRight = 0x2;
inline constexpr unsigned kDtTop = 0x0, kDtVCenter = 0x4, kDtBottom = 0x8;
inline constexpr unsigned kDtSingleLine = 0x20, kDtNoClip = 0x100, kDtNoPrefix = 0x800;

// Background modes.
inline constexpr int kTransparent = 1, kOpaque = 2;

class CCanvas {
public:
    // Draws into `target`, which must outlive the canvas. Only a ready 24-bit
    // image with pixel storage is drawn on; on anything else drawing does nothing.
    explicit CCanvas(CDib& target) : m_target(target) {}

    // Each returns the previous value. Text starts black on white, transparent.
    ColorRef SetTextColor(ColorRef color);
    ColorRef SetBkColor(ColorRef color);
    // kTransparent or kOpaque; another value is refused with 0.
    int SetBkMode(int mode);

    // Draws `text` as one line in `rect`, aligned as `format` says:
    // horizontally kDtLeft/kDtCenter/kDtRight, vertically kDtTop/kDtVCenter/
    // kDtBottom; centring puts the text at left + (width - textWidth) / 2.
    // Every byte is drawn as itself: line breaks do not break and '&' is no
    // prefix. The text is clipped to the rectangle (unless kDtNoClip) and
    // always to the image. Returns the text's height (13), or for kDtVCenter
    // and kDtBottom the offset from rect.top to the text's bottom; 0 for an
    // empty text, which draws nothing.
    int DrawTextLine(std::string_view text, const Rect& rect, unsigned format);

    // Width of `text` in pixels, as DrawTextLine places it.
    static std::int64_t TextWidth(std::string_view text);

    // Whether the target can be drawn on at all.
    bool CanDraw() const;
    // Paints one pixel; outside the image, nothing.
    void SetPixel(int x, int y, ColorRef color);

    CDib& Target() const { return m_target; }

private:
    CDib& m_target;
    ColorRef m_textColor = Rgb(0, 0, 0);
    ColorRef m_bkColor = Rgb(255, 255, 255);
    int m_bkMode = kTransparent;
};

}  // namespace lumetra
