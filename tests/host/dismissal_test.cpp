#include "host/dismissal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace lumetra {
namespace {

struct MouseCase {
    ScreenPoint anchor;
    ScreenPoint cursor;
    bool closes;
};

TEST(Dismissal, MouseThresholdIsTheSumOfBothDistances) {
    EXPECT_EQ(kMouseThreshold, 4U);  // what users of every front end expect
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kT = static_cast<std::int32_t>(kMouseThreshold);
    const MouseCase cases[] = {
        {{100, 100}, {100, 100}, false},           // where it was at creation
        {{100, 100}, {100 + kT - 1, 101}, false},  // exactly the threshold in total stays
        {{100, 100}, {100 - kT + 1, 99}, false},   // the same the other way
        {{100, 100}, {100 + kT - 1, 102}, true},   // one more closes
        {{100, 100}, {100, 100 - kT - 1}, true},   // one more along one axis
        {{-5, -5}, {0, -5}, true},                 // negative screen coordinates (a monitor left of the primary)
        {{kMin, 0}, {kMax, 0}, true},              // a distance beyond 31 bits still counts as far
        {{kMin, kMin}, {kMax, kMax}, true},
    };
    for (const MouseCase& c : cases) {
        EXPECT_EQ(MovedBeyondThreshold(c.anchor, c.cursor), c.closes)
            << "(" << c.anchor.x << "," << c.anchor.y << ") -> (" << c.cursor.x << "," << c.cursor.y << ")";
    }
}

struct TickCase {
    std::uint32_t last;
    std::uint32_t now;
    bool due;
};

TEST(Dismissal, VerificationWaitsTwoHundredMillisecondsAcrossTheWrap) {
    const TickCase cases[] = {
        {kNoVerifyYet, 0, true},  // none yet
        {kNoVerifyYet, 12345, true},
        {1000, 1199, false},  // 199 ms after
        {1000, 1200, true},   // 200 ms after
        {0xFFFFFF00U, 0xFFFFFF00U + 150, false},
        {0xFFFFFFA0U, 0x00000010U, false},  // 112 ms across the wrap
        {0xFFFFFFA0U, 0x00000068U, true},   // 200 ms across the wrap
        {0xFFFFFFFEU, 0x000000C6U, true},   // 200 ms after the tick before "none"
    };
    for (const TickCase& c : cases) {
        EXPECT_EQ(VerificationDue(c.last, c.now), c.due) << c.last << " -> " << c.now;
    }
}

}  // namespace
}  // namespace lumetra
