// Resource ids of the saver's icon and bitmaps. The bitmap files behind them
// are listed once, in resources/CMakeLists.txt.
#pragma once

#include <cstdint>

namespace lumetra {

inline constexpr std::uint16_t IDI_SAVER = 100;
inline constexpr std::uint16_t IDB_TARGET_ICONS = 129;
inline constexpr std::uint16_t IDB_MAP_OUTLINE = 131;
inline constexpr std::uint16_t IDB_STYLE_HOPS = 132;
inline constexpr std::uint16_t IDB_STYLE_SPEED = 133;
inline constexpr std::uint16_t IDB_KERNEL = 134;
inline constexpr std::uint16_t IDB_COLOR_RAMP = 135;

}  // namespace lumetra
