// The per-pixel arithmetic of the field: from the accumulated weights of a
// pixel to its ramp entry. Templated on the width the caller accumulated in,
// so every width gives the value the 32-bit formula gives whenever that fits.
//
//   r          a target's round-trip time, ms
//   L, H       the low and high ends of the render's range (value_range.h)
//   M, S       the range's mid point (L + H) / 2 and span H - L, never 0
//   s          a kernel sample, 0 to 255, at the pixel's offset from the target
//   w          one target's weight at a pixel, s * (r - M)
//   sum        the sum of every weight at the pixel
//   wmin/wmax  the smallest and largest weight, both starting at 0, so a
//              pixel's slow and fast targets pull it apart
//   v          the value, -128 to 127; the ramp entry is v + 128
#pragma once

#include <cstdint>

namespace lumetra {

// 128-bit integers for sums that 64 bits cannot hold (GCC and Clang on x86-64).
__extension__ typedef __int128 Int128;

inline constexpr int kRampEntries = 256;
inline constexpr int kUnreachedEntry = 128;  // no weight at all: v = 0

// v = ((sum / S) / 4 + wmin + wmax) / S with truncating divisions, clamped
// to -128..127. The caller picks T wide enough for every intermediate.
template <class T>
constexpr int FieldValue(T sum, T wmin, T wmax, T span) {
    const T quarter = (sum / span) / 4;
    const T v = (quarter + wmin + wmax) / span;
    if (v < -128) return -128;
    if (v > 127) return 127;
    return static_cast<int>(v);
}

// The ramp entry of a value; without smooth colour only the top three bits
// survive, giving eight bands (and never entry 255).
constexpr int RampIndex(int value, bool smooth) {
    const int index = value + 128;
    return smooth ? index : (index & 0xE0);
}

}  // namespace lumetra
