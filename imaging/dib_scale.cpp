#include "imaging/dib_scale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumetra {
namespace {

constexpr int kBytesPerPixel = 3;

bool IsReadable(const CDib& image, int bitCount) {
    return !image.IsEmpty() && image.HasPixels() && image.BitCount() == bitCount && image.Width() > 0 &&
           image.Height() > 0;
}

bool IsReadable24(const CDib& image) {
    return IsReadable(image, 24);
}

// The target at `width` x `height` and `bitCount`, reusing it when it is so already.
void Prepare(CDib& target, std::int64_t width, std::int64_t height, CDC* referenceDC, int bitCount = 24) {
    if (IsReadable(target, bitCount) && target.Width() == width && target.Height() == height) return;
    target.Free();
    if (width > INT32_MAX || height > INT32_MAX) return;
    target.Create(static_cast<int>(width), static_cast<int>(height), bitCount, referenceDC);
}

// One source pixel's share of one target pixel along an axis. The axis is
// measured in units of 1 / (source length x target length): a source pixel
// spans `targetLength` units, a target pixel `sourceLength`.
struct Tap {
    int source;
    std::int64_t weight;
};

// For each target index, its taps (which sum to the source length).
struct AxisTaps {
    std::vector<Tap> taps;
    std::vector<std::size_t> first;  // taps of target i: [first[i], first[i + 1])
};

AxisTaps TapsAlong(int sourceLength, int targetLength) {
    AxisTaps axis;
    axis.first.reserve(static_cast<std::size_t>(targetLength) + 1);
    const std::int64_t s = sourceLength;
    const std::int64_t t = targetLength;
    for (std::int64_t i = 0; i < t; ++i) {
        axis.first.push_back(axis.taps.size());
        const std::int64_t begin = i * s;
        const std::int64_t end = begin + s;
        for (std::int64_t j = begin / t; j * t < end; ++j) {
            const std::int64_t weight = std::min(end, (j + 1) * t) - std::max(begin, j * t);
            axis.taps.push_back({static_cast<int>(j), weight});
        }
    }
    axis.first.push_back(axis.taps.size());
    return axis;
}

}  // namespace

void ScaleUpByBlocks(const CDib& source, int factor, CDib& target, CDC* referenceDC, int targetBits) {
    if (!IsReadable24(source) || factor < 1 || (targetBits != 24 && targetBits != 32)) {
        target.Free();
        return;
    }
    const int width = source.Width();
    Prepare(target, std::int64_t{width} * factor, std::int64_t{source.Height()} * factor, referenceDC, targetBits);
    if (!IsReadable(target, targetBits)) return;
    const std::size_t outBytes = static_cast<std::size_t>(targetBits) / 8;
    const std::size_t rowBytes = outBytes * static_cast<std::size_t>(width) * static_cast<std::size_t>(factor);
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.Row(y).data();
        std::uint8_t* first = target.Row(y * factor).data();
        std::uint8_t* out = first;
        std::uint8_t pixel[4] = {};  // blue, green, red and, at 32 bits, 0
        for (int x = 0; x < width; ++x, in += kBytesPerPixel) {
            std::memcpy(pixel, in, kBytesPerPixel);
            for (int k = 0; k < factor; ++k, out += outBytes) std::memcpy(out, pixel, outBytes);
        }
        // The block's other rows repeat its first.
        for (int k = 1; k < factor; ++k) std::memcpy(target.Row(y * factor + k).data(), first, rowBytes);
    }
}

void ScaleByAreaAverage(const CDib& source, int width, int height, CDib& target, CDC* referenceDC) {
    if (!IsReadable24(source) || width < 1 || height < 1) {
        target.Free();
        return;
    }
    Prepare(target, width, height, referenceDC);
    if (!IsReadable24(target)) return;
    const AxisTaps across = TapsAlong(source.Width(), width);
    const AxisTaps down = TapsAlong(source.Height(), height);
    // Every target pixel's weights sum to the source's area; 255 times that
    // fits 64 bits for any image that can be made.
    const auto total = static_cast<std::uint64_t>(source.Width()) * static_cast<std::uint64_t>(source.Height());
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * kBytesPerPixel);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (std::size_t v = down.first[y]; v < down.first[y + 1]; ++v) {
            const std::uint8_t* row = source.Row(down.taps[v].source).data();
            const auto rowWeight = static_cast<std::uint64_t>(down.taps[v].weight);
            for (int x = 0; x < width; ++x) {
                for (std::size_t h = across.first[x]; h < across.first[x + 1]; ++h) {
                    const std::uint8_t* pixel = row + std::size_t{kBytesPerPixel} * across.taps[h].source;
                    const std::uint64_t weight = rowWeight * static_cast<std::uint64_t>(across.taps[h].weight);
                    for (int c = 0; c < kBytesPerPixel; ++c)
                        sums[std::size_t{kBytesPerPixel} * x + c] += weight * pixel[c];
                }
            }
        }
        std::uint8_t* out = target.Row(y).data();
        for (std::size_t i = 0; i < sums.size(); ++i) out[i] = static_cast<std::uint8_t>((sums[i] + total / 2) / total);
    }
}

}  // namespace lumetra
