// CImageList: masked drawing, clipping at every edge, and strips of the
// depths the product bitmaps use.
#include <gtest/gtest.h>

#include <climits>

#include "imaging/canvas.h"
#include "imaging/dib_pixels.h"
#include "imaging/image_list.h"
#include "tests/imaging/test_support.h"

namespace lumetra {
namespace {

constexpr ColorRef kMask = Rgb(128, 0, 128);

// Strip pixel colours: the mask on a diagonal band, else a colour that names
// its position in the strip.
ColorRef StripColor(int x, int y) {
    if ((x + y) % 3 == 0) return kMask;
    return Rgb(static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(20 + y), 200);
}

// A 24-bit strip of `count` images of 4 x 3.
void MakeStrip(CDib& strip, int count) {
    strip.Create(4 * count, 3, 24);
    CCanvas c(strip);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4 * count; ++x) c.SetPixel(x, y, StripColor(x, y));
    }
}

ColorRef Ground(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(x * 9), static_cast<std::uint8_t>(y * 11), 7);
}

class ImageListTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.Create(12, 8, 24);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 12; ++x) canvas.SetPixel(x, y, Ground(x, y));
        }
        MakeStrip(strip, 3);
        ASSERT_TRUE(list.Create(strip, 4, kMask));
    }

    // Every frame pixel: image `image` drawn at (x0, y0) where it is not the
    // mask and lies on the frame, the ground elsewhere.
    void ExpectDrawn(int image, int x0, int y0) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 12; ++x) {
                const int ix = x - x0;
                const int iy = y - y0;
                ColorRef want = Ground(x, y);
                if (ix >= 0 && ix < 4 && iy >= 0 && iy < 3) {
                    const ColorRef c = StripColor(4 * image + ix, iy);
                    if (c != kMask) want = c;
                }
                ASSERT_EQ(ReadPixelColor(frame, x, y), want) << "at " << x << "," << y;
            }
        }
    }

    CDib frame;
    CCanvas canvas{frame};
    CDib strip;
    CImageList list;
};

TEST_F(ImageListTest, MaskColourLeavesTheFrameUnchanged) {
    EXPECT_EQ(list.GetImageCount(), 3);
    EXPECT_TRUE(list.Draw(canvas, 1, 3, 2, kIldTransparent));
    ExpectDrawn(1, 3, 2);
}

TEST_F(ImageListTest, ClippedAtEachEdge) {
    for (const auto& [x, y] :
         {std::pair{-2, 1}, std::pair{10, 1}, std::pair{4, -2}, std::pair{4, 6}, std::pair{-3, -2}, std::pair{11, 7}}) {
        SetUp();
        EXPECT_TRUE(list.Draw(canvas, 2, x, y));
        ExpectDrawn(2, x, y);
    }
}

TEST_F(ImageListTest, FarOutsideDrawsNothingAndDoesNotOverflow) {
    for (const auto& [x, y] : {std::pair{INT_MIN, 0}, std::pair{INT_MAX, 0}, std::pair{0, INT_MIN},
                               std::pair{0, INT_MAX}, std::pair{-4, 0}, std::pair{12, 0}}) {
        EXPECT_TRUE(list.Draw(canvas, 0, x, y));
    }
    ExpectDrawn(0, 1000, 1000);
}

TEST_F(ImageListTest, IndexOutOfRangeDrawsNothing) {
    EXPECT_FALSE(list.Draw(canvas, -1, 0, 0));
    EXPECT_FALSE(list.Draw(canvas, 3, 0, 0));
    EXPECT_FALSE(list.Draw(canvas, INT_MAX, 0, 0));
    ExpectDrawn(0, 1000, 1000);
}

TEST_F(ImageListTest, EmptyOrDeletedListDrawsNothing) {
    list.DeleteImageList();
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_FALSE(list.Draw(canvas, 0, 0, 0));
    CImageList never;
    EXPECT_FALSE(never.Draw(canvas, 0, 0, 0));
    ExpectDrawn(0, 1000, 1000);
}

TEST_F(ImageListTest, BadStripsAreRefused) {
    CImageList other;
    EXPECT_FALSE(other.Create(strip, 0, kMask));
    EXPECT_FALSE(other.Create(strip, -4, kMask));
    EXPECT_FALSE(other.Create(strip, 13, kMask));
    CDib empty;
    EXPECT_FALSE(other.Create(empty, 4, kMask));
    EXPECT_EQ(other.GetImageCount(), 0);
    // A remainder narrower than an image holds none.
    EXPECT_TRUE(other.Create(strip, 5, kMask));
    EXPECT_EQ(other.GetImageCount(), 2);
}

TEST_F(ImageListTest, NothingIsDrawnOnAnImageWithoutPixels) {
    CDib empty;
    CCanvas onEmpty(empty);
    EXPECT_FALSE(list.Draw(onEmpty, 0, 0, 0));
}

TEST_F(ImageListTest, MaskHighByteIsIgnored) {
    CImageList other;
    ASSERT_TRUE(other.Create(strip, 4, kMask | 0xFF000000U));
    EXPECT_TRUE(other.Draw(canvas, 0, 0, 0));
    ExpectDrawn(0, 0, 0);
}

// A 4-bit strip of two 3 x 2 images: colours from a 16-entry table whose
// entry 5 is the mask colour.
std::vector<std::uint8_t> FourBitStrip() {
    test::PackedLayout s;
    s.width = 6;
    s.height = 2;
    s.bitCount = 4;
    for (int i = 0; i < 16; ++i) {
        s.table.push_back(i == 5 ? RgbQuad{128, 0, 128, 0}
                                 : RgbQuad{static_cast<std::uint8_t>(i * 10), 50, static_cast<std::uint8_t>(i), 0});
    }
    // Bottom row first: indices 1 2 5 | 3 4 5, then top row 5 6 7 | 8 5 9.
    s.rows = {0x12, 0x53, 0x45, 0x00, 0x56, 0x78, 0x59, 0x00};
    return test::MakePacked(s);
}

void ExpectFourBitIcons(const CImageList& icons) {
    CDib frame;
    frame.Create(8, 4, 24);
    CCanvas canvas(frame);
    ASSERT_EQ(icons.GetImageCount(), 2);
    ASSERT_TRUE(icons.Draw(canvas, 1, 2, 1));
    auto color = [](int index) {
        return Rgb(static_cast<std::uint8_t>(index), 50, static_cast<std::uint8_t>(index * 10));
    };
    // Image 1, top row: 8 mask 9; bottom row: 3 4 mask. The frame starts black.
    EXPECT_EQ(ReadPixelColor(frame, 2, 1), color(8));
    EXPECT_EQ(ReadPixelColor(frame, 3, 1), Rgb(0, 0, 0));
    EXPECT_EQ(ReadPixelColor(frame, 4, 1), color(9));
    EXPECT_EQ(ReadPixelColor(frame, 2, 2), color(3));
    EXPECT_EQ(ReadPixelColor(frame, 3, 2), color(4));
    EXPECT_EQ(ReadPixelColor(frame, 4, 2), Rgb(0, 0, 0));
    EXPECT_EQ(ReadPixelColor(frame, 1, 1), Rgb(0, 0, 0));
    EXPECT_EQ(ReadPixelColor(frame, 5, 2), Rgb(0, 0, 0));
}

TEST(ImageListDepths, FourBitStripWithColoursInTheTable) {
    CDib strip;
    strip.CreateFromPacked(FourBitStrip(), 0);
    CImageList icons;
    ASSERT_TRUE(icons.Create(strip, 3, kMask));
    ExpectFourBitIcons(icons);
}

TEST(ImageListDepths, FourBitStripWithColoursInThePalette) {
    CDib strip;
    strip.CreateFromPacked(FourBitStrip(), 1);  // the table now holds indices
    ASSERT_NE(strip.Palette(), nullptr);
    CImageList icons;
    ASSERT_TRUE(icons.Create(strip, 3, kMask));
    ExpectFourBitIcons(icons);
}

TEST(ImageListDepths, OneBitWhiteMaskLikeTheOutline) {
    CDib outline;
    outline.Create(9, 1, 1);   // 0 bits white, 1 bits black
    outline.Row(0)[0] = 0xA0;  // pixels 0 and 2 black
    outline.Row(0)[1] = 0x80;  // pixel 8 black
    CImageList map;
    ASSERT_TRUE(map.Create(outline, 9, Rgb(255, 255, 255)));
    CDib frame;
    frame.Create(9, 1, 24);
    CCanvas canvas(frame);
    for (int x = 0; x < 9; ++x) canvas.SetPixel(x, 0, Rgb(1, 2, 3));
    ASSERT_TRUE(map.Draw(canvas, 0, 0, 0));
    for (int x = 0; x < 9; ++x) {
        const bool black = x == 0 || x == 2 || x == 8;
        EXPECT_EQ(ReadPixelColor(frame, x, 0), black ? Rgb(0, 0, 0) : Rgb(1, 2, 3)) << x;
    }
}

TEST(ImageListDepths, SixteenAndThirtyTwoBitStrips) {
    CDib sixteen;
    sixteen.Create(2, 1, 16);
    sixteen.Row(0)[0] = 0xFF;  // 0x7FFF: white
    sixteen.Row(0)[1] = 0x7F;
    sixteen.Row(0)[2] = 0x1F;  // 0x001F: full blue
    EXPECT_EQ(ReadPixelColor(sixteen, 0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(ReadPixelColor(sixteen, 1, 0), Rgb(0, 0, 255));
    CDib deep;
    deep.Create(1, 1, 32);
    deep.Row(0)[0] = 1;
    deep.Row(0)[1] = 2;
    deep.Row(0)[2] = 3;
    EXPECT_EQ(ReadPixelColor(deep, 0, 0), Rgb(3, 2, 1));
}

TEST(ImageListDepths, MissingResourceGivesAnEmptyList) {
    CImageList list;
    EXPECT_FALSE(list.Create(std::uint16_t{65000}, 16, 1, kMask));
    EXPECT_EQ(list.GetImageCount(), 0);
}

}  // namespace
}  // namespace lumetra
