#include "view/overlays.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "view/frame_size.h"

namespace lumetra {

namespace {

constexpr unsigned kLowLabelFormat = kDtRight | kDtBottom | kDtSingleLine | kDtNoPrefix;
constexpr unsigned kHighLabelFormat = kDtRight | kDtTop | kDtSingleLine | kDtNoPrefix;
constexpr unsigned kTargetLabelFormat = kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix;
constexpr unsigned kHostNameFormat = kDtLeft | kDtBottom | kDtSingleLine | kDtNoPrefix;

// Positions come from the target file and may be anywhere in int; what is
// drawn near them is at most a label's width across. Coordinates further out
// than this margin draw nothing either way, so they are pulled in to keep the
// arithmetic within int.
constexpr std::int64_t kOffFrameMargin = 1000;

int Near(std::int64_t coordinate, int frameSize) {
    return static_cast<int>(std::clamp<std::int64_t>(coordinate, -kOffFrameMargin, frameSize + kOffFrameMargin));
}

}  // namespace

void SetTextAttributes(CCanvas& canvas) {
    canvas.SetTextColor(kTextColor);
    canvas.SetBkMode(kTransparent);
}

void DrawOverlays(CCanvas& canvas, const OverlayImages& images, const TargetList& targets, std::string_view region,
                  const SaverSettings& settings, int low, int high, const PingTarget* current) {
    DrawOutline(canvas, images.map);
    if (settings.m_bShowRange != 0) DrawLegend(canvas, images.ramp, low, high);
    if (settings.m_bShowData != 0) DrawLabels(canvas, targets, region);
    if (current != nullptr) DrawMarker(canvas, images.icons, *current);
}

void DrawOutline(CCanvas& canvas, const CImageList& map) {
    map.Draw(canvas, 0, 0, 0, kIldTransparent);
}

void DrawLegend(CCanvas& canvas, const CDib& ramp, int low, int high) {
    // The colour column is copied byte by byte, past the canvas's own checks.
    if (!canvas.CanDraw() || !ramp.HasPixels() || ramp.Width() < 256) return;
    CDib& frame = canvas.Target();
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* color = ramp.GetPixelAddress(i, 0);
        for (int x = kLegendLeft; x <= kLegendRight; ++x)
            std::memcpy(frame.GetPixelAddress(x, kLegendTop + i), color, 3);
    }
    canvas.DrawTextLine(std::to_string(low) + "ms", kLowLabelRect, kLowLabelFormat);
    canvas.DrawTextLine(std::to_string(high) + "ms", kHighLabelRect, kHighLabelFormat);
}

void DrawLabels(CCanvas& canvas, const TargetList& targets, std::string_view region) {
    for (const auto& target : targets) {
        if (!IsOfRegion(*target, region) || !target->HasResult()) continue;
        const std::int64_t x = target->m_nX;
        const std::int64_t y = target->m_nY;
        const Rect rect{Near(x - 50, kFrameWidth), Near(y - 9, kFrameHeight), Near(x + 50, kFrameWidth),
                        Near(y + 9, kFrameHeight)};
        canvas.DrawTextLine(std::to_string(target->m_nRoundTripMs), rect, kTargetLabelFormat);
    }
}

void DrawMarker(CCanvas& canvas, const CImageList& icons, const PingTarget& current) {
    const int icon = current.m_nType;
    if (icon >= 0 && icon < icons.GetImageCount()) {
        icons.Draw(canvas, icon, kCornerIconX, kCornerIconY, kIldTransparent);
        icons.Draw(canvas, icon, Near(std::int64_t{current.m_nX} - 8, kFrameWidth),
                   Near(std::int64_t{current.m_nY} - 8, kFrameHeight), kIldTransparent);
    }
    canvas.DrawTextLine(current.m_strHost, kHostNameRect, kHostNameFormat);
}

}  // namespace lumetra
