// Scaled copies of an image: whole blocks exactly as ImageMagick's point
// sampling gives them; area averages on small cases worked out by hand and,
// on the frame's own size, within one step of ImageMagick's averaging scale.
#include "imaging/dib_scale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/dib_pixels.h"
#include "tests/support/files.h"
#include "tests/support/image_magick.h"
#include "tests/support/run_command.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "view/frame_size.h"

namespace lumetra {
namespace {

// A 24-bit image whose pixels follow from their position, with sharp edges.
void PaintPattern(CDib& dib, int width, int height) {
    dib.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = dib.GetPixelAddress(x, y);
            p[0] = static_cast<std::uint8_t>(x * 37 + y * 11);
            p[1] = static_cast<std::uint8_t>((x / 5 + y / 3) % 2 != 0 ? 255 : 0);
            p[2] = static_cast<std::uint8_t>(x ^ (y * 7));
        }
    }
}

// A one-row image of grey levels.
void PaintGreys(CDib& dib, std::initializer_list<int> levels, int height = 1) {
    dib.Create(static_cast<int>(levels.size()), height, 24);
    for (int y = 0; y < height; ++y) {
        int x = 0;
        for (const int level : levels) {
            std::uint8_t* p = dib.GetPixelAddress(x++, y);
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>(level);
        }
    }
}

std::vector<std::uint32_t> PixelsOf(const CDib& dib) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) pixels.push_back(ReadPixelColor(dib, x, y));
    }
    return pixels;
}

// The pixels ImageMagick makes of `source` with `operation` (e.g. "-sample 21x15!").
std::vector<std::uint32_t> MagickResult(CDib& source, const std::string& operation, int width, int height) {
    const test::CTempFolder folder;
    const std::string in = folder.File("in.bmp");
    const std::string out = folder.File("out.bmp");
    test::WriteAll(in, source.BmpFileBytes());
    EXPECT_TRUE(test::RunCommand("convert " + test::Quote(in) + " " + operation + " " + test::Quote(out)).ok);
    return test::PixelsByImageMagick(out, width, height);
}

int LargestChannelDifference(std::uint32_t a, std::uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8)
        largest =
            std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return largest;
}

TEST(ScaleUpByBlocks, EveryPixelIsABlockAsImageMagickSamplesIt) {
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent sampler";
    CDib source;
    PaintPattern(source, 23, 9);
    for (const int factor : {1, 2, 3, 4, 8}) {
        const std::string size = std::to_string(23 * factor) + "x" + std::to_string(9 * factor) + "!";
        const auto expected = MagickResult(source, "-sample " + size, 23 * factor, 9 * factor);
        for (const int bits : {24, 32}) {
            CDib scaled;
            ScaleUpByBlocks(source, factor, scaled, nullptr, bits);
            ASSERT_EQ(scaled.Width(), 23 * factor);
            ASSERT_EQ(scaled.Height(), 9 * factor);
            EXPECT_EQ(scaled.BitCount(), bits);
            EXPECT_EQ(PixelsOf(scaled), expected) << factor << " at " << bits << " bits";
        }
    }
}

TEST(ScaleByAreaAverage, SmallCasesWorkedOutByHand) {
    struct Case {
        const char* name;
        std::initializer_list<int> levels;
        int sourceHeight;
        int width;
        int height;
        std::vector<int> expected;  // grey levels, row by row
    };
    const Case cases[] = {
        {"HalvedPairs", {10, 20, 200, 100}, 1, 2, 1, {15, 150}},
        // Three to two: each target pixel covers one and a half source pixels.
        {"ThreeToTwo", {0, 90, 180}, 1, 2, 1, {30, 150}},
        {"HalvesRoundUp", {0, 1}, 1, 1, 1, {1}},
        {"FourRowsToOne", {8}, 4, 1, 1, {8}},
        // Two to three: the middle target pixel straddles both.
        {"Enlarged", {0, 99}, 1, 3, 1, {0, 50, 99}},
    };
    for (const Case& c : cases) {
        CDib source;
        PaintGreys(source, c.levels, c.sourceHeight);
        CDib scaled;
        ScaleByAreaAverage(source, c.width, c.height, scaled);
        std::vector<int> greys;
        for (const std::uint32_t pixel : PixelsOf(scaled)) {
            const int level = static_cast<int>(pixel & 0xFF);
            EXPECT_EQ(pixel, static_cast<std::uint32_t>(level * 0x010101)) << c.name << ": not grey";
            greys.push_back(level);
        }
        EXPECT_EQ(greys, c.expected) << c.name;
    }
}

TEST(ScaleByAreaAverage, TheFrameIntoThePreviewAsImageMagickScalesIt) {
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent scaler";
    CDib frame;
    PaintPattern(frame, kFrameWidth, kFrameHeight);
    CDib preview;
    ScaleByAreaAverage(frame, 152, 91, preview);
    ASSERT_EQ(preview.Width(), 152);
    ASSERT_EQ(preview.Height(), 91);
    const std::vector<std::uint32_t> ours = PixelsOf(preview);
    const std::vector<std::uint32_t> theirs = MagickResult(frame, "-scale 152x91!", 152, 91);
    int largest = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
        largest = std::max(largest, LargestChannelDifference(ours[i], theirs[i]));
    EXPECT_LE(largest, 1) << "rounding may differ by one step, no more";
}

TEST(ScaledCopies, ATargetOfTheRightSizeIsReusedAndBadInputEmptiesIt) {
    CDib source;
    PaintPattern(source, 10, 6);
    CDib target;
    ScaleUpByBlocks(source, 3, target);
    const std::uint8_t* storage = target.Row(0).data();
    ScaleUpByBlocks(source, 3, target);
    EXPECT_EQ(target.Row(0).data(), storage);
    ScaleByAreaAverage(source, 0, 3, target);
    EXPECT_TRUE(target.IsEmpty());
    CDib eightBit;
    eightBit.Create(10, 6, 8);
    ScaleUpByBlocks(eightBit, 2, target);
    EXPECT_TRUE(target.IsEmpty());
}

}  // namespace
}  // namespace lumetra
