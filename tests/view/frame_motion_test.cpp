// The frame's motion: the first drift and position, and the bounces of the
// motion tick, with scripted draws so the order and ranges are exact.
#include "view/frame_motion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/view/case_name.h"
#include "tests/view/scripted_random.h"
#include "view/frame_size.h"

namespace lumetra {
namespace {

using test::CScriptedRandom;

constexpr Size kFrame{kFrameWidth, kFrameHeight};
constexpr Rect kScreen{0, 0, 1000, 800};

// ---- the first drift ------------------------------------------------------

struct DriftCase {
    const char* name;
    int mapMotion;
    std::initializer_list<int> draws;  // every one of them is used
    Point drift;
};

class FirstDrift : public ::testing::TestWithParam<DriftCase> {};

TEST_P(FirstDrift, DrawsDyThenDxUntilOneIsNotZero) {
    CScriptedRandom random(GetParam().draws);
    EXPECT_EQ(DrawDrift(GetParam().mapMotion, random), GetParam().drift);
    EXPECT_EQ(random.Left(), 0U);
}

const DriftCase kDrifts[] = {
    {"DyIsDrawnFirst", 3, {2, 1}, {1, 2}},
    {"RemainderOfTheDraw", 3, {5, 30002}, {2, 2}},
    {"BothZeroIsDrawnAgain", 3, {3, 6, 0, 0, 0, 4}, {1, 0}},
    {"OneZeroIsKept", 3, {0, 2}, {2, 0}},
    {"WiderBound", 7, {13, 20}, {6, 6}},
    // The dialog's slowest setting still moves: components 0 or 1.
    {"BoundOneDrawsZeroOrOne", 1, {0, 0, 1, 0}, {0, 1}},
    {"BoundOneNeverMovesFaster", 1, {5, 7}, {1, 1}},
    // A bound of 0 or less allows no motion: nothing is drawn.
    {"BoundZeroStandsStill", 0, {}, {0, 0}},
    {"NegativeBoundStandsStill", -4, {}, {0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Bounds, FirstDrift, ::testing::ValuesIn(kDrifts), test::CaseName());

TEST(FirstDriftRange, NeverZeroAndWithinTheBoundWithTheRuntimeGenerator) {
    std::srand(12345);
    CRuntimeRandom random;
    for (const int bound : {1, 2, 3, 5}) {
        const int highest = bound == 1 ? 1 : bound - 1;
        for (int i = 0; i < 2000; ++i) {
            const Point drift = DrawDrift(bound, random);
            ASSERT_FALSE(drift.x == 0 && drift.y == 0) << bound;
            ASSERT_GE(drift.x, 0);
            ASSERT_GE(drift.y, 0);
            ASSERT_LE(drift.x, highest) << bound;
            ASSERT_LE(drift.y, highest) << bound;
        }
    }
}

// ---- the first position ---------------------------------------------------

struct PositionCase {
    const char* name;
    Rect client;
    std::initializer_list<int> draws;
    Point position;
};

class FirstPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(FirstPosition, DrawsYThenX) {
    CScriptedRandom random(GetParam().draws);
    EXPECT_EQ(DrawPosition(GetParam().client, kFrame, random), GetParam().position);
    EXPECT_EQ(random.Left(), 0U);
}

const PositionCase kPositions[] = {
    {"WithinTheRoom", {0, 0, 1024, 768}, {1000, 2000}, {2000 % 508, 1000 % 458}},
    {"LargestDrawStaysOnScreen", {0, 0, 1024, 768}, {457, 507}, {507, 457}},
    // The preview: the remainder keeps the draw's sign, 0 to 516 - width - 1.
    {"ClientSmallerThanTheFrame", {0, 0, 200, 150}, {500, 1000}, {1000 % 316, 500 % 160}},
    {"ClientSmallerLargestDraw", {0, 0, 200, 150}, {159, 315}, {315, 159}},
    // An extent equal to the frame's leaves no divisor: placed at the edge, nothing drawn.
    {"ExactlyTheFrameSize", {0, 0, kFrameWidth, kFrameHeight}, {}, {0, 0}},
    {"ExactlyTheFrameWidth", {0, 0, kFrameWidth, 400}, {95}, {0, 5}},
    {"ExactlyTheFrameHeight", {0, 0, 600, kFrameHeight}, {100}, {16, 0}},
    {"ClientNotAtTheOrigin", {10, 20, 1010, 820}, {5, 6}, {16, 25}},
};

INSTANTIATE_TEST_SUITE_P(Clients, FirstPosition, ::testing::ValuesIn(kPositions), test::CaseName());

// ---- the motion tick ------------------------------------------------------

struct MoveCase {
    const char* name;
    Point position;
    Point drift;
    int mapMotion;
    std::initializer_list<int> draws;  // every one of them is used
    Point movedTo;
    Point driftAfter;
};

class MotionTick : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MotionTick, MovesAndBounces) {
    const MoveCase& c = GetParam();
    CScriptedRandom random(c.draws);
    Point position = c.position;
    Point drift = c.drift;
    MoveFrame(position, drift, kFrame, kScreen, c.mapMotion, random);
    EXPECT_EQ(position, c.movedTo);
    EXPECT_EQ(drift, c.driftAfter);
    EXPECT_EQ(random.Left(), 0U);
}

// Draws below 50 jitter; the next draw % 3 - 1 is the change.
const MoveCase kMoves[] = {
    {"Inside", {100, 100}, {2, 1}, 3, {}, {102, 101}, {2, 1}},
    {"LeftTestIsStrict", {1, 100}, {-1, 0}, 3, {}, {0, 100}, {-1, 0}},
    {"PastTheLeftEdge", {1, 100}, {-2, 1}, 3, {30, 2}, {0, 101}, {2, 2}},
    {"RightTestIsNot", {483, 100}, {1, 0}, 3, {99}, {484, 100}, {-1, 0}},
    {"JustShortOfTheRightEdge", {482, 100}, {1, 0}, 3, {}, {483, 100}, {1, 0}},
    {"PastTheRightEdge", {483, 100}, {3, 1}, 3, {49, 0}, {484, 101}, {-3, 0}},
    {"TopTestIsStrict", {100, 1}, {0, -1}, 3, {}, {100, 0}, {0, -1}},
    {"PastTheTopEdge", {100, 1}, {1, -2}, 3, {0, 1}, {101, 0}, {1, 2}},
    {"BottomTestIsNot", {100, 489}, {0, 1}, 3, {10, 0}, {100, 490}, {-1, -1}},
    {"RestingOnTheBottomJittersEveryTick", {100, 490}, {1, 0}, 3, {0, 2}, {101, 490}, {2, 0}},
    {"JitterIsClampedToTheBound", {483, 100}, {1, -3}, 3, {0, 0}, {484, 97}, {-1, -3}},
    {"JitterIsClampedAbove", {100, 489}, {3, 2}, 3, {0, 2}, {103, 490}, {3, -2}},
    // Both axes move with the drift of before the tick; then x bounces (its
    // jitter changes dy) and then y, whose drift is negated after that.
    {"Corner", {483, 489}, {1, 1}, 3, {0, 2, 99}, {484, 490}, {-1, -2}},
    {"BoundZeroKeepsTheFrameStill", {484, 490}, {0, 0}, 0, {0, 2, 0, 2}, {484, 490}, {0, 0}},
    {"NegativeBoundClampsToZero", {484, 100}, {0, 0}, -2, {0, 2}, {484, 100}, {0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Edges, MotionTick, ::testing::ValuesIn(kMoves), test::CaseName());

TEST(MotionTickPreview, ClientSmallerThanTheFrameAlternatesBetweenTheTwoEdges) {
    const Rect preview{0, 0, 200, 150};
    CScriptedRandom random({500, 1000});
    Point position = DrawPosition(preview, kFrame, random);
    Point drift{1, 1};
    std::vector<Point> seen;
    for (int tick = 0; tick < 6; ++tick) {
        random.Append({99, 99});  // both axes bounce every tick, without jitter
        MoveFrame(position, drift, kFrame, preview, 3, random);
        seen.push_back(position);
    }
    const Point farEdge{200 - kFrameWidth, 150 - kFrameHeight};
    const std::vector<Point> expected = {farEdge, {0, 0}, farEdge, {0, 0}, farEdge, {0, 0}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(random.Left(), 0U);
}

TEST(MotionTickRange, DriftStaysWithinTheBoundAndTheFrameOnScreen) {
    std::srand(2024);
    CRuntimeRandom random;
    for (const int bound : {1, 3, 6}) {
        CScriptedRandom firstDraws({7, 3});
        Point position = DrawPosition(kScreen, kFrame, firstDraws);
        Point drift = DrawDrift(bound, random);
        int bounces = 0;
        for (int tick = 0; tick < 20000; ++tick) {
            const Point before = drift;
            MoveFrame(position, drift, kFrame, kScreen, bound, random);
            bounces += before == drift ? 0 : 1;
            ASSERT_GE(drift.x, -bound);
            ASSERT_LE(drift.x, bound);
            ASSERT_GE(drift.y, -bound);
            ASSERT_LE(drift.y, bound);
            ASSERT_GE(position.x, 0);
            ASSERT_LE(position.x, kScreen.right - kFrame.cx);
            ASSERT_GE(position.y, 0);
            ASSERT_LE(position.y, kScreen.bottom - kFrame.cy);
        }
        EXPECT_GT(bounces, 10) << "the frame never reached an edge with bound " << bound;
    }
}

TEST(MotionTickRange, BoundNearTheIntLimitsNeitherOverflowsNorEscapes) {
    CScriptedRandom random({0, 2, 0, 2});
    const int huge = 2147483647;
    Point position{483, 489};
    Point drift{huge, huge};
    MoveFrame(position, drift, kFrame, kScreen, huge, random);
    EXPECT_EQ(position, (Point{484, 490}));
    EXPECT_EQ(drift, (Point{-huge + 1, -huge}));
}

}  // namespace
}  // namespace lumetra
