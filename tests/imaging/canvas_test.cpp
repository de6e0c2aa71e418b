// CCanvas::DrawTextLine: placement for every alignment, transparency,
// clipping, and the bundled font itself.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "imaging/canvas.h"
#include "imaging/font_6x13.h"

namespace lumetra {
namespace {

constexpr ColorRef kCyan = Rgb(0, 255, 255);

// The colour every pixel has before drawing: distinct per position, so a
// stray write anywhere shows.
ColorRef Ground(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x + y + 1));
}

ColorRef At(const CDib& dib, int x, int y) {
    const std::uint8_t* p = dib.GetPixelAddress(x, y);
    return Rgb(p[2], p[1], p[0]);
}

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.Create(120, 60, 24);
        for (int y = 0; y < frame.Height(); ++y) {
            for (int x = 0; x < frame.Width(); ++x) canvas.SetPixel(x, y, Ground(x, y));
        }
        canvas.SetTextColor(kCyan);
        canvas.SetBkMode(kTransparent);
    }

    // True when glyph `c`, placed with its cell's top-left at (x0, y0), has ink at (x, y).
    static bool Ink(unsigned char c, int x0, int y0, int x, int y) {
        if (x < x0 || x >= x0 + kFontCellWidth || y < y0 || y >= y0 + kFontCellHeight) return false;
        return ((kFontGlyphs[c][y - y0] >> (kFontCellWidth - 1 - (x - x0))) & 1U) != 0;
    }

    // Checks every pixel of the frame: text colour exactly where `text`,
    // placed at (x0, y0), has ink inside `clip`; the ground everywhere else.
    void ExpectText(const std::string& text, int x0, int y0, Rect clip = {0, 0, 1 << 20, 1 << 20}) {
        int wrong = 0;
        for (int y = 0; y < frame.Height(); ++y) {
            for (int x = 0; x < frame.Width(); ++x) {
                bool ink = false;
                for (std::size_t i = 0; i < text.size() && !ink; ++i) {
                    ink = Ink(static_cast<unsigned char>(text[i]), x0 + static_cast<int>(i) * kFontCellWidth, y0, x, y);
                }
                ink = ink && x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                const ColorRef want = ink ? kCyan : Ground(x, y);
                if (At(frame, x, y) != want && wrong++ < 5) ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
        EXPECT_EQ(wrong, 0) << "'" << text << "' at " << x0 << "," << y0;
    }

    int InkCount() const {
        int n = 0;
        for (int y = 0; y < frame.Height(); ++y) {
            for (int x = 0; x < frame.Width(); ++x) n += At(frame, x, y) == kCyan ? 1 : 0;
        }
        return n;
    }

    CDib frame;
    CCanvas canvas{frame};
};

TEST_F(CanvasTest, LeftTopStartsAtTheCorner) {
    EXPECT_EQ(canvas.DrawTextLine("Ag", {10, 5, 100, 40}, kDtLeft | kDtTop | kDtSingleLine | kDtNoPrefix), 13);
    ExpectText("Ag", 10, 5);
    // The apex of this font's 'A' is its third row, third column.
    EXPECT_EQ(At(frame, 12, 7), kCyan);
    EXPECT_EQ(At(frame, 12, 6), Ground(12, 6));
}

TEST_F(CanvasTest, CentreAndVerticalCentre) {
    // Width 100, text 18: 10 + 82 / 2 = 51. Height 18: 20 + 5 / 2 = 22.
    EXPECT_EQ(canvas.DrawTextLine("123", {10, 20, 110, 38}, kDtCenter | kDtVCenter | kDtSingleLine), 15);
    ExpectText("123", 51, 22);
}

TEST_F(CanvasTest, CentreTruncatesTowardZeroWhenTheTextIsWider) {
    // Width 11, text 18: (11 - 18) / 2 = -3, not -4.
    canvas.DrawTextLine("abc", {40, 10, 51, 40}, kDtCenter | kDtNoClip);
    ExpectText("abc", 37, 10);
}

TEST_F(CanvasTest, RightAndBottom) {
    // As the legend's low end: right edge 113, bottom 36.
    EXPECT_EQ(canvas.DrawTextLine("30ms", {16, 15, 113, 36}, kDtRight | kDtBottom | kDtSingleLine | kDtNoPrefix), 21);
    ExpectText("30ms", 113 - 24, 36 - 13);
}

TEST_F(CanvasTest, RightTopAndLeftBottom) {
    canvas.DrawTextLine("600ms", {16, 29, 113, 50}, kDtRight | kDtTop);
    canvas.DrawTextLine("host", {0, 0, 40, 25}, kDtLeft | kDtBottom);
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            bool ink = false;
            for (int i = 0; i < 5; ++i) ink = ink || Ink(static_cast<unsigned char>("600ms"[i]), 83 + 6 * i, 29, x, y);
            for (int i = 0; i < 4; ++i) ink = ink || Ink(static_cast<unsigned char>("host"[i]), 6 * i, 12, x, y);
            ASSERT_EQ(At(frame, x, y), ink ? kCyan : Ground(x, y)) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, TransparentLeavesTheGroundBetweenStrokes) {
    canvas.DrawTextLine("HOH", {30, 30, 60, 43}, kDtLeft);
    // Inside 'O' there is ground, and so between the bars of 'H'.
    int ground = 0;
    for (int y = 30; y < 43; ++y) {
        for (int x = 30; x < 48; ++x) ground += At(frame, x, y) == Ground(x, y) ? 1 : 0;
    }
    EXPECT_GT(ground, 0);
    EXPECT_GT(InkCount(), 0);
    ExpectText("HOH", 30, 30);
}

TEST_F(CanvasTest, OpaqueFillsTheCells) {
    canvas.SetBkMode(kOpaque);
    canvas.SetBkColor(Rgb(1, 2, 3));
    canvas.DrawTextLine("o", {0, 0, 6, 13}, kDtLeft);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(At(frame, x, y), Ink('o', 0, 0, x, y) ? kCyan : Rgb(1, 2, 3)) << x << "," << y;
        }
    }
    EXPECT_EQ(At(frame, 6, 0), Ground(6, 0));
    EXPECT_EQ(canvas.SetBkMode(7), 0);  // refused
    EXPECT_EQ(canvas.SetBkMode(kTransparent), kOpaque);
}

TEST_F(CanvasTest, AmpersandIsDrawnAsItself) {
    canvas.DrawTextLine("a&&b", {0, 0, 100, 13}, kDtLeft);
    ExpectText("a&&b", 0, 0);
    EXPECT_NE(kFontGlyphs['&'], kFontGlyphs[0x01]);
}

TEST_F(CanvasTest, EmptyTextDrawsNothing) {
    EXPECT_EQ(canvas.DrawTextLine("", {0, 0, 100, 40}, kDtCenter | kDtVCenter), 0);
    EXPECT_EQ(InkCount(), 0);
    ExpectText("", 0, 0);
}

TEST_F(CanvasTest, TextOverflowingItsRectangleIsClippedThere) {
    canvas.DrawTextLine("overflowing", {20, 10, 44, 30}, kDtLeft | kDtVCenter);
    ExpectText("overflowing", 20, 13, {20, 10, 44, 30});
}

TEST_F(CanvasTest, NoClipDrawsPastTheRectangle) {
    canvas.DrawTextLine("overflowing", {20, 10, 44, 30}, kDtLeft | kDtVCenter | kDtNoClip);
    ExpectText("overflowing", 20, 13);
}

TEST_F(CanvasTest, ClippedAtAllFourFrameEdges) {
    canvas.DrawTextLine("WMW", {-8, -5, 30, 20}, kDtLeft);                            // left and top
    canvas.DrawTextLine("WMW", {100, 50, 140, 70}, kDtLeft);                          // right and bottom
    canvas.DrawTextLine("MMMMMMMMMMMMMMMMMMMMMMMM", {-100, 25, 200, 38}, kDtCenter);  // both sides
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            bool ink = false;
            for (int i = 0; i < 3; ++i) {
                const auto c = static_cast<unsigned char>("WMW"[i]);
                ink = ink || Ink(c, -8 + 6 * i, -5, x, y) || Ink(c, 100 + 6 * i, 50, x, y);
            }
            for (int i = 0; i < 24; ++i) ink = ink || Ink('M', -22 + 6 * i, 25, x, y);  // -100 + (300 - 144) / 2
            ASSERT_EQ(At(frame, x, y), ink ? kCyan : Ground(x, y)) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, ExtremeRectanglesDoNotOverflow) {
    // Width 2^32 - 1: INT_MIN + (4294967295 - 6) / 2 = -4; likewise -7 down.
    canvas.DrawTextLine("x", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kDtCenter | kDtVCenter);
    canvas.DrawTextLine("x", {INT_MAX, INT_MAX, INT_MIN, INT_MIN}, kDtRight | kDtBottom | kDtNoClip);
    canvas.DrawTextLine("x", {INT_MIN, 0, INT_MIN + 1, 13}, kDtLeft | kDtNoClip);
    canvas.DrawTextLine("x", {INT_MAX - 1, 0, INT_MAX, 13}, kDtLeft | kDtNoClip);
    ExpectText("x", -4, -7);
}

TEST_F(CanvasTest, LongTextDrawsOnlyWhatIsVisible) {
    const std::string longText(1 << 20, 'W');
    canvas.DrawTextLine(longText, {0, 0, 120, 13}, kDtRight);
    ExpectText(std::string(20, 'W'), 0, 0);
}

TEST_F(CanvasTest, InvertedRectangleDrawsNothingUnlessUnclipped) {
    canvas.DrawTextLine("abc", {50, 40, 10, 0}, kDtLeft);
    EXPECT_EQ(InkCount(), 0);
    canvas.DrawTextLine("abc", {50, 40, 10, 0}, kDtLeft | kDtNoClip);
    ExpectText("abc", 50, 40);
}

TEST(Canvas, OnlyReady24BitImagesAreDrawnOn) {
    CDib empty;
    CCanvas onEmpty(empty);
    EXPECT_FALSE(onEmpty.CanDraw());
    EXPECT_EQ(onEmpty.DrawTextLine("abc", {0, 0, 50, 20}, kDtLeft), 13);
    onEmpty.SetPixel(0, 0, 0);
    CDib paletted;
    paletted.Create(40, 20, 8);
    CCanvas onPaletted(paletted);
    onPaletted.DrawTextLine("abc", {0, 0, 40, 20}, kDtLeft);
    for (int y = 0; y < paletted.Height(); ++y) {
        for (const std::uint8_t byte : paletted.Row(y)) ASSERT_EQ(byte, 0);
    }
}

TEST(Font, EveryPrintableAsciiCharacterHasItsOwnInkedGlyph) {
    for (int c = 0x21; c <= 0x7E; ++c) {
        bool inked = false;
        for (std::uint8_t row : kFontGlyphs[c]) inked = inked || row != 0;
        EXPECT_TRUE(inked) << c;
        for (int d = 0x21; d < c; ++d) EXPECT_NE(kFontGlyphs[c], kFontGlyphs[d]) << c << " vs " << d;
        EXPECT_NE(kFontGlyphs[c], kFontGlyphs[0x01]) << c;
    }
    for (std::uint8_t row : kFontGlyphs[' ']) EXPECT_EQ(row, 0);
    // Rows use only the cell's 6 columns.
    for (const FontGlyph& g : kFontGlyphs) {
        for (std::uint8_t row : g) ASSERT_EQ(row & ~0x3FU, 0);
    }
}

TEST(Font, BytesWithoutACharacterDrawTheBox) {
    for (int c : {0x00, 0x09, 0x0A, 0x1F, 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(kFontGlyphs[c], kFontGlyphs[0x01]) << c;
    }
    EXPECT_NE(kFontGlyphs[0x80], kFontGlyphs[0x01]);  // the euro sign of the 8-bit code page
    EXPECT_NE(kFontGlyphs[0xE9], kFontGlyphs['e']);   // e acute
}

}  // namespace
}  // namespace lumetra
