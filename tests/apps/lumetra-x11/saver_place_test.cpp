// Where a saver's run leaves its snapshot, and the notice line below its frame.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/lumetra-x11/notice_line.h"
#include "apps/lumetra-x11/snapshot_place.h"
#include "view/frame_size.h"

namespace lumetra::x11 {
namespace {

struct StateCase {
    const char* xdgStateHome;
    const char* home;
    std::optional<std::string> folder;
};

TEST(SnapshotPlace, TheStateFolderFollowsXdgThenHomeAndOnlyAbsolutePaths) {
    const StateCase cases[] = {
        {"/s", "/h", "/s/lumetra"},
        {nullptr, "/h", "/h/.local/state/lumetra"},
        {"", "/h", "/h/.local/state/lumetra"},
        {"relative", "/h", "/h/.local/state/lumetra"},
        {nullptr, nullptr, std::nullopt},
        {nullptr, "h", std::nullopt},
    };
    for (const StateCase& c : cases)
        EXPECT_EQ(StateFolder(c.xdgStateHome, c.home), c.folder) << (c.xdgStateHome ? c.xdgStateHome : "(unset)");
}

struct SaverCase {
    std::vector<std::string_view> args;
    const char* variable;
    bool saver;
};

TEST(SnapshotPlace, UnderXScreenSaverOrWithRootTheRunIsASavers) {
    const SaverCase cases[] = {
        {{}, nullptr, false},         {{"-window-id", "7"}, nullptr, false},
        {{"-fullscreen"}, "", false}, {{}, "0x2c00007", true},
        {{"-root"}, nullptr, true},   {{"--root", "--window-id", "7"}, nullptr, true},
    };
    for (const SaverCase& c : cases) {
        HackOptions options;
        ASSERT_FALSE(ParseHackOptions(c.args, options));
        EXPECT_EQ(RunsAsSaver(options, c.variable), c.saver) << testing::PrintToString(c.args);
    }
}

TEST(NoticeLine, TheTextFitsItsStripAndTheFrameDriftsAboveIt) {
    CDib strip;
    DrawNotice(kNoIcmpNotice, strip);
    ASSERT_TRUE(strip.HasPixels());
    EXPECT_GT(strip.Width(), static_cast<int>(CCanvas::TextWidth(kNoIcmpNotice)));
    int lit = 0;
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x) lit += strip.GetPixelAddress(x, y)[1] != 0 ? 1 : 0;
    EXPECT_GT(lit, 100) << "no text drawn";
    const Rect screen{0, 0, 1024, 768};
    EXPECT_EQ(AboveNotice(screen, strip.Height()).bottom, 768 - strip.Height());
    EXPECT_EQ(AboveNotice(screen, 0).bottom, 768);
    const Rect low{0, 0, 600, kFrameHeight + 5};
    EXPECT_EQ(AboveNotice(low, strip.Height()).bottom, low.bottom) << "the frame would not fit above the line";
}

}  // namespace
}  // namespace lumetra::x11
