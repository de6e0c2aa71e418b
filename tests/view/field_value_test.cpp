#include "view/field_value.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace lumetra {
namespace {

// The worked example of the default range: L 30, H 600, M 315, S 570.
constexpr std::int64_t kMid = 315;
constexpr std::int64_t kSpan = 570;

std::int64_t Weight(int sample, int rtt) {
    return sample * (rtt - kMid);
}

template <class T>
int Value(std::int64_t sum, std::int64_t low, std::int64_t high) {
    return FieldValue<T>(static_cast<T>(sum), static_cast<T>(low), static_cast<T>(high), static_cast<T>(kSpan));
}

TEST(FieldValue, OneFastTargetAtFullStrength) {
    const std::int64_t w = Weight(255, 100);
    EXPECT_EQ(w, -54825);
    EXPECT_EQ(Value<std::int32_t>(w, w, 0), -96);
    EXPECT_EQ(RampIndex(-96, true), 32);
    EXPECT_EQ(RampIndex(-96, false), 32);
}

TEST(FieldValue, AFastAndASlowTargetAtOnePixel) {
    const std::int64_t fast = Weight(255, 100);
    const std::int64_t slow = Weight(255, 500);
    EXPECT_EQ(slow, 47175);
    const int v = Value<std::int32_t>(fast + slow, fast, slow);
    EXPECT_EQ(v, -13);
    EXPECT_EQ(RampIndex(v, true), 115);
    EXPECT_EQ(RampIndex(v, false), 96);
}

TEST(FieldValue, TheEndsOfTheRange) {
    const std::int64_t slowest = Weight(255, 600);
    EXPECT_EQ(Value<std::int32_t>(slowest, 0, slowest), 127);
    EXPECT_EQ(RampIndex(127, true), 255);
    const std::int64_t fastest = Weight(255, 30);
    EXPECT_EQ(Value<std::int32_t>(fastest, fastest, 0), -127);
    EXPECT_EQ(RampIndex(-127, true), 1);
}

TEST(FieldValue, NoWeightIsTheMiddleEntry) {
    EXPECT_EQ(Value<std::int32_t>(0, 0, 0), 0);
    EXPECT_EQ(RampIndex(0, true), kUnreachedEntry);
    EXPECT_EQ(RampIndex(0, false), kUnreachedEntry);
}

TEST(FieldValue, ClampsToTheRamp) {
    const std::int64_t slow = Weight(255, 5000);
    EXPECT_EQ(Value<std::int64_t>(slow * 400, 0, slow), 127);
    EXPECT_EQ(Value<std::int64_t>(-slow * 400, -slow, 0), -128);
    EXPECT_EQ(RampIndex(-128, true), 0);
}

TEST(FieldValue, BandsKeepTheTopThreeBitsAndNeverReach255) {
    for (int v = -128; v <= 127; ++v) {
        const int banded = RampIndex(v, false);
        EXPECT_EQ(banded % 32, 0) << v;
        EXPECT_LE(banded, 224) << v;
        EXPECT_EQ(banded, (v + 128) / 32 * 32) << v;
    }
}

TEST(FieldValue, DivisionsTruncateTowardZeroInEveryWidth) {
    struct Case {
        std::int64_t sum, low, high;
        int expected;
    };
    const Case cases[] = {
        {-1, -1, 0, 0},                // -1 / 570 is 0, not -1
        {-2279, 0, -2279, -3},         // -3.998 truncates to -3, floor would give -4
        {2279 * 570, 0, 0, 0},         // 2279 / 4 = 569, then 569 / 570 = 0
        {1139, 0, 1139, 1},            // 1139 / 570 = 1, 1 / 4 = 0, 1139 / 570 = 1
        {-1000000, -3000, 2000, -2},   // -1754 / 4 = -438; (-438 - 1000) / 570 = -2
        {-1000000, -300000, 0, -128},  // clamped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Value<std::int32_t>(c.sum, c.low, c.high), c.expected) << c.sum;
        EXPECT_EQ(Value<std::int64_t>(c.sum, c.low, c.high), c.expected) << c.sum;
        EXPECT_EQ(Value<Int128>(c.sum, c.low, c.high), c.expected) << c.sum;
    }
}

}  // namespace
}  // namespace lumetra
