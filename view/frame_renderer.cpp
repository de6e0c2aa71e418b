#include "view/frame_renderer.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "imaging/canvas.h"
#include "resources/resource_ids.h"
#include "view/overlays.h"
#include "view/value_range.h"

namespace lumetra {

namespace {

void RequireSize(const CDib& image, int width, int height, const char* what) {
    if (image.Width() != width || image.Height() != height || image.BitCount() != 24) {
        throw ResourceException(std::string(what) + " bitmap has the wrong size or depth");
    }
}

// Loads the kernel into `kernel` and returns its samples (the first byte of
// each pixel), row by row from the top.
std::vector<std::uint8_t> LoadKernel(CDib& kernel) {
    kernel.LoadFromResource(IDB_KERNEL);
    RequireSize(kernel, kKernelSize, kKernelSize, "kernel");
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(kKernelSize) * kKernelSize);
    for (int y = 0; y < kKernelSize; ++y) {
        for (int x = 0; x < kKernelSize; ++x) {
            samples[static_cast<std::size_t>(y) * kKernelSize + static_cast<std::size_t>(x)] =
                *kernel.GetPixelAddress(x, y);
        }
    }
    return samples;
}

}  // namespace

CFrameRenderer::CFrameRenderer() : m_field(LoadKernel(m_dibKernel)) {
    m_dibRamp.LoadFromResource(IDB_COLOR_RAMP);
    RequireSize(m_dibRamp, kRampEntries, 1, "colour ramp");
    for (int i = 0; i < kRampEntries; ++i) {
        std::memcpy(m_rampColors[static_cast<std::size_t>(i)].data(), m_dibRamp.GetPixelAddress(i, 0), 3);
    }
    // A list that cannot be made draws nothing, as a failed draw would.
    m_ilMap.Create(IDB_MAP_OUTLINE, kFrameWidth, 0, kMapMask);
    m_ilIcons.Create(IDB_TARGET_ICONS, 16, 0, kIconMask);
}

void CFrameRenderer::CreateFrame(CDib& frame, CDC* referenceDC) const {
    frame.Create(kFrameWidth, kFrameHeight, 24, referenceDC);
}

void CFrameRenderer::RenderFrame(CDib& frame, const TargetList& targets, std::string_view region,
                                 const SaverSettings& settings, const PingTarget* current) const {
    if (frame.Width() != kFrameWidth || frame.Height() != kFrameHeight || frame.BitCount() != 24) {
        throw std::invalid_argument("the frame must be " + std::to_string(kFrameWidth) + " x " +
                                    std::to_string(kFrameHeight) + " with 24 bits per pixel");
    }
    if (!frame.HasPixels()) return;
    CCanvas canvas(frame);
    SetTextAttributes(canvas);

    const ValueRange range = ComputeValueRange(targets, region, settings);
    FrameRows rows{};
    for (int y = 0; y < kFrameHeight; ++y) rows[static_cast<std::size_t>(y)] = frame.GetPixelAddress(0, y);
    m_lastWidth = m_field.Paint(targets, region, settings, range, m_rampColors, rows);
    m_nLastLow = range.nLow;
    m_nLastHigh = range.nHigh;

    DrawOverlays(canvas, OverlayImages{m_ilMap, m_ilIcons, m_dibRamp}, targets, region, settings, range.nLow,
                 range.nHigh, current);
}

}  // namespace lumetra
