// The monitor rules: which area each map drifts in and at what scale, on a
// few layouts of monitors; the fit scale; the still rectangle of a window too
// small for the frame.
#include "view/monitor_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "tests/view/case_name.h"

namespace lumetra {

void PrintTo(const MapArea& area, std::ostream* out) {
    const Rect& r = area.bounds;
    *out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << " x" << area.scale << "}";
}

namespace {

struct LayoutCase {
    const char* name;
    std::vector<Monitor> monitors;
    Rect window;  // virtual-screen coordinates
    int mapScale;
    bool allMonitors;
    std::vector<MapArea> areas;
};

class Layouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layouts, GiveTheAreasAndScales) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(MapAreas(c.monitors, c.window, c.mapScale, c.allMonitors), c.areas);
}

// Made when the tests are listed, not at static initialisation.
std::vector<LayoutCase> LayoutCases() {
    // The nested test server's two monitors: 1280 x 1024 and 1024 x 768 beside it.
    const std::vector<Monitor> sideBySide = {{{0, 0, 1280, 1024}, true}, {{1280, 0, 2304, 768}, false}};
    constexpr Rect sideBySideScreen{0, 0, 2304, 1024};
    // A 4K primary under a full-HD monitor that is listed first.
    const std::vector<Monitor> stacked = {{{0, 0, 1920, 1080}, false}, {{0, 1080, 3840, 3240}, true}};
    constexpr Rect stackedScreen{0, 0, 3840, 3240};
    // A monitor left of the primary: the virtual screen starts at x = -1280.
    const std::vector<Monitor> leftOfPrimary = {{{0, 0, 1920, 1080}, true}, {{-1280, 56, 0, 1080}, false}};
    constexpr Rect leftOfPrimaryScreen{-1280, 0, 1920, 1080};
    return {
        {"OneMonitorIsTheWholeWindow",
         {{{0, 0, 1024, 768}, true}},
         {0, 0, 1024, 768},
         1,
         false,
         {{{0, 0, 1024, 768}, 1}}},
        {"NoMonitorsGivenTheWindowIsTheArea", {}, {100, 50, 900, 650}, 1, true, {{{0, 0, 800, 600}, 1}}},
        {"SideBySidePrimaryOnly", sideBySide, sideBySideScreen, 1, false, {{{0, 0, 1280, 1024}, 1}}},
        {"SideBySideAll", sideBySide, sideBySideScreen, 1, true, {{{0, 0, 1280, 1024}, 1}, {{1280, 0, 2304, 768}, 1}}},
        // 1032 x 620 fits the primary; on the 1024-wide monitor it would cross onto the other.
        {"SideBySideTwiceIsCutToWhatFits",
         sideBySide,
         sideBySideScreen,
         2,
         true,
         {{{0, 0, 1280, 1024}, 2}, {{1280, 0, 2304, 768}, 1}}},
        {"StackedPrimaryFirst", stacked, stackedScreen, 1, true, {{{0, 1080, 3840, 3240}, 1}, {{0, 0, 1920, 1080}, 1}}},
        {"StackedFitPerMonitor",
         stacked,
         stackedScreen,
         kMapScaleFit,
         true,
         {{{0, 1080, 3840, 3240}, 4}, {{0, 0, 1920, 1080}, 2}}},
        {"NegativeOriginInClientCoordinates",
         leftOfPrimary,
         leftOfPrimaryScreen,
         1,
         true,
         {{{1280, 0, 3200, 1080}, 1}, {{0, 56, 1280, 1080}, 1}}},
        {"NoneMarkedPrimaryTakesTheFirst",
         {{{0, 0, 800, 600}, false}, {{800, 0, 1600, 600}, false}},
         {0, 0, 1600, 600},
         1,
         false,
         {{{0, 0, 800, 600}, 1}}},
        {"MirroredMonitorsGiveOneArea",
         {{{0, 0, 1920, 1080}, false}, {{0, 0, 1920, 1080}, true}},
         {0, 0, 1920, 1080},
         1,
         true,
         {{{0, 0, 1920, 1080}, 1}}},
        {"MonitorOutsideTheWindowIsLeftOut", sideBySide, {0, 0, 1280, 1024}, 1, true, {{{0, 0, 1280, 1024}, 1}}},
        {"EightOnA4KScreenIsCutToSix",
         {{{0, 0, 3840, 2160}, true}},
         {0, 0, 3840, 2160},
         8,
         false,
         {{{0, 0, 3840, 2160}, 6}}},
        {"AboveTheRangeCountsAsEight",
         {{{0, 0, 7680, 4320}, true}},
         {0, 0, 7680, 4320},
         12,
         false,
         {{{0, 0, 7680, 4320}, 8}}},
        {"BelowTheRangeCountsAsFit",
         {{{0, 0, 3840, 2160}, true}},
         {0, 0, 3840, 2160},
         -3,
         false,
         {{{0, 0, 3840, 2160}, 4}}},
        // The display settings' preview: not even the frame fits, so it stands still, scaled down.
        {"PreviewIsStill", {}, {0, 0, 152, 112}, 1, false, {{{0, 0, 152, 112}, 0}}},
        {"OneAxisTooSmallIsStill", {}, {0, 0, 600, 309}, 1, false, {{{0, 0, 600, 309}, 0}}},
        {"ExactlyTheFrameDrifts", {}, {0, 0, 516, 310}, 1, false, {{{0, 0, 516, 310}, 1}}},
    };
}

INSTANTIATE_TEST_SUITE_P(Monitors, Layouts, ::testing::ValuesIn(LayoutCases()), test::CaseName());

TEST(FitMapScale, LargestWholeScaleWithinSixtyPerCentOfEachSide) {
    struct Case {
        Size area;
        int scale;
    };
    const Case cases[] = {
        {{800, 600}, 1},   {{1280, 1024}, 1}, {{1920, 1080}, 2},  {{2560, 1440}, 2}, {{3440, 1440}, 2},
        {{3840, 2160}, 4}, {{7680, 4320}, 8}, {{15360, 8640}, 8}, {{1720, 1034}, 2}, {{1719, 1034}, 1},
        {{1720, 1033}, 1}, {{152, 112}, 1},   {{0, 0}, 1},        {{2160, 3840}, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(FitMapScale(c.area), c.scale) << c.area.cx << " x " << c.area.cy;
}

TEST(StillMapRect, ScaledDownWithTheAspectKeptAndCentred) {
    struct Case {
        Rect bounds;
        Rect still;
    };
    const Case cases[] = {
        {{0, 0, 152, 112}, {0, 10, 152, 101}},     // as wide as the preview: 152 x 91
        {{0, 0, 200, 100}, {17, 0, 183, 100}},     // as high: 166 x 100
        {{10, 20, 162, 132}, {10, 30, 162, 121}},  // an area away from the origin
        {{0, 0, 516, 310}, {0, 0, 516, 310}},     {{0, 0, 1, 1}, {0, 0, 1, 1}}, {{5, 5, 5, 9}, {5, 5, 5, 5}},
    };
    for (const Case& c : cases) {
        const Rect got = StillMapRect(c.bounds);
        EXPECT_EQ(got, c.still) << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
}

}  // namespace
}  // namespace lumetra
