// The field's loop sets (baseline and, where the processor has it, AVX2) and
// its plane widths must all give the same frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <vector>

#include "tests/support/target_builder.h"
#include "view/latency_field.h"

namespace lumetra {
namespace {

struct RawFrame {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(static_cast<std::size_t>(kFramePixels) * 3);
    FrameRows rows{};
    RawFrame() {
        for (int y = 0; y < kFrameHeight; ++y)
            rows[static_cast<std::size_t>(y)] = &bytes[static_cast<std::size_t>(y) * kFrameWidth * 3];
    }
};

// Random bytes inside a disc: not symmetric, so a mirrored read would show.
std::vector<std::uint8_t> LopsidedKernel(std::mt19937& random) {
    std::vector<std::uint8_t> kernel(kKernelSize * kKernelSize);
    for (int y = 0; y < kKernelSize; ++y) {
        for (int x = 0; x < kKernelSize; ++x) {
            const int dx = x - 128;
            const int dy = y - 128;
            const bool inside = dx * dx + dy * dy < 127 * 127;
            kernel[static_cast<std::size_t>(y) * kKernelSize + x] =
                inside ? static_cast<std::uint8_t>(random() % 256) : 0;
        }
    }
    return kernel;
}

RampColors DistinctRamp() {
    RampColors ramp{};
    for (int i = 0; i < kRampEntries; ++i)
        ramp[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                             static_cast<std::uint8_t>(i * 7)};
    return ramp;
}

TargetList RandomTargets(std::mt19937& random, int count) {
    TargetList targets;
    for (int i = 0; i < count; ++i) {
        const int rtt = static_cast<int>(random() % 5) == 0 ? -1 : static_cast<int>(random() % 900);
        AddTarget(targets, {.x = static_cast<int>(random() % 700) - 90,
                            .y = static_cast<int>(random() % 500) - 90,
                            .rtt = rtt,
                            .type = static_cast<int>(random() % 9)});
    }
    return targets;
}

TEST(FieldPaths, EveryLoopSetGivesTheSameFrame) {
    std::mt19937 random(7);
    const std::vector<std::uint8_t> kernel = LopsidedKernel(random);
    const std::vector<const FieldLoopSet*> sets = AvailableFieldLoops32();
    ASSERT_EQ(sets.front(), &PortableFieldLoops32());
    EXPECT_NE(std::find(sets.begin(), sets.end(), &FieldLoops32()), sets.end());
    std::vector<std::unique_ptr<CLatencyField>> fields;
    fields.reserve(sets.size());
    for (const FieldLoopSet* set : sets) fields.push_back(std::make_unique<CLatencyField>(kernel, *set));
    const RampColors ramp = DistinctRamp();
    for (int round = 0; round < 20; ++round) {
        const TargetList targets = RandomTargets(random, 1 + round * 5);
        SaverSettings settings;
        settings.m_bSmoothColor = round % 2;
        settings.m_bDynamicRange = (round / 2) % 2;
        const ValueRange range = ComputeValueRange(targets, kRegionUsa, settings);
        RawFrame portable;
        EXPECT_EQ(fields.front()->Paint(targets, kRegionUsa, settings, range, ramp, portable.rows), FieldWidth::Bits32);
        for (std::size_t i = 1; i < fields.size(); ++i) {
            RawFrame other;
            EXPECT_EQ(fields[i]->Paint(targets, kRegionUsa, settings, range, ramp, other.rows), FieldWidth::Bits32);
            ASSERT_EQ(portable.bytes, other.bytes) << "round " << round << ", loops " << sets[i]->name;
        }
    }
}

TEST(FieldPaths, EveryWidthGivesTheSameFrame) {
    std::mt19937 random(11);
    const std::vector<std::uint8_t> kernel = LopsidedKernel(random);
    CLatencyField field(kernel);
    const RampColors ramp = DistinctRamp();
    for (int round = 0; round < 10; ++round) {
        const TargetList targets = RandomTargets(random, 3 + round * 7);
        SaverSettings settings;
        settings.m_bSmoothColor = round % 2;
        const ValueRange range = ComputeValueRange(targets, kRegionUsa, settings);
        RawFrame narrow;
        RawFrame wide;
        RawFrame widest;
        EXPECT_EQ(field.Paint(targets, kRegionUsa, settings, range, ramp, narrow.rows), FieldWidth::Bits32);
        EXPECT_EQ(field.Paint(targets, kRegionUsa, settings, range, ramp, wide.rows, FieldWidth::Bits64),
                  FieldWidth::Bits64);
        EXPECT_EQ(field.Paint(targets, kRegionUsa, settings, range, ramp, widest.rows, FieldWidth::Bits128),
                  FieldWidth::Bits128);
        ASSERT_EQ(narrow.bytes, wide.bytes) << "round " << round;
        ASSERT_EQ(narrow.bytes, widest.bytes) << "round " << round;
    }
}

TEST(FieldPaths, WidthFollowsTheSizeOfTheWeights) {
    std::mt19937 random(3);
    CLatencyField field(LopsidedKernel(random));
    const RampColors ramp = DistinctRamp();
    RawFrame frame;
    SaverSettings settings;
    TargetList targets;
    AddTarget(targets, {.rtt = 100});
    EXPECT_EQ(
        field.Paint(targets, kRegionUsa, settings, ComputeValueRange(targets, kRegionUsa, settings), ramp, frame.rows),
        FieldWidth::Bits32);
    AddTarget(targets, {.rtt = INT_MAX});  // 255 * (INT_MAX - 315) does not fit 32 bits
    EXPECT_EQ(
        field.Paint(targets, kRegionUsa, settings, ComputeValueRange(targets, kRegionUsa, settings), ramp, frame.rows),
        FieldWidth::Bits64);
}

}  // namespace
}  // namespace lumetra
