// Fuzzes the latency field with whatever target and settings files can hold:
// positions, types and round-trip times anywhere in int, any timeout, both
// range and colour modes, every loop set and plane width. Besides sanitizer
// reports it checks the value range against its definition and, at the
// targets' own pixels and at pixels the input names, every colour against the
// pixel-by-pixel reference.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/reference_field.h"
#include "view/frame_renderer.h"
#include "view/latency_field.h"

namespace {

using namespace lumetra;

void Require(bool condition, const char* what) {
    if (!condition) {
        static_cast<void>(std::fprintf(stderr, "fuzz_latency_field: broken: %s\n", what));
        std::abort();
    }
}

struct Fixture {
    CFrameRenderer renderer;
    std::vector<const FieldLoopSet*> sets = AvailableFieldLoops32();
    std::vector<std::unique_ptr<CLatencyField>> fields;
    RampColors ramp{};
    CDib frame;
    FrameRows rows{};

    Fixture() {
        std::vector<std::uint8_t> samples(static_cast<std::size_t>(kKernelSize) * kKernelSize);
        for (int y = 0; y < kKernelSize; ++y) {
            for (int x = 0; x < kKernelSize; ++x) {
                samples[static_cast<std::size_t>(y) * kKernelSize + static_cast<std::size_t>(x)] =
                    *renderer.Kernel().GetPixelAddress(x, y);
            }
        }
        fields.reserve(sets.size());
        for (const FieldLoopSet* set : sets) fields.push_back(std::make_unique<CLatencyField>(samples, *set));
        for (int i = 0; i < kRampEntries; ++i) {
            std::memcpy(ramp[static_cast<std::size_t>(i)].data(), renderer.Ramp().GetPixelAddress(i, 0), 3);
        }
        renderer.CreateFrame(frame);
        for (int y = 0; y < kFrameHeight; ++y) rows[static_cast<std::size_t>(y)] = frame.GetPixelAddress(0, y);
    }
};

// Mostly values near the frame, sometimes anything in int.
int Coordinate(FuzzedDataProvider& data, int size) {
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<int>(-140, size + 140) : data.ConsumeIntegral<int>();
}

int Clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static Fixture fixture;
    FuzzedDataProvider data(bytes, size);

    SaverSettings settings;
    settings.m_bDynamicRange = data.ConsumeIntegral<int>();
    settings.m_bSmoothColor = data.ConsumeIntegral<int>();
    settings.m_nPingTimeout = data.ConsumeIntegral<int>();
    const auto width = static_cast<FieldWidth>(data.ConsumeIntegralInRange<int>(0, 2));
    const std::size_t set = data.ConsumeIntegralInRange<std::size_t>(0, fixture.sets.size() - 1);

    TargetList targets;
    const int count = data.ConsumeIntegralInRange<int>(0, 24);
    for (int i = 0; i < count && data.remaining_bytes() > 0; ++i) {
        auto target = std::make_unique<PingTarget>();
        target->m_nType = data.ConsumeBool() ? data.ConsumeIntegralInRange<int>(1, 7) : data.ConsumeIntegral<int>();
        target->m_nX = Coordinate(data, kFrameWidth);
        target->m_nY = Coordinate(data, kFrameHeight);
        target->m_nRoundTripMs =
            data.ConsumeBool() ? data.ConsumeIntegralInRange<int>(-3, 2000) : data.ConsumeIntegral<int>();
        target->m_nSecondResult = data.ConsumeBool() ? target->m_nRoundTripMs : data.ConsumeIntegral<int>();
        target->m_strRegion = data.ConsumeBool() ? "USA" : data.ConsumeRandomLengthString(4);
        targets.push_back(std::move(target));
    }

    const ValueRange range = ComputeValueRange(targets, kRegionUsa, settings);
    Require(range.nSpan != 0, "the span is never 0");
    Require(range.nSpan == std::int64_t{range.nHigh} - range.nLow, "S = H - L");
    Require(range.nMid == (std::int64_t{range.nLow} + range.nHigh) / 2, "M = (L + H) / 2");
    const FieldWidth used =
        fixture.fields[set]->Paint(targets, kRegionUsa, settings, range, fixture.ramp, fixture.rows, width);
    Require(used >= width, "never narrower than asked");

    // The targets' own pixels (clamped onto the frame) and pixels the input names.
    std::vector<std::pair<int, int>> pixels{{0, 0}, {kFrameWidth - 1, kFrameHeight - 1}};
    for (const auto& target : targets) {
        pixels.emplace_back(Clamp(target->m_nX, 0, kFrameWidth - 1), Clamp(target->m_nY, 0, kFrameHeight - 1));
    }
    while (data.remaining_bytes() >= 4 && pixels.size() < 64) {
        pixels.emplace_back(data.ConsumeIntegralInRange<int>(0, kFrameWidth - 1),
                            data.ConsumeIntegralInRange<int>(0, kFrameHeight - 1));
    }
    for (const auto& [x, y] : pixels) {
        const int entry = ReferencePixelEntry(fixture.renderer.Kernel(), targets, kRegionUsa, settings, x, y);
        Require(std::memcmp(fixture.frame.GetPixelAddress(x, y), fixture.ramp[static_cast<std::size_t>(entry)].data(),
                            3) == 0,
                "a pixel differs from the reference");
    }
    return 0;
}
