// The rules of lumetra-x11 that need no X server: which input ends a run in
// each mode, the two timers, and the frame's pixels in a server's layout.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "apps/lumetra-x11/hack_input.h"
#include "apps/lumetra-x11/pixel_layout.h"
#include "apps/lumetra-x11/timer_schedule.h"

namespace lumetra::x11 {
namespace {

HackInput Key(bool quit = false) {
    return {InputKind::kKeyPress, quit};
}
constexpr auto kT = static_cast<int>(kMouseThreshold);

HackInput Move(int x, int y) {
    return {InputKind::kPointerMotion, false, {x, y}};
}

struct InputCase {
    const char* what;
    std::vector<HackInput> inputs;  // the last one is asked about
    DrawMode mode;
    bool ends;
};

TEST(HackInput, EachModeEndsOnItsOwnInput) {
    const HackInput button{InputKind::kButtonPress};
    const HackInput focus{InputKind::kFocusLost};
    const HackInput close{InputKind::kCloseRequest};
    const InputCase cases[] = {
        {"full screen: any key", {Key()}, DrawMode::kFullScreen, true},
        {"full screen: a button", {button}, DrawMode::kFullScreen, true},
        {"full screen: focus lost", {focus}, DrawMode::kFullScreen, true},
        {"full screen: the window manager's close", {close}, DrawMode::kFullScreen, true},
        {"full screen: the pointer where it was", {Move(100, 100)}, DrawMode::kFullScreen, false},
        {"full screen: the threshold", {Move(100 + kT - 1, 101)}, DrawMode::kFullScreen, false},
        {"full screen: one past it", {Move(100 + kT, 101)}, DrawMode::kFullScreen, true},
        {"full screen: small moves add up",
         {Move(102, 100), Move(100 + kT, 100), Move(100 + kT + 1, 100)},
         DrawMode::kFullScreen,
         true},
        {"full screen: back and forth within it",
         {Move(100 + kT, 100), Move(100 - kT, 100)},
         DrawMode::kFullScreen,
         false},
        {"own window: q", {Key(true)}, DrawMode::kOwnWindow, true},
        {"own window: another key", {Key()}, DrawMode::kOwnWindow, false},
        {"own window: the window manager's close", {close}, DrawMode::kOwnWindow, true},
        {"own window: a button", {button}, DrawMode::kOwnWindow, false},
        {"own window: a far move", {Move(500, 500)}, DrawMode::kOwnWindow, false},
        {"own window: focus lost", {focus}, DrawMode::kOwnWindow, false},
        {"root: q", {Key(true)}, DrawMode::kRoot, false},
        {"given window: a far move", {Move(500, 500)}, DrawMode::kGivenWindow, false},
        {"given window: close", {close}, DrawMode::kGivenWindow, false},
    };
    for (const InputCase& c : cases) {
        CDismissal dismissal(c.mode, {100, 100});
        for (std::size_t i = 0; i + 1 < c.inputs.size(); ++i) {
            ASSERT_FALSE(dismissal.Ends(c.inputs[i])) << c.what << ", input " << i;
        }
        EXPECT_EQ(dismissal.Ends(c.inputs.back()), c.ends) << c.what;
    }
}

TEST(HackInput, TheAnchorMovesOnlyWithAMoveThatEnds) {
    CDismissal dismissal(DrawMode::kFullScreen, {10, 10});
    EXPECT_FALSE(dismissal.Ends(Move(12, 12)));
    EXPECT_EQ(dismissal.Anchor().x, 10);
    EXPECT_TRUE(dismissal.Ends(Move(20, 10)));
    EXPECT_EQ(dismissal.Anchor().x, 20);
    EXPECT_FALSE(dismissal.Ends(Move(22, 11)));
}

using std::chrono::milliseconds;

TEST(TimerSchedule, PeriodsAreTakenAsThePlatformsTimersTakeThem) {
    const std::array<std::pair<int, long long>, 6> cases = {{
        {110, 110},
        {2000, 2000},
        {10, 10},
        {9, 10},  // below the minimum
        {0, 10},
        {-1, 0x7FFFFFFF},  // a negative count is a huge unsigned one, capped
    }};
    for (const auto& [given, taken] : cases) EXPECT_EQ(TimerPeriod(given).count(), taken) << given;
}

TEST(TimerSchedule, TimersFireInOrderOnceEachAndAreRearmedFromTheirHandling) {
    const Clock::time_point t0{};
    CTimerSchedule timers;
    EXPECT_FALSE(timers.NextDue());
    timers.Set(1, 110, t0);
    timers.Set(2, 110, t0);
    EXPECT_EQ(timers.NextDue(), t0 + milliseconds(110));
    EXPECT_FALSE(timers.TakeDue(t0 + milliseconds(109)));
    // Both due: the lower id first on a tie, each once.
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(110)), 1U);
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(110)), 2U);
    EXPECT_FALSE(timers.TakeDue(t0 + milliseconds(110)));
    // A probe blocked for 600 ms: the motion timer fires once, not five times.
    timers.Set(2, 2000, t0 + milliseconds(710));
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(710)), 1U);
    EXPECT_FALSE(timers.TakeDue(t0 + milliseconds(710)));
    EXPECT_EQ(timers.NextDue(), t0 + milliseconds(820));
    // The probe timer, set again, runs from its new start; the motion timer,
    // overdue since 820 ms, still comes first.
    EXPECT_FALSE(timers.TakeDue(t0 + milliseconds(819)));
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(2710)), 1U);
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(2710)), 2U);
    timers.Kill(2);
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(10000)), 1U);
    EXPECT_FALSE(timers.TakeDue(t0 + milliseconds(10000)));
}

TEST(TimerSchedule, TheEarlierOfTwoOverdueTimersComesFirst) {
    const Clock::time_point t0{};
    CTimerSchedule timers;
    timers.Set(1, 300, t0);
    timers.Set(2, 100, t0);
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(400)), 2U);
    EXPECT_EQ(timers.TakeDue(t0 + milliseconds(400)), 1U);
}

// A 2 x 2 frame: red, green / blue, a grey of distinct channel values.
struct CSmallFrame {
    CDib dib;
    CSmallFrame() {
        dib.Create(2, 2, 24);
        const std::array<std::array<std::uint8_t, 3>, 4> colours = {{
            {0x00, 0x00, 0xFF},  // stored blue, green, red: red
            {0x00, 0xFF, 0x00},  // green
            {0xFF, 0x00, 0x00},  // blue
            {0x30, 0x60, 0x90},
        }};
        for (int i = 0; i < 4; ++i) {
            std::uint8_t* pixel = dib.GetPixelAddress(i % 2, i / 2);
            std::copy(colours[static_cast<std::size_t>(i)].begin(), colours[static_cast<std::size_t>(i)].end(), pixel);
        }
    }
};

struct LayoutCase {
    const char* what;
    PixelLayout layout;
    std::size_t stride;
    std::vector<std::uint8_t> bytes;  // both rows, top first, stride apart
};

TEST(PixelLayout, TheFrameInEachLayout) {
    const LayoutCase cases[] = {
        {"32 bits, x8r8g8b8, LSB first (Xvfb, most servers)",
         {32, false, 0xFF0000, 0x00FF00, 0x0000FF},
         8,
         {0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x30, 0x60, 0x90, 0x00}},
        {"32 bits, MSB first",
         {32, true, 0xFF0000, 0x00FF00, 0x0000FF},
         8,
         {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x90, 0x60, 0x30}},
        {"24 bits packed, rows padded to 8",
         {24, false, 0xFF0000, 0x00FF00, 0x0000FF},
         8,
         {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0, 0xFF, 0x00, 0x00, 0x30, 0x60, 0x90, 0, 0}},
        {"16 bits, r5g6b5: the top bits of each channel",
         {16, false, 0xF800, 0x07E0, 0x001F},
         4,
         {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x06, 0x93}},
        {"30-bit colour: 8 bits spread over 10",
         {32, false, 0x3FF00000, 0x000FFC00, 0x000003FF},
         8,
         {0x00, 0x00, 0xF0, 0x3F, 0x00, 0xFC, 0x0F, 0x00, 0xFF, 0x03, 0x00, 0x00, 0xC0, 0x04, 0x26, 0x24}},
    };
    const CSmallFrame frame;
    for (const LayoutCase& c : cases) {
        ASSERT_TRUE(IsPackable(c.layout)) << c.what;
        std::vector<std::uint8_t> image(c.stride * 2, 0);
        PackFrame(frame.dib, c.layout, image, c.stride);
        EXPECT_EQ(image, c.bytes) << c.what;
    }
}

TEST(PixelLayout, LayoutsItCannotFillAreRefused) {
    const PixelLayout refused[] = {
        {8, false, 0xE0, 0x1C, 0x03},               // 8 bits per pixel
        {32, false, 0xFF0000, 0xFF0000, 0x0000FF},  // overlapping masks
        {32, false, 0xF0F000, 0x00000F, 0x000F00},  // a mask with a gap
        {16, false, 0xFF0000, 0x00FF00, 0x0000FF},  // masks wider than the pixel
        {32, false, 0xFF0000, 0x00FF00, 0x000000},  // no blue
    };
    for (const PixelLayout& layout : refused) EXPECT_FALSE(IsPackable(layout)) << layout.bitsPerPixel;
}

}  // namespace
}  // namespace lumetra::x11
