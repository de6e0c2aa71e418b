#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

#include "tests/support/bmp_file.h"

namespace lumetra::test {
namespace {

constexpr int kCentre = 128;

// The falloff the renderer expects: sample by distance from the centre.
constexpr std::array<std::pair<int, int>, 20> kProfile{{
    {7, 255},  {8, 254}, {12, 248}, {16, 240}, {24, 224}, {32, 206}, {40, 187}, {48, 168}, {56, 149}, {64, 131},
    {72, 113}, {80, 94}, {88, 75},  {96, 57},  {104, 38}, {112, 22}, {120, 9},  {124, 3},  {126, 1},  {127, 0},
}};

class Kernel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_kernel = std::make_unique<BmpFile>(BmpFile::Load("kernel.bmp")); }
    static void TearDownTestSuite() { s_kernel.reset(); }
    static int Sample(int x, int y) { return s_kernel->At(x, y).b; }
    static int SampleAtOffset(int dx, int dy) { return Sample(kCentre + dx, kCentre + dy); }
    static std::unique_ptr<BmpFile> s_kernel;
};
std::unique_ptr<BmpFile> Kernel::s_kernel;

TEST_F(Kernel, HeaderIsTheResourceLayout) {
    EXPECT_EQ(s_kernel->Width(), 256);
    EXPECT_EQ(s_kernel->Height(), 256);
    EXPECT_EQ(s_kernel->BitCount(), 24);
    EXPECT_EQ(s_kernel->SizeImage(), 0U);
    EXPECT_EQ(s_kernel->XPelsPerMeter(), 2834);
    EXPECT_EQ(s_kernel->YPelsPerMeter(), 2834);
    EXPECT_EQ(s_kernel->OffBits(), 54U);
    // The loaded block is the bits plus two ignored bytes.
    EXPECT_EQ(s_kernel->TrailingBytes(), 2U);
    EXPECT_EQ(s_kernel->FileSize(), 54U + 196608U + 2U);
}

TEST_F(Kernel, EveryPixelIsGrey) {
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const Rgb c = s_kernel->At(x, y);
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
        }
    }
}

// Every pixel at exactly a listed distance: the axes, plus the other integer
// offsets at that distance (e.g. 24,32 at 40).
TEST_F(Kernel, ProfileHoldsAtEveryExactListedRadius) {
    for (const auto& [radius, expected] : kProfile) {
        int directions = 0;
        for (int dx = -radius; dx <= radius; ++dx) {
            for (int dy = -radius; dy <= radius; ++dy) {
                if (dx * dx + dy * dy != radius * radius) continue;
                if (std::abs(kCentre + dx) > 255 || std::abs(kCentre + dy) > 255) continue;
                ++directions;
                EXPECT_NEAR(SampleAtOffset(dx, dy), expected, 1) << "radius " << radius << " at " << dx << "," << dy;
            }
        }
        EXPECT_GE(directions, 4) << radius;
    }
}

// Between listed radii the sample stays between their values, in sixteen
// directions: the profile neither overshoots nor depends on the direction.
TEST_F(Kernel, SamplesBetweenListedRadiiStayBetweenTheirValuesInSixteenDirections) {
    const double kPi = std::acos(-1.0);
    for (int step = 0; step < 16; ++step) {
        const double angle = step * kPi / 8;
        for (int along = 0; along <= 126; ++along) {
            const int dx = static_cast<int>(std::lround(along * std::cos(angle)));
            const int dy = static_cast<int>(std::lround(along * std::sin(angle)));
            const double r = std::hypot(dx, dy);
            if (r <= 7) {
                EXPECT_EQ(SampleAtOffset(dx, dy), 255) << dx << "," << dy;
                continue;
            }
            const auto upper =
                std::find_if(kProfile.begin(), kProfile.end(), [r](const auto& p) { return p.first >= r; });
            ASSERT_NE(upper, kProfile.end());
            const auto lower = upper == kProfile.begin() ? upper : upper - 1;
            const int s = SampleAtOffset(dx, dy);
            EXPECT_LE(s, lower->second + 1) << "r " << r << " at " << dx << "," << dy;
            EXPECT_GE(s, upper->second - 1) << "r " << r << " at " << dx << "," << dy;
        }
    }
}

TEST_F(Kernel, FallsMonotonicallyAlongTheAxes) {
    for (const auto& [ux, uy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        for (int d = 1; d <= 127; ++d) {
            EXPECT_LE(SampleAtOffset(d * ux, d * uy), SampleAtOffset((d - 1) * ux, (d - 1) * uy)) << ux << uy << d;
        }
    }
}

TEST_F(Kernel, IsSymmetricUnderReflectionsAndQuarterTurns) {
    for (int dy = -127; dy <= 127; ++dy) {
        for (int dx = -127; dx <= 127; ++dx) {
            const int s = SampleAtOffset(dx, dy);
            ASSERT_EQ(s, SampleAtOffset(-dx, dy)) << dx << "," << dy;
            ASSERT_EQ(s, SampleAtOffset(dx, -dy)) << dx << "," << dy;
            ASSERT_EQ(s, SampleAtOffset(dy, dx)) << dx << "," << dy;
        }
    }
}

TEST_F(Kernel, ZeroFromRadius127Outwards) {
    int inside = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int dx = x - kCentre;
            const int dy = y - kCentre;
            if (dx * dx + dy * dy >= 127 * 127) {
                ASSERT_EQ(Sample(x, y), 0) << x << "," << y;
            } else if (Sample(x, y) > 0) {
                ++inside;
            }
        }
    }
    EXPECT_GT(inside, 45000);  // nearly the whole disc carries weight
}

TEST_F(Kernel, OuterRowsAndColumnsAreZero) {
    for (int line : {0, 1, 255}) {
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(Sample(line, i), 0) << "column " << line << " row " << i;
            EXPECT_EQ(Sample(i, line), 0) << "row " << line << " column " << i;
        }
    }
}

// ---------------------------------------------------------------------------

struct TellingRow {
    int entry;
    Rgb colour;
};
constexpr std::array<TellingRow, 13> kTellingRows{{
    {0, {255, 0, 0}},
    {32, {255, 146, 0}},
    {56, {254, 255, 0}},
    {64, {227, 255, 0}},
    {96, {71, 255, 0}},
    {112, {4, 255, 0}},
    {128, {0, 255, 53}},
    {160, {0, 255, 201}},
    {176, {0, 252, 255}},
    {192, {0, 179, 255}},
    {224, {0, 17, 255}},
    {232, {6, 0, 255}},
    {255, {105, 0, 255}},
}};

double HueDegrees(const Rgb& c) {
    const int max = std::max({c.r, c.g, c.b});
    const int span = max - std::min({c.r, c.g, c.b});
    if (span == 0) return 0;
    double h = 0;
    if (max == c.r) {
        h = static_cast<double>(c.g - c.b) / span;
    } else if (max == c.g) {
        h = 2 + static_cast<double>(c.b - c.r) / span;
    } else {
        h = 4 + static_cast<double>(c.r - c.g) / span;
    }
    return std::fmod(h * 60 + 360, 360);
}

class Ramp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_ramp = std::make_unique<BmpFile>(BmpFile::Load("color_ramp.bmp")); }
    static void TearDownTestSuite() { s_ramp.reset(); }
    static Rgb Entry(int i) { return s_ramp->At(i, 0); }
    static std::unique_ptr<BmpFile> s_ramp;
};
std::unique_ptr<BmpFile> Ramp::s_ramp;

TEST_F(Ramp, HeaderIsTheResourceLayout) {
    EXPECT_EQ(s_ramp->Width(), 256);
    EXPECT_EQ(s_ramp->Height(), 1);
    EXPECT_EQ(s_ramp->BitCount(), 24);
    EXPECT_EQ(s_ramp->Stride(), 768);
    EXPECT_EQ(s_ramp->TrailingBytes(), 2U);
    EXPECT_EQ(s_ramp->FileSize(), 54U + 768U + 2U);
}

TEST_F(Ramp, TellingRowsAreExact) {
    for (const TellingRow& row : kTellingRows) {
        const Rgb c = Entry(row.entry);
        EXPECT_EQ(c, row.colour) << "entry " << row.entry << " is " << int{c.r} << "," << int{c.g} << "," << int{c.b};
    }
}

TEST_F(Ramp, EveryEntryIsFullySaturatedAndBright) {
    for (int i = 0; i < 256; ++i) {
        const Rgb c = Entry(i);
        EXPECT_EQ(std::max({c.r, c.g, c.b}), 255) << i;
        EXPECT_EQ(std::min({c.r, c.g, c.b}), 0) << i;
    }
}

TEST_F(Ramp, HueRisesSmoothlyFromRedToViolet) {
    EXPECT_DOUBLE_EQ(HueDegrees(Entry(0)), 0.0);
    EXPECT_NEAR(HueDegrees(Entry(255)), 264.0, 1.0);
    for (int i = 1; i < 256; ++i) {
        const double step = HueDegrees(Entry(i)) - HueDegrees(Entry(i - 1));
        EXPECT_GT(step, 0.2) << "entry " << i;  // rising, never flat
        EXPECT_LT(step, 2.0) << "entry " << i;  // no jumps
    }
}

}  // namespace
}  // namespace lumetra::test
