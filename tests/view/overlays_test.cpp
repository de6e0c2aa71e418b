// The overlays over the field: outline, legend, labels and marker, through the
// renderer, with the text and icons located by comparing frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "tests/support/dib_test_access.h"
#include "tests/support/target_builder.h"
#include "tests/view/frame_support.h"
#include "view/overlays.h"

namespace lumetra {
namespace {

constexpr unsigned kLabelFormat = kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix;

CTestFrame Render(const TargetList& targets, const SaverSettings& settings, const PingTarget* current = nullptr) {
    return CTestFrame(targets, settings, current);
}

SaverSettings WithLegend(bool on = true) {
    SaverSettings settings;
    settings.m_bShowRange = on ? 1 : 0;
    return settings;
}

SaverSettings WithLabels(bool on = true) {
    SaverSettings settings;
    settings.m_bShowData = on ? 1 : 0;
    return settings;
}

bool Inside(const Pixel& p, const Rect& r) {
    return p.first >= r.left && p.first < r.right && p.second >= r.top && p.second < r.bottom;
}

bool InLegendColumn(const Pixel& p) {
    return p.first >= kLegendLeft && p.first <= kLegendRight && p.second >= kLegendTop && p.second < kLegendTop + 256;
}

// The icon drawn alone at (x, y) into an empty frame.
void DrawIconAlone(CTestFrame& frame, int icon, int x, int y) {
    CCanvas canvas(frame.dib);
    SharedRenderer().Icons().Draw(canvas, icon, x, y, kIldTransparent);
}

// Every pixel that the icon paints at (x, y) shows the icon's colour.
void ExpectIconAt(const CDib& frame, int icon, int x, int y) {
    CTestFrame alone;
    DrawIconAlone(alone, icon, x, y);
    int painted = 0;
    for (int dy = 0; dy < 16; ++dy) {
        for (int dx = 0; dx < 16; ++dx) {
            const std::array<std::uint8_t, 3> color = PixelBytes(alone, x + dx, y + dy);
            if (color == std::array<std::uint8_t, 3>{0, 0, 0}) continue;  // transparent, or black in the icon
            ++painted;
            EXPECT_EQ(PixelBytes(frame, x + dx, y + dy), color) << "icon " << icon << " at " << x + dx << "," << y + dy;
        }
    }
    EXPECT_GT(painted, 20) << "icon " << icon;
}

TEST(Outline, BlacksOutBordersAndKeepsTheLand) {
    const CTestFrame frame = Render({}, SaverSettings{});
    int land = 0;
    int black = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (IsBlack(frame, x, y)) {
                ++black;
            } else {
                ASSERT_EQ(PixelBytes(frame, x, y), RampEntry(128)) << x << "," << y;
                ++land;
                EXPECT_TRUE(x >= 7 && x <= 486 && y >= 12 && y <= 301) << x << "," << y;
            }
        }
    }
    EXPECT_GT(land, kFramePixels / 3);
    EXPECT_GT(black, kFramePixels / 10);
}

TEST(Legend, ColumnHoldsAll256EntriesTopDown) {
    const CTestFrame frame = Render({}, WithLegend());
    const PixelSet lowText = TextPixels("30ms", kLowLabelRect, kDtRight | kDtBottom | kDtSingleLine | kDtNoPrefix);
    for (int i = 0; i < 256; ++i) {
        for (int x = kLegendLeft; x <= kLegendRight; ++x) {
            if (lowText.count({x, kLegendTop + i}) != 0) continue;  // the label is drawn after the column
            ASSERT_EQ(PixelBytes(frame, x, kLegendTop + i), RampEntry(i)) << "entry " << i << ", x " << x;
        }
    }
}

TEST(Legend, ColumnShowsAllEntriesAlsoInBandedMode) {
    SaverSettings settings = WithLegend();
    settings.m_bSmoothColor = 0;
    const CTestFrame frame = Render({}, settings);
    for (const int i : {100, 200, 255}) EXPECT_EQ(PixelBytes(frame, 510, kLegendTop + i), RampEntry(i));
}

TEST(Legend, NothingOutsideTheColumnAndTheLabels) {
    const PixelSet changed = ChangedPixels(Render({}, WithLegend(false)), Render({}, WithLegend()));
    ASSERT_FALSE(changed.empty());
    for (const Pixel& p : changed) {
        EXPECT_TRUE(InLegendColumn(p) || Inside(p, kLowLabelRect) || Inside(p, kHighLabelRect))
            << p.first << "," << p.second;
    }
}

TEST(Legend, LabelsOfTheDefaultRangeRead30And600) {
    const CTestFrame without = Render({}, WithLegend(false));
    const CTestFrame with = Render({}, WithLegend());
    PixelSet text;
    for (const Pixel& p : ChangedPixels(without, with)) {
        if (!InLegendColumn(p)) text.insert(p);
    }
    PixelSet expected = TextPixels("30ms", kLowLabelRect, kDtRight | kDtBottom | kDtSingleLine | kDtNoPrefix);
    const PixelSet high = TextPixels("600ms", kHighLabelRect, kDtRight | kDtTop | kDtSingleLine | kDtNoPrefix);
    expected.insert(high.begin(), high.end());
    PixelSet expectedOutsideColumn;
    for (const Pixel& p : expected) {
        if (!InLegendColumn(p)) expectedOutsideColumn.insert(p);
    }
    EXPECT_EQ(text, expectedOutsideColumn);
    for (const Pixel& p : text) EXPECT_TRUE(IsCyan(with, p.first, p.second));
    // Right-aligned: both end near the right edge of their rectangles, the
    // low one just above the column, the high one just below it.
    const auto right = [](const PixelSet& s) { return std::max_element(s.begin(), s.end())->first; };
    const PixelSet low = TextPixels("30ms", kLowLabelRect, kDtRight | kDtBottom | kDtSingleLine | kDtNoPrefix);
    EXPECT_GE(right(low), 505);
    EXPECT_GE(right(high), 505);
    for (const Pixel& p : low) EXPECT_LT(p.second, 36);
    for (const Pixel& p : high) EXPECT_GE(p.second, 289);
}

TEST(Legend, DynamicRangeWithoutResultsReads0And1) {
    SaverSettings settings = WithLegend();
    settings.m_bDynamicRange = 1;
    TargetList targets;
    AddTarget(targets, {.rtt = -1});
    const CTestFrame with = Render(targets, settings);
    EXPECT_EQ(SharedRenderer().LastLow(), 0);
    EXPECT_EQ(SharedRenderer().LastHigh(), 1);
    settings.m_bShowRange = 0;
    const CTestFrame without = Render(targets, settings);
    PixelSet text;
    for (const Pixel& p : ChangedPixels(without, with)) {
        if (!InLegendColumn(p)) text.insert(p);
    }
    PixelSet expected;
    for (const Pixel& p : TextPixels("0ms", kLowLabelRect, kDtRight | kDtBottom | kDtSingleLine | kDtNoPrefix)) {
        if (!InLegendColumn(p)) expected.insert(p);
    }
    for (const Pixel& p : TextPixels("1ms", kHighLabelRect, kDtRight | kDtTop | kDtSingleLine | kDtNoPrefix)) {
        if (!InLegendColumn(p)) expected.insert(p);
    }
    EXPECT_EQ(text, expected);
}

TEST(Legend, OffLeavesTheColumnBlack) {
    const CTestFrame frame = Render({}, WithLegend(false));
    for (int y = kLegendTop; y < kLegendTop + 256; ++y) {
        for (int x = kLegendLeft; x <= kLegendRight; ++x) ASSERT_TRUE(IsBlack(frame, x, y)) << x << "," << y;
    }
}

TEST(Labels, EachTargetWithAResultGetsItsTimeCentredOnIt) {
    TargetList targets;
    AddTarget(targets, {.x = 200, .y = 150, .rtt = 123});
    AddTarget(targets, {.x = 330, .y = 90, .rtt = 7, .type = 3});
    const CTestFrame without = Render(targets, WithLabels(false));
    const CTestFrame with = Render(targets, WithLabels());
    PixelSet expected = TextPixels("123", Rect{150, 141, 250, 159}, kLabelFormat);
    const PixelSet second = TextPixels("7", Rect{280, 81, 380, 99}, kLabelFormat);
    expected.insert(second.begin(), second.end());
    EXPECT_EQ(ChangedPixels(without, with), expected);
    for (const Pixel& p : expected) EXPECT_TRUE(IsCyan(with, p.first, p.second));
    // Centred: the text's middle is within a pixel or two of the target.
    int minX = INT_MAX;
    int maxX = INT_MIN;
    for (const Pixel& p : TextPixels("123", Rect{150, 141, 250, 159}, kLabelFormat)) {
        minX = std::min(minX, p.first);
        maxX = std::max(maxX, p.first);
    }
    EXPECT_NEAR((minX + maxX) / 2.0, 200.0, 2.0);
}

TEST(Labels, NoneBeforeTheFirstProbe) {
    TargetList targets;
    AddTarget(targets, {.x = 200, .y = 150});
    AddTarget(targets, {.x = 300, .y = 150, .type = 3});
    EXPECT_TRUE(ChangedPixels(Render(targets, WithLabels(false)), Render(targets, WithLabels())).empty());
}

TEST(Labels, OnlyTargetsOfTheRegionWithAResult) {
    TargetList targets;
    AddTarget(targets, {.x = 100, .y = 100, .rtt = 40, .region = "usa"});
    AddTarget(targets, {.x = 200, .y = 100, .rtt = 40, .second = -1});
    AddTarget(targets, {.x = 300, .y = 100, .rtt = -5});
    AddTarget(targets, {.x = 400, .y = 100, .rtt = 0});
    const PixelSet changed = ChangedPixels(Render(targets, WithLabels(false)), Render(targets, WithLabels()));
    EXPECT_EQ(changed, TextPixels("0", Rect{350, 91, 450, 109}, kLabelFormat));
}

TEST(Labels, CoverTheLegendAndReachTheEdgeNearIt) {
    TargetList targets;
    AddTarget(targets, {.x = 505, .y = 300, .rtt = 88888});
    SaverSettings settings = WithLabels();
    settings.m_bShowRange = 1;
    const CTestFrame frame = Render(targets, settings);
    const PixelSet label = TextPixels("88888", Rect{455, 291, 555, 309}, kLabelFormat);
    ASSERT_FALSE(label.empty());
    for (const Pixel& p : label) EXPECT_TRUE(IsCyan(frame, p.first, p.second));
    // Such a label is the one thing that reaches the frame's outermost columns.
    EXPECT_TRUE(std::any_of(label.begin(), label.end(), [](const Pixel& p) { return p.first >= kFrameWidth - 3; }));
}

TEST(Labels, FarPositionsDrawNothingAndDoNotOverflow) {
    TargetList targets;
    AddTarget(targets, {.x = INT_MAX, .y = INT_MIN, .rtt = 5});
    AddTarget(targets, {.x = INT_MIN, .y = INT_MAX, .rtt = 5});
    AddTarget(targets, {.x = INT_MAX - 10, .y = 100, .rtt = 5});
    EXPECT_TRUE(ChangedPixels(Render(targets, WithLabels(false)), Render(targets, WithLabels())).empty());
}

TEST(Marker, CornerIconMapIconAndHostName) {
    TargetList targets;
    PingTarget& target = AddTarget(targets, {.x = 300, .y = 200, .rtt = -1, .type = 2, .host = "probe.example"});
    const CTestFrame without = Render(targets, SaverSettings{});
    const CTestFrame with = Render(targets, SaverSettings{}, &target);
    ExpectIconAt(with, 2, 3, 289);
    ExpectIconAt(with, 2, 292, 192);
    const PixelSet name = TextPixels("probe.example", kHostNameRect, kDtLeft | kDtBottom | kDtSingleLine | kDtNoPrefix);
    ASSERT_FALSE(name.empty());
    for (const Pixel& p : name) EXPECT_TRUE(IsCyan(with, p.first, p.second));
    for (const Pixel& p : ChangedPixels(without, with)) {
        const bool inCorner = p.first >= 3 && p.first < 19 && p.second >= 289 && p.second < 305;
        const bool inMapIcon = p.first >= 292 && p.first < 308 && p.second >= 192 && p.second < 208;
        EXPECT_TRUE(inCorner || inMapIcon || name.count(p) != 0) << p.first << "," << p.second;
    }
}

TEST(Marker, EmptyHostNameDrawsOnlyTheIcons) {
    TargetList targets;
    PingTarget& target = AddTarget(targets, {.x = 100, .y = 100, .rtt = 50, .type = 5, .host = ""});
    const PixelSet changed = ChangedPixels(Render(targets, SaverSettings{}), Render(targets, SaverSettings{}, &target));
    ASSERT_FALSE(changed.empty());
    for (const Pixel& p : changed) {
        const bool inCorner = p.first >= 3 && p.first < 19 && p.second >= 289 && p.second < 305;
        const bool inMapIcon = p.first >= 92 && p.first < 108 && p.second >= 92 && p.second < 108;
        EXPECT_TRUE(inCorner || inMapIcon) << p.first << "," << p.second;
    }
}

TEST(Marker, DrawnForTargetsOfOtherRegionsAndWithoutResults) {
    for (const char* region : {"usa", "USA"}) {
        TargetList targets;
        PingTarget& target = AddTarget(targets, {.x = 100, .y = 100, .rtt = -1, .type = 7, .region = region});
        const CTestFrame with = Render(targets, SaverSettings{}, &target);
        ExpectIconAt(with, 7, 3, 289);
        ExpectIconAt(with, 7, 92, 92);
        for (const Pixel& p :
             TextPixels("host.example", kHostNameRect, kDtLeft | kDtBottom | kDtSingleLine | kDtNoPrefix)) {
            EXPECT_TRUE(IsCyan(with, p.first, p.second)) << region;
        }
    }
}

TEST(Marker, OddTypesDrawNoIconButTheName) {
    for (const int type : {-1, 8, 100, INT_MIN}) {
        TargetList targets;
        PingTarget& target = AddTarget(targets, {.x = INT_MIN, .y = INT_MAX, .type = type, .host = "odd"});
        const PixelSet changed =
            ChangedPixels(Render(targets, SaverSettings{}), Render(targets, SaverSettings{}, &target));
        EXPECT_EQ(changed, TextPixels("odd", kHostNameRect, kDtLeft | kDtBottom | kDtSingleLine | kDtNoPrefix)) << type;
    }
}

TEST(Frame, OutermostRowsAndColumnsStayBlack) {
    TargetList targets;
    AddTarget(targets, {.x = 10, .y = 10, .rtt = 20, .type = 3});
    AddTarget(targets, {.x = 505, .y = 300, .rtt = 590, .type = 4});
    PingTarget& current =
        AddTarget(targets, {.x = 250, .y = 150, .rtt = 300, .type = 1, .host = "a-rather-long-host-name.example.com"});
    SaverSettings settings = WithLegend();
    for (const int dynamic : {0, 1}) {
        settings.m_bDynamicRange = dynamic;
        const CTestFrame frame = Render(targets, settings, &current);
        for (int k = 0; k < 3; ++k) {
            for (int x = 0; x < kFrameWidth; ++x) {
                ASSERT_TRUE(IsBlack(frame, x, k)) << x << "," << k;
                ASSERT_TRUE(IsBlack(frame, x, kFrameHeight - 1 - k)) << x << "," << kFrameHeight - 1 - k;
            }
            for (int y = 0; y < kFrameHeight; ++y) {
                ASSERT_TRUE(IsBlack(frame, k, y)) << k << "," << y;
                ASSERT_TRUE(IsBlack(frame, kFrameWidth - 1 - k, y)) << kFrameWidth - 1 - k << "," << y;
            }
        }
    }
}

TEST(Frame, RenderReplacesEveryPixel) {
    CTestFrame frame;
    for (int y = 0; y < kFrameHeight; ++y) std::memset(frame.dib.GetPixelAddress(0, y), 0x5A, kFrameWidth * 3);
    SharedRenderer().RenderFrame(frame.dib, {}, kRegionUsa, SaverSettings{}, nullptr);
    EXPECT_TRUE(ChangedPixels(frame, Render({}, SaverSettings{})).empty());
}

TEST(Frame, RefusesFramesOfAnotherShape) {
    CDib small;
    small.Create(100, 100, 24);
    EXPECT_THROW(SharedRenderer().RenderFrame(small, {}, kRegionUsa, SaverSettings{}, nullptr), std::invalid_argument);
    CDib paletted;
    paletted.Create(kFrameWidth, kFrameHeight, 8);
    EXPECT_THROW(SharedRenderer().RenderFrame(paletted, {}, kRegionUsa, SaverSettings{}, nullptr),
                 std::invalid_argument);
    CDib empty;
    EXPECT_THROW(SharedRenderer().RenderFrame(empty, {}, kRegionUsa, SaverSettings{}, nullptr), std::invalid_argument);
}

TEST(Frame, WithoutPixelStorageNothingIsDrawn) {
    // A frame whose DIB section could not be made: the header says 516 x 310,
    // but there are no pixels to write through.
    CTestFrame frame;
    CDibTestAccess::LoseSection(frame.dib);
    ASSERT_FALSE(frame.dib.HasPixels());
    TargetList targets;
    AddTarget(targets, TargetSketch{.x = 100, .y = 100, .rtt = 40});
    AddTarget(targets, TargetSketch{.x = 300, .y = 200, .rtt = 400});
    SaverSettings everything;
    everything.m_bShowRange = 1;
    everything.m_bShowData = 1;
    SharedRenderer().RenderFrame(frame.dib, targets, kRegionUsa, everything, targets.front().get());

    CCanvas canvas(frame.dib);
    DrawLegend(canvas, SharedRenderer().Ramp(), 0, 100);
    DrawOverlays(canvas,
                 OverlayImages{SharedRenderer().MapOutline(), SharedRenderer().Icons(), SharedRenderer().Ramp()},
                 targets, kRegionUsa, everything, 0, 100, targets.back().get());
    EXPECT_FALSE(frame.dib.HasPixels());
}

TEST(Frame, LegendNeedsARampWithPixels) {
    const CTestFrame blank;
    CTestFrame frame;
    CDib noRamp;
    CCanvas canvas(frame.dib);
    DrawLegend(canvas, noRamp, 0, 100);
    EXPECT_TRUE(ChangedPixels(blank, frame).empty());
}

}  // namespace
}  // namespace lumetra
