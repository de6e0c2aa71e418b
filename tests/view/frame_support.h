// Helpers of the view tests: frames, pixel comparisons and the field painted
// on its own with the product's kernel and ramp.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "view/frame_renderer.h"
#include "view/latency_field.h"

namespace lumetra {

using Pixel = std::pair<int, int>;  // x, y
using PixelSet = std::set<Pixel>;

inline const CFrameRenderer& SharedRenderer() {
    static const CFrameRenderer renderer;
    return renderer;
}

// A frame of the renderer's shape; CDib cannot be copied or moved, so tests
// hold it in this and let guaranteed copy elision return it.
struct CTestFrame {
    CDib dib;
    CTestFrame() { SharedRenderer().CreateFrame(dib); }
    CTestFrame(const TargetList& targets, const SaverSettings& settings, const PingTarget* current = nullptr)
        : CTestFrame() {
        SharedRenderer().RenderFrame(dib, targets, kRegionUsa, settings, current);
    }
    operator const CDib&() const { return dib; }  // NOLINT(google-explicit-constructor): reads like a CDib
};

inline std::array<std::uint8_t, 3> PixelBytes(const CDib& image, int x, int y) {
    std::array<std::uint8_t, 3> bytes{};
    std::memcpy(bytes.data(), image.GetPixelAddress(x, y), 3);
    return bytes;
}

inline std::array<std::uint8_t, 3> RampEntry(int i) {
    return PixelBytes(SharedRenderer().Ramp(), i, 0);
}

inline bool IsBlack(const CDib& frame, int x, int y) {
    return PixelBytes(frame, x, y) == std::array<std::uint8_t, 3>{0, 0, 0};
}

// Cyan as stored: blue 255, green 255, red 0.
inline bool IsCyan(const CDib& frame, int x, int y) {
    return PixelBytes(frame, x, y) == std::array<std::uint8_t, 3>{255, 255, 0};
}

inline PixelSet ChangedPixels(const CDib& a, const CDib& b) {
    PixelSet changed;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (std::memcmp(a.GetPixelAddress(x, y), b.GetPixelAddress(x, y), 3) != 0) changed.insert({x, y});
        }
    }
    return changed;
}

// The pixels that cyan text covers when drawn into an empty frame.
inline PixelSet TextPixels(std::string_view text, const Rect& rect, unsigned format) {
    const CTestFrame blank;
    CTestFrame drawn;
    CCanvas canvas(drawn.dib);
    canvas.SetTextColor(0x00FFFF00);
    canvas.SetBkMode(kTransparent);
    canvas.DrawTextLine(text, rect, format);
    return ChangedPixels(blank, drawn);
}

// The field alone, with the renderer's kernel and ramp.
class CFieldPainter {
public:
    explicit CFieldPainter(std::span<const std::uint8_t> kernel = {}, const FieldLoopSet& loops = FieldLoops32())
        : m_field(kernel.empty() ? ProductKernel() : std::vector<std::uint8_t>(kernel.begin(), kernel.end()), loops) {
        for (int i = 0; i < kRampEntries; ++i) m_ramp[static_cast<std::size_t>(i)] = RampEntry(i);
        SharedRenderer().CreateFrame(m_frame);
        for (int y = 0; y < kFrameHeight; ++y) m_rows[static_cast<std::size_t>(y)] = m_frame.GetPixelAddress(0, y);
    }

    const CDib& Paint(const TargetList& targets, const SaverSettings& settings,
                      FieldWidth atLeast = FieldWidth::Bits32) {
        m_lastWidth = m_field.Paint(targets, kRegionUsa, settings, ComputeValueRange(targets, kRegionUsa, settings),
                                    m_ramp, m_rows, atLeast);
        return m_frame;
    }

    // The ramp entry of pixel (x, y), or -1 when its colour is none of them.
    int EntryAt(int x, int y) const {
        const std::array<std::uint8_t, 3> bytes = PixelBytes(m_frame, x, y);
        for (int i = 0; i < kRampEntries; ++i) {
            if (m_ramp[static_cast<std::size_t>(i)] == bytes) return i;
        }
        return -1;
    }

    FieldWidth LastWidth() const { return m_lastWidth; }

    static std::vector<std::uint8_t> ProductKernel() {
        const CDib& kernel = SharedRenderer().Kernel();
        std::vector<std::uint8_t> samples(static_cast<std::size_t>(kKernelSize) * kKernelSize);
        for (int y = 0; y < kKernelSize; ++y) {
            for (int x = 0; x < kKernelSize; ++x) {
                samples[static_cast<std::size_t>(y * kKernelSize + x)] = *kernel.GetPixelAddress(x, y);
            }
        }
        return samples;
    }

private:
    CLatencyField m_field;
    RampColors m_ramp{};
    CDib m_frame;
    FrameRows m_rows{};
    FieldWidth m_lastWidth = FieldWidth::Bits32;
};

}  // namespace lumetra
