// What the frame shows over the colour field, in drawing order: the map
// outline, the legend, the round-trip labels and the current target's marker.
// Everything is drawn in software into the frame, so every platform produces
// the same pixels.
#pragma once

#include <string_view>

#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "imaging/image_list.h"
#include "settings/saver_settings.h"
#include "targets/ping_target.h"
#include "view/frame_size.h"

namespace lumetra {

inline constexpr ColorRef kTextColor = 0x00FFFF00;  // cyan
inline constexpr ColorRef kMapMask = 0xFFFFFF;      // white land lets the field through
inline constexpr ColorRef kIconMask = 0x800080;     // the icons' purple background

// The legend's colour column and the text rectangles, in frame coordinates.
inline constexpr int kLegendLeft = 509;   // width - 7
inline constexpr int kLegendRight = 512;  // width - 4
inline constexpr int kLegendTop = 33;     // height - 277
inline constexpr Rect kLowLabelRect{416, 15, 513, 36};
inline constexpr Rect kHighLabelRect{416, 289, 513, kFrameHeight};
inline constexpr Rect kHostNameRect{21, 289, 498, 307};
inline constexpr int kCornerIconX = 3;
inline constexpr int kCornerIconY = 289;

struct OverlayImages {
    const CImageList& map;
    const CImageList& icons;
    const CDib& ramp;
};

// Cyan text on a transparent background, set at the start of every render.
void SetTextAttributes(CCanvas& canvas);

// low and high: the ends of the render's value range, printed by the legend.
void DrawOverlays(CCanvas& canvas, const OverlayImages& images, const TargetList& targets, std::string_view region,
                  const SaverSettings& settings, int low, int high, const PingTarget* current);

void DrawOutline(CCanvas& canvas, const CImageList& map);
void DrawLegend(CCanvas& canvas, const CDib& ramp, int low, int high);
void DrawLabels(CCanvas& canvas, const TargetList& targets, std::string_view region);
void DrawMarker(CCanvas& canvas, const CImageList& icons, const PingTarget& current);

}  // namespace lumetra
