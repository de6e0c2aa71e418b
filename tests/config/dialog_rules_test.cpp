// The dialog's window-free rules: slider units, the labels over the sliders,
// the host column, the line pieces of its texts and the column width.
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
    EXPECT_EQ(SliderPosition(kMotionScale, 7), 7);
    EXPECT_EQ(SettingFromPosition(kPeriodScale, 2), 2000);
    EXPECT_EQ(SettingFromPosition(kTimeoutScale, 6), 600);
    EXPECT_EQ(SettingFromPosition(kPeriodScale, INT_MAX), INT_MAX);
    EXPECT_EQ(SettingFromPosition(kPeriodScale, INT_MIN), INT_MIN);
}

TEST(LabelsForFocus, EachSliderLabelsItselfAndAnythingElseClearsThem) {
    const std::pair<SliderFocus, std::string> cases[] = {{SliderFocus::kMotion, "1|3"},
                                                         {SliderFocus::kPeriod, "7000ms|"},
                                                         {SliderFocus::kTimeout, "600ms|"},
                                                         {SliderFocus::kElsewhere, "|"}};
    for (const auto& [focus, text] : cases) {
        const SliderLabels labels = LabelsForFocus(focus, 7, 6);
        EXPECT_EQ(labels.left + "|" + labels.right, text);
    }
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

TEST(FittedColumnWidth, TheWiderTextPlusEightBorders) {
    EXPECT_EQ(FittedColumnWidth(20, 90, 1), 98);
    EXPECT_EQ(FittedColumnWidth(100, 30, 2), 116);
    EXPECT_EQ(FittedColumnWidth(INT_MAX, 0, 1), INT_MAX);
}

}  // namespace
}  // namespace lumetra
