#include "apps/lumetra-x11/notice_line.h"

#include <algorithm>

#include "view/frame_size.h"

namespace lumetra::x11 {
namespace {

constexpr int kMargin = 4;       // pixels around the text
constexpr int kFontHeight = 13;  // the bundled 6 x 13 font

}  // namespace

void DrawNotice(std::string_view text, CDib& strip) {
    const int width = static_cast<int>(CCanvas::TextWidth(text)) + 2 * kMargin;
    const int height = kFontHeight + 2 * kMargin;
    strip.Create(std::max(width, 1), height, 24);  // pixels zero: black
    CCanvas canvas(strip);
    canvas.SetTextColor(Rgb(192, 192, 192));
    canvas.DrawTextLine(text, {0, 0, width, height}, kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix);
}

Rect AboveNotice(const Rect& client, int stripHeight) {
    Rect above = client;
    // The frame needs its own height; a window too low for both keeps the frame whole.
    if (stripHeight > 0 && client.bottom - client.top - stripHeight >= kFrameHeight) above.bottom -= stripHeight;
    return above;
}

}  // namespace lumetra::x11
