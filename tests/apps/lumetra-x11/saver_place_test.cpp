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

// The line and the frame on screen are tested with the program; here only a
// window too low for both.
TEST(NoticeLine, AWindowTooLowForBothKeepsTheFrameWhole) {
    const Rect low{0, 0, 600, kFrameHeight + 5};
    EXPECT_EQ(AboveNotice(low, 21).bottom, low.bottom);
    EXPECT_EQ(AboveNotice({0, 0, 600, kFrameHeight + 21}, 21).bottom, kFrameHeight);
}

}  // namespace
}  // namespace lumetra::x11
