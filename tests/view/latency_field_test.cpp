// The colour field pixel by pixel: the worked examples with the product's
// kernel and ramp, and the edge cases with kernels made for them.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

#include "tests/support/target_builder.h"
#include "tests/view/frame_support.h"

namespace lumetra {
namespace {

SaverSettings Settings(bool dynamic = false, bool smooth = true) {
    SaverSettings settings;
    settings.m_bDynamicRange = dynamic ? 1 : 0;
    settings.m_bSmoothColor = smooth ? 1 : 0;
    return settings;
}

void ExpectEverywhere(const CFieldPainter& painter, int entry) {
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) ASSERT_EQ(painter.EntryAt(x, y), entry) << x << "," << y;
    }
}

// A kernel of `value` wherever `where` says, 0 elsewhere.
template <class Where>
std::vector<std::uint8_t> MadeKernel(Where where, std::uint8_t value = 255) {
    std::vector<std::uint8_t> kernel(static_cast<std::size_t>(kKernelSize) * kKernelSize, 0);
    for (int y = 0; y < kKernelSize; ++y) {
        for (int x = 0; x < kKernelSize; ++x) {
            if (where(x, y)) kernel[static_cast<std::size_t>(y) * kKernelSize + static_cast<std::size_t>(x)] = value;
        }
    }
    return kernel;
}

TEST(LatencyField, TheKernelAndRampAreTheProducts) {
    const CDib& kernel = SharedRenderer().Kernel();
    EXPECT_EQ(*kernel.GetPixelAddress(128, 128), 255);  // full strength at the centre
    EXPECT_EQ(*kernel.GetPixelAddress(255, 128), 0);
    EXPECT_EQ(RampEntry(32), (std::array<std::uint8_t, 3>{0, 146, 255}));  // blue, green, red
    EXPECT_EQ(RampEntry(128), (std::array<std::uint8_t, 3>{53, 255, 0}));
    EXPECT_EQ(RampEntry(255), (std::array<std::uint8_t, 3>{255, 0, 105}));
}

TEST(LatencyField, NoTargetGivesTheMiddleEntryEverywhere) {
    CFieldPainter painter;
    for (const bool dynamic : {false, true}) {
        for (const bool smooth : {false, true}) {
            painter.Paint({}, Settings(dynamic, smooth));
            ExpectEverywhere(painter, 128);
        }
    }
}

TEST(LatencyField, TargetsWithoutResultsLeaveTheMiddleEntry) {
    TargetList targets;
    AddTarget(targets, {.x = 100, .y = 100, .rtt = -1});
    AddTarget(targets, {.x = 300, .y = 200, .rtt = -1, .type = 3});
    CFieldPainter painter;
    for (const bool dynamic : {false, true}) {
        painter.Paint(targets, Settings(dynamic));
        ExpectEverywhere(painter, 128);
    }
}

TEST(LatencyField, WorkedExampleOneFastTarget) {
    TargetList targets;
    AddTarget(targets, {.x = 200, .y = 150, .rtt = 100});
    CFieldPainter painter;
    painter.Paint(targets, Settings());
    EXPECT_EQ(painter.EntryAt(200, 150), 32);
    painter.Paint(targets, Settings(false, false));
    EXPECT_EQ(painter.EntryAt(200, 150), 32);
    EXPECT_EQ(painter.EntryAt(200 + 64, 150), 128);  // beyond the reach of type 1
    EXPECT_EQ(painter.EntryAt(0, 0), 128);
}

TEST(LatencyField, WorkedExampleFastAndSlowOnOneSpot) {
    TargetList targets;
    AddTarget(targets, {.x = 200, .y = 150, .rtt = 100});
    AddTarget(targets, {.x = 200, .y = 150, .rtt = 500});
    CFieldPainter painter;
    painter.Paint(targets, Settings());
    EXPECT_EQ(painter.EntryAt(200, 150), 115);
    painter.Paint(targets, Settings(false, false));
    EXPECT_EQ(painter.EntryAt(200, 150), 96);
}

TEST(LatencyField, WorkedExampleTheEndsOfTheRange) {
    CFieldPainter painter;
    TargetList slow;
    AddTarget(slow, {.x = 10, .y = 300, .rtt = 600, .type = 4});
    painter.Paint(slow, Settings());
    EXPECT_EQ(painter.EntryAt(10, 300), 255);
    TargetList fast;
    AddTarget(fast, {.x = 10, .y = 300, .rtt = 30, .type = 4});
    painter.Paint(fast, Settings());
    EXPECT_EQ(painter.EntryAt(10, 300), 1);
}

TEST(LatencyField, FallsOffWithDistance) {
    TargetList targets;
    AddTarget(targets, {.x = 250, .y = 150, .rtt = 600, .type = 3});
    CFieldPainter painter;
    painter.Paint(targets, Settings());
    int previous = painter.EntryAt(250, 150);
    for (int dx = 1; dx < 128; ++dx) {
        const int entry = painter.EntryAt(250 + dx, 150);
        EXPECT_LE(entry, previous) << dx;
        EXPECT_GE(entry, 128) << dx;
        previous = entry;
    }
    EXPECT_EQ(painter.EntryAt(250 + 127, 150), 128);                            // the kernel is 0 at radius 127
    EXPECT_EQ(painter.EntryAt(250 - 40, 150), painter.EntryAt(250 + 40, 150));  // round falloff
    EXPECT_EQ(painter.EntryAt(250, 150 - 40), painter.EntryAt(250, 150 + 40));
}

TEST(LatencyField, OneResultInDynamicRangeGivesNoColour) {
    TargetList targets;
    AddTarget(targets, {.x = 200, .y = 150, .rtt = 250});
    AddTarget(targets, {.x = 260, .y = 150, .rtt = 250});
    CFieldPainter painter;
    painter.Paint(targets, Settings(true));
    ExpectEverywhere(painter, 128);  // L = r, H = r + 1, M = r: every weight is 0
}

TEST(LatencyField, SecondResultOfMinusOneColoursButDoesNotSetTheRange) {
    TargetList targets;
    AddTarget(targets, {.x = 100, .y = 100, .rtt = 10, .second = -1});
    AddTarget(targets, {.x = 400, .y = 200, .rtt = 300});
    AddTarget(targets, {.x = 400, .y = 250, .rtt = 500});
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, Settings(true));
    EXPECT_EQ(range.nLow, 300);
    EXPECT_EQ(range.nHigh, 500);
    CFieldPainter painter;
    painter.Paint(targets, Settings(true));
    EXPECT_EQ(painter.EntryAt(100, 100), 0);  // far below the range: clamped to the fast end
}

TEST(LatencyField, OtherRegionsChangeNothing) {
    TargetList targets;
    AddTarget(targets, {.x = 200, .y = 150, .rtt = 100});
    AddTarget(targets, {.x = 300, .y = 150, .rtt = 500, .type = 3});
    CFieldPainter painter;
    for (const bool dynamic : {false, true}) {
        const CDib& before = painter.Paint(targets, Settings(dynamic));
        CTestFrame saved;
        for (int y = 0; y < kFrameHeight; ++y) {
            std::memcpy(saved.dib.GetPixelAddress(0, y), before.GetPixelAddress(0, y), kFrameWidth * 3);
        }
        TargetList more;
        AddTarget(more, {.x = 200, .y = 150, .rtt = 100});
        AddTarget(more, {.x = 250, .y = 150, .rtt = 3, .region = "usa"});
        AddTarget(more, {.x = 300, .y = 150, .rtt = 500, .type = 3});
        AddTarget(more, {.x = 320, .y = 160, .rtt = 9000, .type = 4, .region = "EU"});
        EXPECT_TRUE(ChangedPixels(saved, painter.Paint(more, Settings(dynamic))).empty()) << dynamic;
    }
}

TEST(LatencyField, ReachIsStrictAtBothSizes) {
    // Full strength everywhere: only the reach tests limit a target.
    CFieldPainter painter(MadeKernel([](int, int) { return true; }));
    for (const int type : {1, 3, 4, 7}) {
        const int reach = (type == 3 || type == 4) ? 127 : 63;
        TargetList targets;
        AddTarget(targets, {.x = 250, .y = 150, .rtt = 600, .type = type});
        painter.Paint(targets, Settings());
        EXPECT_EQ(painter.EntryAt(250 + reach, 150), 255) << type;
        EXPECT_EQ(painter.EntryAt(250 - reach, 150), 255) << type;
        EXPECT_EQ(painter.EntryAt(250, 150 + reach), 255) << type;
        EXPECT_EQ(painter.EntryAt(250, 150 - reach), 255) << type;
        EXPECT_EQ(painter.EntryAt(250 + reach, 150 + reach), 255) << type;  // square, not round
        EXPECT_EQ(painter.EntryAt(250 + reach + 1, 150), 128) << type;
        EXPECT_EQ(painter.EntryAt(250 - reach - 1, 150), 128) << type;
        if (150 + reach + 1 < kFrameHeight) {
            EXPECT_EQ(painter.EntryAt(250, 150 + reach + 1), 128) << type;
        }
        if (150 - reach - 1 >= 0) {
            EXPECT_EQ(painter.EntryAt(250, 150 - reach - 1), 128) << type;
        }
    }
}

TEST(LatencyField, KernelColumnAndRowZeroAreNeverRead) {
    CFieldPainter painter(MadeKernel([](int x, int y) { return x == 0 || y == 0; }));
    TargetList targets;
    for (int type = 0; type <= 8; ++type)
        AddTarget(targets, {.x = 60 * type, .y = 40 * (type % 5) + 20, .rtt = 600, .type = type});
    painter.Paint(targets, Settings());
    ExpectEverywhere(painter, 128);
}

TEST(LatencyField, SmallTargetsReadOnlyEvenKernelPoints) {
    // Odd columns and rows only: a type 3 target sees them, the others do not.
    CFieldPainter painter(MadeKernel([](int x, int y) { return x % 2 == 1 || y % 2 == 1; }));
    TargetList small;
    for (const int type : {1, 2, 5, 6, 7, 0, 8, -3}) AddTarget(small, {.x = 250, .y = 150, .rtt = 600, .type = type});
    painter.Paint(small, Settings());
    ExpectEverywhere(painter, 128);
    TargetList large;
    AddTarget(large, {.x = 250, .y = 150, .rtt = 600, .type = 3});
    painter.Paint(large, Settings());
    EXPECT_EQ(painter.EntryAt(251, 150), 255);  // kernel column 127
}

TEST(LatencyField, KernelIsReadAroundTheTargetNotMirrored) {
    // Only kernel point (128 + 10, 128 + 3): dx = 10, dy = 3, so the pixel
    // ten left of and three above the target.
    CFieldPainter painter(MadeKernel([](int x, int y) { return x == 138 && y == 131; }));
    TargetList targets;
    AddTarget(targets, {.x = 250, .y = 150, .rtt = 600, .type = 3});
    painter.Paint(targets, Settings());
    EXPECT_EQ(painter.EntryAt(240, 147), 255);
    EXPECT_EQ(painter.EntryAt(260, 153), 128);
    // Type 1 reads only even kernel rows (128 + 2 dy): row 131 is never read.
    TargetList small;
    AddTarget(small, {.x = 250, .y = 150, .rtt = 600, .type = 1});
    painter.Paint(small, Settings());
    ExpectEverywhere(painter, 128);
}

TEST(LatencyField, TargetsOutsideTheFrameStillColour) {
    CFieldPainter painter;
    TargetList targets;
    AddTarget(targets, {.x = -50, .y = 150, .rtt = 600, .type = 3});
    AddTarget(targets, {.x = 300, .y = kFrameHeight + 20, .rtt = 30, .type = 1});
    painter.Paint(targets, Settings());
    EXPECT_GT(painter.EntryAt(0, 150), 128);
    EXPECT_LT(painter.EntryAt(300, kFrameHeight - 1), 128);
    EXPECT_EQ(painter.EntryAt(300, 0), 128);
}

TEST(LatencyField, PositionsAtTheEndsOfIntReachNothing) {
    CFieldPainter painter;
    TargetList targets;
    for (const int x : {INT_MIN, INT_MAX, 0}) {
        for (const int y : {INT_MIN, INT_MAX}) {
            AddTarget(targets, {.x = x, .y = y, .rtt = 600, .type = 3});
            AddTarget(targets, {.x = y, .y = x, .rtt = 30, .type = 1});
        }
    }
    painter.Paint(targets, Settings());
    ExpectEverywhere(painter, 128);
}

TEST(LatencyField, ManySlowTargetsStayAtTheTopOfTheRamp) {
    CFieldPainter painter;
    TargetList targets;
    for (int i = 0; i < 400; ++i) AddTarget(targets, {.x = 250, .y = 150, .rtt = 600, .type = 3});
    painter.Paint(targets, Settings());
    EXPECT_EQ(painter.EntryAt(250, 150), 255);
    TargetList fast;
    for (int i = 0; i < 400; ++i) AddTarget(fast, {.x = 250, .y = 150, .rtt = 0, .type = 3});
    painter.Paint(fast, Settings());
    EXPECT_EQ(painter.EntryAt(250, 150), 0);
}

TEST(LatencyField, SumsBeyond32BitsKeepTheirColour) {
    // 255 * (INT_MAX - 315) needs 64 bits; the sum of hundreds of them too.
    CFieldPainter painter;
    TargetList targets;
    for (int i = 0; i < 300; ++i) AddTarget(targets, {.x = 250, .y = 150, .rtt = INT_MAX, .type = 4});
    AddTarget(targets, {.x = 250, .y = 150, .rtt = 0, .type = 4});
    painter.Paint(targets, Settings());
    EXPECT_EQ(painter.LastWidth(), FieldWidth::Bits64);
    EXPECT_EQ(painter.EntryAt(250, 150), 255);
    // A fast and a slow target of equal distance from M cancel in the sum and
    // in wmin + wmax: the value is exactly 0. With the timeout INT_MAX,
    // M = (INT_MAX / 20 + INT_MAX) / 2 and L + H does not fit 32 bits.
    SaverSettings settings = Settings();
    settings.m_nPingTimeout = INT_MAX;
    const std::int64_t mid = (std::int64_t{INT_MAX / 20} + INT_MAX) / 2;
    TargetList balanced;
    AddTarget(balanced, {.x = 250, .y = 150, .rtt = INT_MAX, .type = 4});
    AddTarget(balanced, {.x = 250, .y = 150, .rtt = static_cast<int>(2 * mid - INT_MAX), .type = 4});
    painter.Paint(balanced, settings);
    EXPECT_EQ(painter.LastWidth(), FieldWidth::Bits64);
    EXPECT_EQ(painter.EntryAt(250, 150), 128);
    EXPECT_EQ(painter.EntryAt(250 + 60, 150), 128);
}

TEST(LatencyField, TimesBelowMinusOneStandForTheTimeout) {
    CFieldPainter painter;
    TargetList targets;
    AddTarget(targets, {.x = 250, .y = 150, .rtt = -7, .type = 3});
    painter.Paint(targets, Settings());
    EXPECT_EQ(painter.EntryAt(250, 150), 255);  // r = 600, the top of the range
    TargetList lowest;
    AddTarget(lowest, {.x = 250, .y = 150, .rtt = INT_MIN, .type = 3});
    SaverSettings settings = Settings();
    settings.m_nPingTimeout = -1;  // the stand-in is -1 itself: no weight
    painter.Paint(lowest, settings);
    ExpectEverywhere(painter, 128);
}

TEST(LatencyField, NegativeTimeoutKeepsTheScaleDefined) {
    // L = -30, H = -600, S = -570: a result of 0 lies on the -30 side.
    CFieldPainter painter;
    TargetList targets;
    AddTarget(targets, {.x = 250, .y = 150, .rtt = 0, .type = 3});
    SaverSettings settings = Settings();
    settings.m_nPingTimeout = -600;
    painter.Paint(targets, settings);
    EXPECT_LT(painter.EntryAt(250, 150), 128);
    settings.m_nPingTimeout = INT_MIN;
    painter.Paint(targets, settings);
    EXPECT_NE(painter.EntryAt(250, 150), -1);
}

TEST(LatencyField, IntMaxResultsInDynamicRange) {
    CFieldPainter painter;
    TargetList targets;
    AddTarget(targets, {.x = 250, .y = 150, .rtt = INT_MAX, .type = 3});
    AddTarget(targets, {.x = 100, .y = 150, .rtt = 0, .type = 3});
    painter.Paint(targets, Settings(true));
    EXPECT_EQ(painter.EntryAt(250, 150), 255);
    EXPECT_EQ(painter.EntryAt(100, 150), 1);
    TargetList alone;
    AddTarget(alone, {.x = 250, .y = 150, .rtt = INT_MAX, .type = 3});
    painter.Paint(alone, Settings(true));
    // L = INT_MAX - 1, H = INT_MAX, M = INT_MAX - 1: r - M = 1 and S = 1.
    EXPECT_EQ(painter.EntryAt(250, 150), 255);
}

TEST(LatencyField, BandedModeUsesAtMostEightColoursAndNever255) {
    std::mt19937 random(99);
    CFieldPainter painter;
    std::set<int> seen;
    for (int round = 0; round < 6; ++round) {
        TargetList targets;
        for (int i = 0; i < 40; ++i) {
            AddTarget(targets, {.x = static_cast<int>(random() % kFrameWidth),
                                .y = static_cast<int>(random() % kFrameHeight),
                                .rtt = static_cast<int>(random() % 1200),
                                .type = 1 + static_cast<int>(random() % 7)});
        }
        painter.Paint(targets, Settings(round % 2 == 1, false));
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) seen.insert(painter.EntryAt(x, y));
        }
    }
    EXPECT_LE(seen.size(), 8U);
    EXPECT_GE(seen.size(), 5U);  // the scenes do spread over the bands
    for (const int entry : seen) {
        EXPECT_EQ(entry % 32, 0) << entry;
        EXPECT_NE(entry, 255);
    }
}

}  // namespace
}  // namespace lumetra
