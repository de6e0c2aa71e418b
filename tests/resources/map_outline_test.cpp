#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/support/bmp_file.h"
#include "view/frame_size.h"

namespace lumetra::test {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

class MapOutline : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_map = std::make_unique<BmpFile>(BmpFile::Load("map_outline.bmp")); }
    static void TearDownTestSuite() { s_map.reset(); }
    static bool IsLand(int x, int y) { return s_map->At(x, y) == kWhite; }
    static std::unique_ptr<BmpFile> s_map;
};
std::unique_ptr<BmpFile> MapOutline::s_map;

TEST_F(MapOutline, Is516By310AtFourBits) {
    EXPECT_EQ(s_map->Width(), kFrameWidth);
    EXPECT_EQ(s_map->Height(), kFrameHeight);
    EXPECT_EQ(s_map->BitCount(), 4);
    EXPECT_EQ(s_map->ColorTable().size(), 16U);
    EXPECT_EQ(s_map->Stride(), 260);
}

TEST_F(MapOutline, UsesOnlyWhiteAndBlack) {
    int white = 0;
    int black = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const Rgb c = s_map->At(x, y);
            ASSERT_TRUE(c == kWhite || c == kBlack) << x << "," << y;
            ++(c == kWhite ? white : black);
        }
    }
    // The lower 48 fill a good part of their box, not all of it.
    EXPECT_GT(white, 480 * 290 / 2);
    EXPECT_LT(white, 480 * 290);
}

TEST_F(MapOutline, LandSpansExactlyItsBox) {
    int left = kFrameWidth, right = -1, top = kFrameHeight, bottom = -1;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (!IsLand(x, y)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_EQ(left, 7);
    EXPECT_EQ(right, 486);
    EXPECT_EQ(top, 12);
    EXPECT_EQ(bottom, 301);
}

TEST_F(MapOutline, OutermostRowsAndColumnsAreBlack) {
    for (int x = 0; x < kFrameWidth; ++x) {
        EXPECT_EQ(s_map->At(x, 0), kBlack) << x;
        EXPECT_EQ(s_map->At(x, 309), kBlack) << x;
    }
    for (int y = 0; y < kFrameHeight; ++y) {
        EXPECT_EQ(s_map->At(0, y), kBlack) << y;
        EXPECT_EQ(s_map->At(515, y), kBlack) << y;
    }
}

TEST_F(MapOutline, KansasIsLandAndTheWaterIsNot) {
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) EXPECT_TRUE(IsLand(230 + dx, 155 + dy)) << "central Kansas";
    }
    EXPECT_FALSE(IsLand(314, 283)) << "Gulf of Mexico";
    EXPECT_FALSE(IsLand(327, 98)) << "Lake Michigan";
}

// Along a row through Kansas the land is cut into states by single black
// border pixels: Colorado | Kansas | Missouri.
TEST_F(MapOutline, StateBordersAreSinglePixelLinesAcrossTheLand) {
    const int y = 155;
    int x = 230;
    while (IsLand(x - 1, y)) --x;
    const int kansasWest = x;
    x = 230;
    while (IsLand(x + 1, y)) ++x;
    const int kansasEast = x;
    EXPECT_GT(kansasEast - kansasWest, 50) << "Kansas is about 66 pixels wide";
    EXPECT_LT(kansasEast - kansasWest, 80);
    EXPECT_TRUE(IsLand(kansasWest - 2, y)) << "Colorado just past a 1-pixel border";
    EXPECT_TRUE(IsLand(kansasEast + 2, y)) << "Missouri just past a 1-pixel border";

    int runs = 0;
    for (int col = 1; col < kFrameWidth; ++col) {
        if (IsLand(col, y) && !IsLand(col - 1, y)) ++runs;
    }
    EXPECT_GE(runs, 8) << "a row across the country crosses many states";
}

}  // namespace
}  // namespace lumetra::test
