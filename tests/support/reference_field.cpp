#include "tests/support/reference_field.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/canvas.h"
#include "view/frame_renderer.h"
#include "view/frame_size.h"
#include "view/overlays.h"

namespace lumetra {

namespace {

__extension__ typedef __int128 Wide;

struct Range {
    int low;
    int high;
    std::int64_t mid;
    std::int64_t span;
};

Range ReferenceValueRange(const TargetList& targets, std::string_view region, const SaverSettings& settings) {
    int low = 0;
    int high = 0;
    if (settings.m_bDynamicRange != 0) {
        bool first = true;
        for (const auto& target : targets) {
            if (target->m_strRegion != region) continue;
            if (target->m_nRoundTripMs < 0 || target->m_nSecondResult < 0) continue;
            if (first || target->m_nRoundTripMs < low) low = target->m_nRoundTripMs;
            if (first || target->m_nRoundTripMs > high) high = target->m_nRoundTripMs;
            first = false;
        }
    } else {
        low = settings.m_nPingTimeout / 20;
        high = settings.m_nPingTimeout;
    }
    if (low == high) {
        if (high == INT_MAX) {
            low = low - 1;
        } else {
            high = high + 1;
        }
    }
    return Range{low, high, (std::int64_t{low} + high) / 2, std::int64_t{high} - low};
}

// v = ((sum / S) / 4 + wmin + wmax) / S, clamped, as a ramp entry. The
// divisions are made in 64 bits when the sum fits them (the common case and
// much faster), else in 128; either gives the same quotients.
int RampIndexOf(Wide sum, std::int64_t wmin, std::int64_t wmax, std::int64_t span, int smooth) {
    Wide v = 0;
    if (sum == 0 && wmin == 0 && wmax == 0) {
        v = 0;  // 0 / S
    } else if (sum > INT64_MIN && sum <= INT64_MAX) {
        v = ((static_cast<std::int64_t>(sum) / span) / 4 + wmin + wmax) / span;
    } else {
        v = ((sum / span) / 4 + wmin + wmax) / span;
    }
    if (v < -128) v = -128;
    if (v > 127) v = 127;
    int i = static_cast<int>(v) + 128;
    if (smooth == 0) i = i & 0xE0;
    return i;
}

}  // namespace

namespace {

// A target that takes part, with the fields the pixel loop reads.
struct Taking {
    int x;
    int y;
    int type;
    int r;
};

// The region and round-trip tests do not depend on the pixel; they are made
// once per render (the order of the tests is free), and the fields the pixel
// loop reads are copied out, to keep the test run short. Everything else is
// done for every pixel and every target.
std::vector<Taking> TakingPart(const TargetList& targets, std::string_view region, const SaverSettings& settings) {
    std::vector<Taking> taking;
    for (const auto& target : targets) {
        if (target->m_strRegion != region) continue;
        int r = target->m_nRoundTripMs;
        if (r < -1) r = settings.m_nPingTimeout;
        if (r == -1) continue;
        taking.push_back(Taking{target->m_nX, target->m_nY, target->m_nType, r});
    }
    return taking;
}

int PixelEntry(const CDib& kernel, const std::vector<Taking>& taking, const Range& range, int smooth, int x, int y) {
    Wide sum = 0;
    std::int64_t wmin = 0;
    std::int64_t wmax = 0;
    for (const Taking& t : taking) {
        const std::int64_t dx = std::int64_t{t.x} - x;
        const std::int64_t dy = std::int64_t{t.y} - y;
        std::int64_t kx = 0;
        std::int64_t ky = 0;
        if (t.type == 3 || t.type == 4) {
            if (!(dx > -128 && dx < 128 && dy > -128 && dy < 128)) continue;
            kx = 128 + dx;
            ky = 128 + dy;
        } else {
            if (!(dx > -64 && dx < 64 && dy > -64 && dy < 64)) continue;
            kx = 128 + 2 * dx;
            ky = 128 + 2 * dy;
        }
        const int s = *kernel.GetPixelAddress(static_cast<int>(kx), static_cast<int>(ky));
        if (s == 0) continue;
        const std::int64_t w = s * (std::int64_t{t.r} - range.mid);
        sum += w;
        wmax = std::max(wmax, w);
        wmin = std::min(wmin, w);
    }
    return RampIndexOf(sum, wmin, wmax, range.span, smooth);
}

}  // namespace

ReferenceRange ReferenceLatencyField(CDib& frame, const CDib& kernel, const CDib& ramp, const TargetList& targets,
                                     std::string_view region, const SaverSettings& settings) {
    const Range range = ReferenceValueRange(targets, region, settings);
    const std::vector<Taking> taking = TakingPart(targets, region, settings);
    // Ramp entries and frame rows are addressed once each; a row's pixels are
    // 3 bytes apart.
    std::vector<const std::uint8_t*> entries;
    entries.reserve(256);
    for (int i = 0; i < 256; ++i) entries.push_back(ramp.GetPixelAddress(i, 0));
    for (int y = 0; y < kFrameHeight; ++y) {
        std::uint8_t* pixel = frame.GetPixelAddress(0, y);
        for (int x = 0; x < kFrameWidth; ++x, pixel += 3) {
            const int i = PixelEntry(kernel, taking, range, settings.m_bSmoothColor, x, y);
            std::memcpy(pixel, entries[static_cast<std::size_t>(i)], 3);
        }
    }
    return ReferenceRange{range.low, range.high};
}

int ReferencePixelEntry(const CDib& kernel, const TargetList& targets, std::string_view region,
                        const SaverSettings& settings, int x, int y) {
    return PixelEntry(kernel, TakingPart(targets, region, settings), ReferenceValueRange(targets, region, settings),
                      settings.m_bSmoothColor, x, y);
}

ReferenceRange ReferenceRenderFrame(const CFrameRenderer& renderer, CDib& frame, const TargetList& targets,
                                    std::string_view region, const SaverSettings& settings, const PingTarget* current) {
    CCanvas canvas(frame);
    SetTextAttributes(canvas);
    const ReferenceRange range =
        ReferenceLatencyField(frame, renderer.Kernel(), renderer.Ramp(), targets, region, settings);
    DrawOverlays(canvas, OverlayImages{renderer.MapOutline(), renderer.Icons(), renderer.Ramp()}, targets, region,
                 settings, range.low, range.high, current);
    return range;
}

}  // namespace lumetra
