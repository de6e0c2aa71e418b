#include "imaging/dib_layout.h"

#include <limits>

namespace lumetra {

std::optional<DibLayout> ComputeDibLayout(int width, int height, int bitCount) {
    const bool knownBits = (bitCount >= 1 && bitCount <= 8) || bitCount == 16 || bitCount == 24 || bitCount == 32;
    if (width <= 0 || height <= 0 || !knownBits) return std::nullopt;
    const std::int64_t colors = bitCount <= 8 ? (std::int64_t{1} << bitCount) : 0;
    // Whole bytes per row, rounded up to a multiple of 4.
    const std::int64_t stride = ((std::int64_t{width} * bitCount + 7) / 8 + 3) & ~std::int64_t{3};
    const std::int64_t imageSize = stride * height;
    const std::int64_t totalSize = imageSize + 4 * colors + 40;
    if (totalSize > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return DibLayout{static_cast<std::uint16_t>(colors), static_cast<std::int32_t>(stride),
                     static_cast<std::int32_t>(imageSize), static_cast<std::int32_t>(totalSize)};
}

}  // namespace lumetra
