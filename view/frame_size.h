// The frame's fixed geometry, shared by the field, the overlays and the view.
#pragma once

namespace lumetra {

inline constexpr int kFrameWidth = 516;
inline constexpr int kFrameHeight = 310;
inline constexpr int kFramePixels = kFrameWidth * kFrameHeight;

}  // namespace lumetra
