// The dialog's window-free rules: slider units, the map-size list, the host
// column and the line pieces of its texts. The labels over the sliders and the column widths are
// checked on the real dialog under Wine, where they meet real focus and text.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "config/dialog_rules.h"

namespace lumetra {
namespace {

TEST(SliderScale, PositionsTruncateTowardZeroAndSettingsNeverOverflow) {
    const std::pair<int, int> periods[] = {{2500, 2}, {100, 0}, {-1500, -1}, {INT_MIN, INT_MIN / 1000}};
    for (const auto& [setting, position] : periods) EXPECT_EQ(SliderPosition(kPeriodScale, setting), position);
    EXPECT_EQ(SliderPosition(kTimeoutScale, 650), 6);
    EXPECT_EQ(SettingFromPosition(kPeriodScale, 2), 2000);
    EXPECT_EQ(SettingFromPosition(kTimeoutScale, 6), 600);
    EXPECT_EQ(SettingFromPosition(kPeriodScale, INT_MAX), INT_MAX);
    EXPECT_EQ(SettingFromPosition(kPeriodScale, INT_MIN), INT_MIN);
}

// The list offers 1 to 4 and fit; what the saver would take for another
// value shows as the nearest offered entry, and no entry stores the default.
TEST(MapSizeList, EntriesStandForTheirScalesBothWays) {
    const std::pair<int, int> shown[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {0, 4}, {6, 3}, {8, 3}, {99, 3}, {-2, 4}};
    for (const auto& [scale, index] : shown) EXPECT_EQ(MapSizeIndex(scale), index) << scale;
    const std::pair<int, int> stored[] = {{0, 1}, {1, 2}, {3, 4}, {4, 0}, {-1, 1}, {5, 1}};
    for (const auto& [index, scale] : stored) EXPECT_EQ(MapScaleOfIndex(index), scale) << index;
    EXPECT_EQ(kMapSizeChoices[0].text, "Actual size");
    EXPECT_EQ(kMapSizeChoices[4].text, "Fit to screen");
}

TEST(HostColumnText, TheNoteFollowsInParenthesesUnlessItIsTheStar) {
    const std::pair<const char*, const char*> cases[] = {
        {"*", "host"}, {"Seattle, WA", "host(Seattle, WA)"}, {"**", "host(**)"}, {" *", "host( *)"}};
    for (const auto& [note, text] : cases) {
        PingTarget target;
        target.m_strHost = "host";
        target.m_strNote = note;
        EXPECT_EQ(HostColumnText(target), text) << note;
    }
}

TEST(LinePiece, PicksOnePieceOrNothing) {
    const std::tuple<std::string_view, int, std::optional<std::string_view>> cases[] = {
        {"Hops\nSpeed", 0, "Hops"},
        {"Hops\nSpeed", 1, "Speed"},
        {"Hops\nSpeed", 2, std::nullopt},
        {"Hops\nSpeed", -1, std::nullopt},
        {"a\n\nb", 1, ""},
        {"a\n", 1, ""},
        {"", 0, std::nullopt}};
    for (const auto& [text, index, piece] : cases) EXPECT_EQ(LinePiece(text, index), piece) << text << index;
}

}  // namespace
}  // namespace lumetra
