// The real renderer against the pixel-by-pixel reference on thousands of
// random target sets, including everything a hand-edited target or settings
// file can hold. Every frame must be byte-identical.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/support/reference_field.h"
#include "tests/support/target_builder.h"
#include "tests/view/frame_support.h"
#include "view/frame_renderer.h"
#include "view/latency_field.h"

namespace lumetra {
namespace {

constexpr unsigned kSeed = 0x4C554D45;  // fixed, so a failure can be replayed

// The reference is slow by design; unoptimised sanitizer builds run fewer
// rounds of the same sequence.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kFieldRounds = 300;
constexpr int kFrameRounds = 40;
#else
constexpr int kFieldRounds = 1800;
constexpr int kFrameRounds = 200;
#endif

class CRandomScene {
public:
    explicit CRandomScene(unsigned seed) : m_random(seed) {}

    int Pick(std::initializer_list<int> values) {
        return *(values.begin() + static_cast<std::ptrdiff_t>(Below(static_cast<unsigned>(values.size()))));
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(m_random() % n); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool OneIn(unsigned n) { return Below(n) == 0; }

    int Type() {
        if (OneIn(6)) return Pick({0, 8, -1, 9, 100, INT_MIN, INT_MAX});
        return Between(1, 7);
    }

    // Mostly on the frame, often just outside where the reach still touches
    // it, sometimes on the edges of reach or at the ends of int.
    int Coordinate(int size) {
        switch (Below(10)) {
            case 0: return Pick({INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1});
            case 1: return Pick({-127, -128, -63, -64, size + 126, size + 127, size + 62, size + 63});
            case 2: return Between(-140, size + 140);
            default: return Between(0, size - 1);
        }
    }

    int RoundTrip() {
        switch (Below(12)) {
            case 0: return -1;
            case 1: return Pick({-2, -1000, INT_MIN});
            case 2: return 0;
            case 3: return Pick({INT_MAX, INT_MAX - 1, 1000000000, 65535});
            case 4: return Between(600, 100000);
            default: return Between(1, 700);
        }
    }

    int Timeout() {
        switch (Below(8)) {
            case 0: return Pick({INT_MAX, INT_MIN, -1, 0, 1, 19, 20, -20, -600, 1000000000});
            case 1: return Between(100, 5000);
            default: return 600;
        }
    }

    std::string Region() {
        if (!OneIn(8)) return "USA";
        static const std::array<std::string, 4> others{"usa", "USA ", "EU", ""};
        return others[Below(static_cast<unsigned>(others.size()))];
    }

    // Mostly short lists, now and then a longer one, rarely a long one: the
    // reference's time grows with every target.
    int Count() {
        if (OneIn(100)) return Between(60, 250);
        if (OneIn(10)) return Between(7, 30);
        return Between(0, 6);
    }

    TargetList Targets(int count) {
        TargetList targets;
        for (int i = 0; i < count; ++i) {
            // Now and then a second target on the same spot.
            if (!targets.empty() && OneIn(8)) {
                const PingTarget& last = *targets.back();
                AddTarget(targets, {.x = last.m_nX, .y = last.m_nY, .rtt = RoundTrip(), .type = Type()});
                continue;
            }
            const int rtt = RoundTrip();
            AddTarget(targets, {.x = Coordinate(kFrameWidth),
                                .y = Coordinate(kFrameHeight),
                                .rtt = rtt,
                                .second = OneIn(5) ? -1 : rtt,
                                .type = Type(),
                                .region = Region()});
        }
        return targets;
    }

    SaverSettings Settings() {
        SaverSettings settings;
        settings.m_bDynamicRange = OneIn(2) ? 1 : 0;
        settings.m_bSmoothColor = OneIn(3) ? 0 : Pick({1, 2, -1});  // any non-zero is on
        settings.m_nPingTimeout = Timeout();
        settings.m_bShowRange = OneIn(4) ? 1 : 0;
        settings.m_bShowData = OneIn(4) ? 1 : 0;
        return settings;
    }

private:
    std::mt19937 m_random;
};

// Compares whole rows; on a difference x and y name its first pixel.
bool SamePixels(const CDib& a, const CDib& b, int& x, int& y) {
    for (y = 0; y < kFrameHeight; ++y) {
        if (std::memcmp(a.GetPixelAddress(0, y), b.GetPixelAddress(0, y), kFrameWidth * 3) == 0) continue;
        for (x = 0; x < kFrameWidth; ++x) {
            if (std::memcmp(a.GetPixelAddress(x, y), b.GetPixelAddress(x, y), 3) != 0) return false;
        }
    }
    return true;
}

std::string Describe(const TargetList& targets, const SaverSettings& settings) {
    std::string text = "dynamic " + std::to_string(settings.m_bDynamicRange) + ", smooth " +
                       std::to_string(settings.m_bSmoothColor) + ", timeout " +
                       std::to_string(settings.m_nPingTimeout) + ", targets:";
    int shown = 0;
    for (const auto& t : targets) {
        if (++shown > 12) {
            text += " ...";
            break;
        }
        text += " [type " + std::to_string(t->m_nType) + " at " + std::to_string(t->m_nX) + "," +
                std::to_string(t->m_nY) + " rtt " + std::to_string(t->m_nRoundTripMs) + "/" +
                std::to_string(t->m_nSecondResult) + " '" + t->m_strRegion + "']";
    }
    return text;
}

std::vector<std::uint8_t> KernelSamples(const CDib& kernel) {
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(kKernelSize) * kKernelSize);
    for (int y = 0; y < kKernelSize; ++y) {
        for (int x = 0; x < kKernelSize; ++x)
            samples[static_cast<std::size_t>(y) * kKernelSize + static_cast<std::size_t>(x)] =
                *kernel.GetPixelAddress(x, y);
    }
    return samples;
}

// Most scenes compare the field alone, which is where the two differ; the
// rounds take turns over every loop set this processor runs and over the
// three plane widths (the width used is never below the one asked for).
TEST(Differential, RandomFieldsMatchTheReference) {
    const CFrameRenderer& renderer = SharedRenderer();
    const std::vector<std::uint8_t> samples = KernelSamples(renderer.Kernel());
    const std::vector<const FieldLoopSet*> sets = AvailableFieldLoops32();
    std::vector<std::unique_ptr<CLatencyField>> fields;
    fields.reserve(sets.size());
    for (const FieldLoopSet* set : sets) fields.push_back(std::make_unique<CLatencyField>(samples, *set));
    RampColors ramp{};
    for (int i = 0; i < kRampEntries; ++i) {
        std::memcpy(ramp[static_cast<std::size_t>(i)].data(), renderer.Ramp().GetPixelAddress(i, 0), 3);
    }
    CDib fast;
    CDib reference;
    renderer.CreateFrame(fast);
    renderer.CreateFrame(reference);
    FrameRows rows{};
    for (int y = 0; y < kFrameHeight; ++y) rows[static_cast<std::size_t>(y)] = fast.GetPixelAddress(0, y);
    CRandomScene scene(kSeed);
    for (int round = 0; round < kFieldRounds; ++round) {
        const TargetList targets = scene.Targets(scene.Count());
        const SaverSettings settings = scene.Settings();
        const auto width = static_cast<FieldWidth>(round % 3);
        const std::size_t set = static_cast<std::size_t>(round / 3) % sets.size();
        CLatencyField& field = *fields[set];
        const ValueRange range = ComputeValueRange(targets, kRegionUsa, settings);
        field.Paint(targets, kRegionUsa, settings, range, ramp, rows, width);
        const ReferenceRange expected =
            ReferenceLatencyField(reference, renderer.Kernel(), renderer.Ramp(), targets, kRegionUsa, settings);
        ASSERT_EQ(range.nLow, expected.low) << "seed " << kSeed << ", round " << round;
        ASSERT_EQ(range.nHigh, expected.high) << "seed " << kSeed << ", round " << round;
        int x = 0;
        int y = 0;
        ASSERT_TRUE(SamePixels(fast, reference, x, y))
            << "seed " << kSeed << ", round " << round << ", width at least " << round % 3 << ", loops "
            << ((round / 3) % 2 == 0 ? FieldLoops32().name : "portable") << ": first difference at (" << x << ", " << y
            << "); " << Describe(targets, settings);
    }
}

// Whole frames through the renderer, with its own kernel and ramp, the
// legend, labels and marker.
TEST(Differential, RandomFramesMatchTheReference) {
    const CFrameRenderer& renderer = SharedRenderer();
    CDib fast;
    CDib reference;
    renderer.CreateFrame(fast);
    renderer.CreateFrame(reference);
    CRandomScene scene(kSeed + 1);
    for (int round = 0; round < kFrameRounds; ++round) {
        const TargetList targets = scene.Targets(scene.Count());
        const SaverSettings settings = scene.Settings();
        const PingTarget* current = !targets.empty() && scene.OneIn(3) ? targets.front().get() : nullptr;
        renderer.RenderFrame(fast, targets, kRegionUsa, settings, current);
        const ReferenceRange range = ReferenceRenderFrame(renderer, reference, targets, kRegionUsa, settings, current);
        ASSERT_EQ(renderer.LastLow(), range.low) << "seed " << kSeed + 1 << ", round " << round;
        ASSERT_EQ(renderer.LastHigh(), range.high) << "seed " << kSeed + 1 << ", round " << round;
        int x = 0;
        int y = 0;
        ASSERT_TRUE(SamePixels(fast, reference, x, y))
            << "seed " << kSeed + 1 << ", round " << round << ": first difference at (" << x << ", " << y << "); "
            << Describe(targets, settings);
    }
}

}  // namespace
}  // namespace lumetra
