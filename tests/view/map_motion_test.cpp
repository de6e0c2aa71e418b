// Several maps at once: one map at scale 1 moves exactly as the single frame
// always did; each map draws in its turn and stays in its own area at its own
// size; a still map draws nothing.
#include "view/map_motion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/view/scripted_random.h"
#include "view/frame_size.h"

namespace lumetra {
namespace {

using test::CScriptedRandom;

constexpr Size kFrame{kFrameWidth, kFrameHeight};

TEST(MapMotion, OneMapAtScaleOneDrawsAndMovesAsTheSingleFrame) {
    const Rect client{0, 0, 1024, 768};
    const MapArea area{client, 1};
    std::srand(77);
    CRuntimeRandom random;
    std::vector<ShownMap> maps = PlaceMaps({&area, 1}, 3, random);
    std::srand(77);
    Point drift = DrawDrift(3, random);
    Point position = DrawPosition(client, kFrame, random);
    ASSERT_EQ(maps.size(), 1U);
    EXPECT_EQ(maps[0], (ShownMap{client, 1, kFrame, position, drift}));
    for (int tick = 0; tick < 5000; ++tick) {
        const int seed = tick + 1;
        std::srand(seed);
        MoveMaps(maps, 3, random);
        std::srand(seed);
        MoveFrame(position, drift, kFrame, client, 3, random);
        ASSERT_EQ(maps[0].position, position) << tick;
        ASSERT_EQ(maps[0].drift, drift) << tick;
    }
}

TEST(MapMotion, AreasDrawInTheirOrderAndAStillMapDrawsNothing) {
    const MapArea areas[] = {
        {{0, 0, 1280, 1024}, 2},    // 1032 x 620: room 248 x 404
        {{0, 0, 152, 112}, 0},      // still
        {{1280, 0, 2304, 768}, 1},  // room 508 x 458
    };
    CScriptedRandom random({4, 1, 1000, 2000, 0, 2, 500, 700});
    const std::vector<ShownMap> maps = PlaceMaps(areas, 3, random);
    EXPECT_EQ(random.Left(), 0U);
    const std::vector<ShownMap> expected = {
        {areas[0].bounds, 2, {1032, 620}, {2000 % 248, 1000 % 404}, {1, 1}},
        {areas[1].bounds, 0, {152, 91}, {0, 10}, {0, 0}},
        {areas[2].bounds, 1, kFrame, {1280 + 700 % 508, 500 % 458}, {2, 0}},
    };
    EXPECT_EQ(maps, expected);
}

TEST(MapMotion, MapsNeverLeaveTheirMonitorsOverManyTicks) {
    const std::vector<Monitor> monitors = {{{0, 0, 1280, 1024}, true}, {{1280, 0, 2304, 768}, false}};
    for (const int scale : {1, 2, kMapScaleFit}) {
        const std::vector<MapArea> areas = MapAreas(monitors, {0, 0, 2304, 1024}, scale, true);
        std::srand(2024);
        CRuntimeRandom random;
        std::vector<ShownMap> maps = PlaceMaps(areas, 3, random);
        std::vector<int> bounces(maps.size());
        for (int tick = 0; tick < 20000; ++tick) {
            const std::vector<ShownMap> before = maps;
            MoveMaps(maps, 3, random);
            for (std::size_t i = 0; i < maps.size(); ++i) {
                const ShownMap& m = maps[i];
                bounces[i] += m.drift == before[i].drift ? 0 : 1;
                ASSERT_GE(m.position.x, m.bounds.left) << scale << " map " << i;
                ASSERT_LE(m.position.x + m.size.cx, m.bounds.right) << scale << " map " << i;
                ASSERT_GE(m.position.y, m.bounds.top) << scale << " map " << i;
                ASSERT_LE(m.position.y + m.size.cy, m.bounds.bottom) << scale << " map " << i;
            }
        }
        for (const int count : bounces) EXPECT_GT(count, 10) << "a map never reached an edge at scale " << scale;
    }
}

}  // namespace
}  // namespace lumetra
