#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/bmp_file.h"
#include "tests/support/files.h"

namespace lumetra::test {
namespace {

constexpr Rgb kPurple{128, 0, 128};
constexpr int kIconSize = 16;

class TargetIcons : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_strip = std::make_unique<BmpFile>(BmpFile::Load("target_icons.bmp")); }
    static void TearDownTestSuite() { s_strip.reset(); }
    static Rgb IconPixel(int icon, int x, int y) { return s_strip->At(icon * kIconSize + x, y); }
    static std::unique_ptr<BmpFile> s_strip;
};
std::unique_ptr<BmpFile> TargetIcons::s_strip;

TEST_F(TargetIcons, StripOfEightSixteenPixelIconsAtFourBits) {
    EXPECT_EQ(s_strip->Width(), 8 * kIconSize);
    EXPECT_EQ(s_strip->Height(), kIconSize);
    EXPECT_EQ(s_strip->BitCount(), 4);
}

// The purple is in the table exactly once and nothing else in the table is
// close to it, so no icon pixel can pass for background or the reverse.
TEST_F(TargetIcons, BackgroundPurpleIsOneDistinctTableEntry) {
    const auto& table = s_strip->ColorTable();
    EXPECT_EQ(std::count(table.begin(), table.end(), kPurple), 1);
    for (const Rgb& c : table) {
        if (c == kPurple) continue;
        const int distance = std::abs(c.r - 128) + std::abs(c.g - 0) + std::abs(c.b - 128);
        EXPECT_GT(distance, 60) << int{c.r} << "," << int{c.g} << "," << int{c.b};
    }
}

// Purple only as background: every purple pixel of an icon is reached from
// the icon's edge through purple, so no icon has purple inside it.
TEST_F(TargetIcons, PurpleIsOnlyTheBackgroundAroundEachIcon) {
    for (int icon = 0; icon < 8; ++icon) {
        std::vector<bool> reached(kIconSize * kIconSize, false);
        std::vector<std::pair<int, int>> todo;
        for (int i = 0; i < kIconSize; ++i) {
            for (const auto& [x, y] : {std::pair{i, 0}, {i, kIconSize - 1}, {0, i}, {kIconSize - 1, i}}) {
                todo.emplace_back(x, y);
            }
        }
        while (!todo.empty()) {
            const auto [x, y] = todo.back();
            todo.pop_back();
            if (x < 0 || y < 0 || x >= kIconSize || y >= kIconSize) continue;
            if (reached[y * kIconSize + x] || !(IconPixel(icon, x, y) == kPurple)) continue;
            reached[y * kIconSize + x] = true;
            todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        }
        int background = 0;
        for (int y = 0; y < kIconSize; ++y) {
            for (int x = 0; x < kIconSize; ++x) {
                if (!(IconPixel(icon, x, y) == kPurple)) continue;
                ++background;
                EXPECT_TRUE(reached[y * kIconSize + x]) << "icon " << icon << " has purple inside at " << x << "," << y;
            }
        }
        EXPECT_GT(background, 0) << "icon " << icon << " has no background to be transparent";
    }
}

TEST_F(TargetIcons, EveryTypeHasItsOwnVisiblePicture) {
    for (int a = 1; a <= 7; ++a) {
        int drawn = 0;
        for (int y = 0; y < kIconSize; ++y) {
            for (int x = 0; x < kIconSize; ++x) drawn += IconPixel(a, x, y) == kPurple ? 0 : 1;
        }
        EXPECT_GE(drawn, 60) << "icon " << a << " is too faint to read";
        for (int b = a + 1; b <= 7; ++b) {
            int differing = 0;
            for (int y = 0; y < kIconSize; ++y) {
                for (int x = 0; x < kIconSize; ++x) differing += IconPixel(a, x, y) == IconPixel(b, x, y) ? 0 : 1;
            }
            EXPECT_GE(differing, 40) << "icons " << a << " and " << b << " look alike";
        }
    }
}

// ---------------------------------------------------------------------------

bool IsGreenish(const Rgb& c) {
    return c.g > c.r + 40 && c.g > c.b + 40;
}
bool IsGrey(const Rgb& c) {
    return c.r == c.g && c.g == c.b && c.r > 40 && c.r < 240;
}

int CountInCentre(const BmpFile& bmp, bool (*test)(const Rgb&)) {
    int n = 0;
    for (int y = 8; y < 28; ++y) {
        for (int x = 14; x < 34; ++x) n += test(bmp.At(x, y)) ? 1 : 0;
    }
    return n;
}

TEST(StylePictures, FrogAndRabbitOnRainbowGrounds) {
    const BmpFile hops = BmpFile::Load("style_hops.bmp");
    const BmpFile speed = BmpFile::Load("style_speed.bmp");
    for (const BmpFile* bmp : {&hops, &speed}) {
        EXPECT_EQ(bmp->Width(), 48);
        EXPECT_EQ(bmp->Height(), 32);
        EXPECT_EQ(bmp->BitCount(), 4);
        // The ground runs from red at the left edge to violet at the right.
        const Rgb left = bmp->At(0, 0);
        const Rgb right = bmp->At(47, 0);
        EXPECT_TRUE(left.r > 200 && left.g < 60 && left.b < 60);
        EXPECT_TRUE(right.b > 180 && right.r > 100 && right.g < 80);
        int changes = 0;
        for (int x = 1; x < 48; ++x) changes += bmp->At(x, 0) == bmp->At(x - 1, 0) ? 0 : 1;
        EXPECT_EQ(changes, 6) << "seven bands of colour";
    }
    // Of the 400 pixels in the centre, many are frog green in one picture and
    // rabbit grey in the other (outlines, eyes and belly take the rest).
    EXPECT_GT(CountInCentre(hops, IsGreenish), 150);
    EXPECT_LT(CountInCentre(hops, IsGrey), 20);
    EXPECT_GT(CountInCentre(speed, IsGrey), 150);
    EXPECT_LT(CountInCentre(speed, IsGreenish), 60);
}

// ---------------------------------------------------------------------------

TEST(SaverIcon, HoldsSixteenThirtyTwoAndFortyEightPixelImages) {
    const std::vector<IconImage> images = ReadIcon(ReadWholeFile(ResourcePath("lumetra.ico")));
    ASSERT_EQ(images.size(), 3U);
    EXPECT_EQ(images[0].size, 16);
    EXPECT_EQ(images[1].size, 32);
    EXPECT_EQ(images[2].size, 48);
    for (const IconImage& image : images) {
        const int n = image.size;
        const auto side = static_cast<std::size_t>(n);
        const auto at = [side](std::size_t x, std::size_t y) { return y * side + x; };
        // Round: the corners are see-through, the middle is solid.
        EXPECT_TRUE(image.transparent[at(0, 0)]) << n;
        EXPECT_TRUE(image.transparent[at(side - 1, side - 1)]) << n;
        EXPECT_FALSE(image.transparent[at(side / 2, side / 2)]) << n;
        int colours = 0;
        std::vector<Rgb> seen;
        for (std::size_t i = 0; i < image.colors.size(); ++i) {
            // The AND mask and the alpha channel agree.
            EXPECT_EQ(image.transparent[i], image.alpha[i] == 0) << n << " pixel " << i;
            if (!image.transparent[i] && std::find(seen.begin(), seen.end(), image.colors[i]) == seen.end()) {
                seen.push_back(image.colors[i]);
                ++colours;
            }
        }
        EXPECT_GE(colours, 6) << "a coloured picture at " << n << " pixels";
    }
}

}  // namespace
}  // namespace lumetra::test
