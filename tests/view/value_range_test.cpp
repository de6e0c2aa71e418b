#include "view/value_range.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/target_builder.h"

namespace lumetra {
namespace {

SaverSettings Dynamic() {
    SaverSettings settings;
    settings.m_bDynamicRange = 1;
    return settings;
}

SaverSettings WithTimeout(int timeout) {
    SaverSettings settings;
    settings.m_nPingTimeout = timeout;
    return settings;
}

TEST(ValueRange, DefaultTimeoutGivesThirtyToSixHundred) {
    const ValueRange range = ComputeValueRange({}, kRegionUsa, SaverSettings{});
    EXPECT_EQ(range.nLow, 600 / 20);
    EXPECT_EQ(range.nHigh, 600);
    EXPECT_EQ(range.nMid, (30 + 600) / 2);
    EXPECT_EQ(range.nSpan, 600 - 30);
}

TEST(ValueRange, FixedRangeIgnoresResults) {
    TargetList targets;
    AddTarget(targets, {.rtt = 5});
    AddTarget(targets, {.rtt = 9000});
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, SaverSettings{});
    EXPECT_EQ(range.nLow, 30);
    EXPECT_EQ(range.nHigh, 600);
}

TEST(ValueRange, DynamicSpansTheRegionsResults) {
    TargetList targets;
    AddTarget(targets, {.rtt = 120});
    AddTarget(targets, {.rtt = 40});
    AddTarget(targets, {.rtt = 7, .region = "usa"});   // other region
    AddTarget(targets, {.rtt = 900, .second = -1});    // no result: second is -1
    AddTarget(targets, {.rtt = -1});                   // not probed yet
    AddTarget(targets, {.rtt = -7, .second = -7});     // below -1 is no result either
    AddTarget(targets, {.rtt = 2, .region = "USA "});  // trailing blank: other region
    AddTarget(targets, {.rtt = 300, .second = 0});     // a second result of 0 counts
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, Dynamic());
    EXPECT_EQ(range.nLow, 40);
    EXPECT_EQ(range.nHigh, 300);
    EXPECT_EQ(range.nMid, 170);
    EXPECT_EQ(range.nSpan, 260);
}

TEST(ValueRange, DynamicWithoutResultsIsZeroToOne) {
    TargetList targets;
    AddTarget(targets, {.rtt = -1});
    AddTarget(targets, {.rtt = 50, .region = "EU"});
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, Dynamic());
    EXPECT_EQ(range.nLow, 0);
    EXPECT_EQ(range.nHigh, 1);
    EXPECT_EQ(range.nMid, 0);
    EXPECT_EQ(range.nSpan, 1);
}

TEST(ValueRange, DynamicWithEqualResultsPullsTheHighEndUp) {
    TargetList targets;
    AddTarget(targets, {.rtt = 77});
    AddTarget(targets, {.rtt = 77});
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, Dynamic());
    EXPECT_EQ(range.nLow, 77);
    EXPECT_EQ(range.nHigh, 78);
    EXPECT_EQ(range.nMid, 77);
    EXPECT_EQ(range.nSpan, 1);
}

TEST(ValueRange, EqualEndsAtIntMaxPullTheLowEndDown) {
    TargetList targets;
    AddTarget(targets, {.rtt = INT_MAX});
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, Dynamic());
    EXPECT_EQ(range.nLow, INT_MAX - 1);
    EXPECT_EQ(range.nHigh, INT_MAX);
    EXPECT_EQ(range.nSpan, 1);
    EXPECT_EQ(range.nMid, INT_MAX - 1);  // (2^31 - 2 + 2^31 - 1) / 2, truncated
}

TEST(ValueRange, DynamicFromZeroToIntMaxKeepsTheSpan) {
    TargetList targets;
    AddTarget(targets, {.rtt = 0});
    AddTarget(targets, {.rtt = INT_MAX});
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, Dynamic());
    EXPECT_EQ(range.nSpan, INT_MAX);
    EXPECT_EQ(range.nMid, INT_MAX / 2);
}

TEST(ValueRange, ZeroTimeoutGivesZeroToOne) {
    const ValueRange range = ComputeValueRange({}, kRegionUsa, WithTimeout(0));
    EXPECT_EQ(range.nLow, 0);
    EXPECT_EQ(range.nHigh, 1);
}

TEST(ValueRange, HugeTimeoutsDoNotOverflowTheMidPoint) {
    const ValueRange top = ComputeValueRange({}, kRegionUsa, WithTimeout(INT_MAX));
    EXPECT_EQ(top.nLow, INT_MAX / 20);
    EXPECT_EQ(top.nHigh, INT_MAX);
    EXPECT_EQ(top.nMid, (std::int64_t{INT_MAX / 20} + INT_MAX) / 2);
    EXPECT_GT(top.nMid, 0);
    EXPECT_EQ(top.nSpan, std::int64_t{INT_MAX} - INT_MAX / 20);

    const ValueRange bottom = ComputeValueRange({}, kRegionUsa, WithTimeout(INT_MIN));
    EXPECT_EQ(bottom.nLow, INT_MIN / 20);
    EXPECT_EQ(bottom.nHigh, INT_MIN);
    EXPECT_EQ(bottom.nMid, (std::int64_t{INT_MIN / 20} + INT_MIN) / 2);
    EXPECT_LT(bottom.nMid, 0);
    EXPECT_EQ(bottom.nSpan, std::int64_t{INT_MIN} - INT_MIN / 20);
}

TEST(ValueRange, NegativeTimeoutGivesAnInvertedScale) {
    // The legend then prints the ends as they are: -30ms at the top, -600ms
    // at the bottom, and the field divides by a negative span.
    const ValueRange range = ComputeValueRange({}, kRegionUsa, WithTimeout(-600));
    EXPECT_EQ(range.nLow, -30);
    EXPECT_EQ(range.nHigh, -600);
    EXPECT_EQ(range.nMid, -315);
    EXPECT_EQ(range.nSpan, -570);
}

TEST(FieldRoundTrip, MinusOneIsNoneAndLowerValuesStandForTheTimeout) {
    PingTarget target;
    target.m_nRoundTripMs = -1;
    EXPECT_FALSE(FieldRoundTrip(target, 600).has_value());
    target.m_nRoundTripMs = -2;
    EXPECT_EQ(FieldRoundTrip(target, 600), 600);
    target.m_nRoundTripMs = INT_MIN;
    EXPECT_EQ(FieldRoundTrip(target, 250), 250);
    target.m_nRoundTripMs = -5;
    EXPECT_FALSE(FieldRoundTrip(target, -1).has_value());  // the timeout -1 stands in, then is skipped
    EXPECT_EQ(FieldRoundTrip(target, -9), -9);
    target.m_nRoundTripMs = 0;
    EXPECT_EQ(FieldRoundTrip(target, 600), 0);
    target.m_nRoundTripMs = INT_MAX;
    EXPECT_EQ(FieldRoundTrip(target, 600), INT_MAX);
}

}  // namespace
}  // namespace lumetra
