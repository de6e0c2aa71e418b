// CDib::WriteBmp: exact bytes, read back by ImageMagick as an independent
// reader wherever it is installed.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "imaging/dib.h"
#include "tests/imaging/test_support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

using test::CTempFolder;
using test::ReadWholeFile;
using test::U16At;
using test::U32At;

void WriteFile(CDib& dib, const std::string& path) {
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite)) << path;
    dib.WriteBmp(&file);
    file.Close();
}

// A recognisable picture: every pixel's colour follows from its position.
ColorRef PatternAt(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 3),
               static_cast<std::uint8_t>(x ^ y));
}

void Paint24(CDib& dib) {
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            std::uint8_t* p = dib.GetPixelAddress(x, y);
            const ColorRef c = PatternAt(x, y);
            p[0] = BlueOf(c);
            p[1] = GreenOf(c);
            p[2] = RedOf(c);
        }
    }
}

void ExpectPixelsReadBack(const std::string& path, int width, int height, ColorRef (*expected)(int, int)) {
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent reader";
    const auto pixels = test::PixelsByImageMagick(path, width, height);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ColorRef got = pixels[static_cast<std::size_t>(y) * width + x];
            if (got != expected(x, y) && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(WriteBmp, FrameFileHasTheExactHeaders) {
    CTempFolder dir;
    CDib frame;
    frame.Create(516, 310, 24);
    Paint24(frame);
    WriteFile(frame, dir.File("frame.bmp"));
    const auto bytes = ReadWholeFile(dir.File("frame.bmp"));
    ASSERT_EQ(bytes.size(), 479934U);
    const std::vector<std::uint8_t> fileHeader = {0x42, 0x4D, 0xBE, 0x52, 0x07, 0x00, 0x00,
                                                  0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00};
    EXPECT_TRUE(std::equal(fileHeader.begin(), fileHeader.end(), bytes.begin()));
    EXPECT_EQ(U32At(bytes, 14), 40U);
    EXPECT_EQ(U32At(bytes, 18), 516U);
    EXPECT_EQ(U32At(bytes, 22), 310U);
    EXPECT_EQ(U16At(bytes, 26), 1);
    EXPECT_EQ(U16At(bytes, 28), 24);
    EXPECT_EQ(U32At(bytes, 30), 0U);
    EXPECT_EQ(U32At(bytes, 34), 479880U);
    for (std::size_t off : {38U, 42U, 46U, 50U}) EXPECT_EQ(U32At(bytes, off), 0U) << off;
    // The first row in the file is the bottom of the picture.
    const ColorRef bottomLeft = PatternAt(0, 309);
    EXPECT_EQ(bytes[54], BlueOf(bottomLeft));
    const ColorRef topLeft = PatternAt(0, 0);
    EXPECT_EQ(bytes[478386], BlueOf(topLeft));
    EXPECT_EQ(bytes[478387], GreenOf(topLeft));
    EXPECT_EQ(bytes[478388], RedOf(topLeft));
    for (int y = 0; y < 310; ++y) {
        ASSERT_EQ(std::memcmp(bytes.data() + 54 + (309 - y) * 1548, frame.Row(y).data(), 1548), 0) << y;
    }
}

TEST(WriteBmp, FrameReadsBackInImageMagick) {
    CTempFolder dir;
    CDib frame;
    frame.Create(516, 310, 24);
    Paint24(frame);
    WriteFile(frame, dir.File("frame.bmp"));
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent reader";
    EXPECT_EQ(test::Identify(dir.File("frame.bmp")), "516 310 8 DirectClass sRGB ");
    ExpectPixelsReadBack(dir.File("frame.bmp"), 516, 310, PatternAt);
}

TEST(WriteBmp, OddWidthsPadEveryRow) {
    CTempFolder dir;
    for (int width : {1, 2, 3, 5, 7}) {
        CDib dib;
        dib.Create(width, 3, 24);
        Paint24(dib);
        // Fill bytes carry no meaning but are written as they lie.
        const std::string path = dir.File("odd" + std::to_string(width) + ".bmp");
        WriteFile(dib, path);
        const auto bytes = ReadWholeFile(path);
        ASSERT_EQ(bytes.size(), 54U + 3 * dib.Stride());
        EXPECT_EQ(dib.Stride() % 4, 0);
        if (test::HaveImageMagick()) {
            EXPECT_EQ(test::Identify(path), std::to_string(width) + " 3 8 DirectClass sRGB ");
            ExpectPixelsReadBack(path, width, 3, PatternAt);
        }
    }
}

TEST(WriteBmp, SameImageTwiceGivesIdenticalFiles) {
    CTempFolder dir;
    CDib dib;
    dib.Create(33, 17, 24);
    Paint24(dib);
    WriteFile(dib, dir.File("a.bmp"));
    WriteFile(dib, dir.File("b.bmp"));
    const auto a = ReadWholeFile(dir.File("a.bmp"));
    EXPECT_EQ(a.size(), 54U + 17 * 100);
    EXPECT_EQ(a, ReadWholeFile(dir.File("b.bmp")));
}

// A packed 4- or 8-bit image whose table maps index i to a colour of its own.
std::vector<std::uint8_t> PalettedPacked(int bits, int width, int height) {
    test::PackedLayout s;
    s.width = width;
    s.height = height;
    s.bitCount = static_cast<std::uint16_t>(bits);
    s.pelsPerMeter = 2834;
    for (int i = 0; i < (1 << bits); ++i) {
        s.table.push_back(RgbQuad{static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3),
                                  static_cast<std::uint8_t>(i), 0});
    }
    const int stride = ((width * bits + 7) / 8 + 3) & ~3;
    for (int i = 0; i < stride * height; ++i) s.rows.push_back(static_cast<std::uint8_t>(i * 37));
    return test::MakePacked(s);
}

TEST(WriteBmp, PaletteColoursBecomeTheTable) {
    CTempFolder dir;
    for (const auto& [bits, offBits] : {std::pair{4, 118U}, std::pair{8, 1078U}}) {
        const auto packed = PalettedPacked(bits, 6, 4);
        CDib dib;
        dib.CreateFromPacked(packed, 1);  // table now holds indices; colours are in the palette
        const std::string path = dir.File("pal" + std::to_string(bits) + ".bmp");
        WriteFile(dib, path);
        const auto bytes = ReadWholeFile(path);
        const std::size_t tableBytes = 4U << bits;
        ASSERT_EQ(bytes.size(), 54 + tableBytes + std::size_t(dib.Stride()) * dib.Height());
        EXPECT_EQ(U32At(bytes, 10), offBits);
        EXPECT_EQ(U32At(bytes, 2), bytes.size());
        EXPECT_EQ(U32At(bytes, 46), 1U << bits);  // biClrUsed = m_nColors
        EXPECT_EQ(dib.Header()->biClrUsed, 1U << bits);
        EXPECT_EQ(U32At(bytes, 38), 2834U);  // the block's own resolution
        // Table from the palette: blue, green, red, 0 as the block had them.
        EXPECT_TRUE(std::equal(bytes.begin() + 54, bytes.begin() + 54 + tableBytes, packed.begin() + 40));
        EXPECT_TRUE(std::equal(bytes.begin() + offBits, bytes.end(), packed.begin() + 40 + tableBytes));
        if (test::HaveImageMagick()) {
            EXPECT_EQ(test::Identify(path).substr(0, 4), "6 4 ");
            // ImageMagick must see the palette's colours at each pixel.
            const auto pixels = test::PixelsByImageMagick(path, 6, 4);
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 6; ++x) {
                    const std::uint8_t byte = *dib.GetPixelAddress(x, y);
                    const int index = bits == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 0x0F);
                    const ColorRef want = Rgb(static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(index * 3),
                                              static_cast<std::uint8_t>(255 - index));
                    EXPECT_EQ(pixels[y * 6 + x], want) << bits << " bits at " << x << "," << y;
                }
            }
        }
    }
}

TEST(WriteBmp, TableWithoutPaletteIsTheImagesOwn) {
    CTempFolder dir;
    CDib dib;
    dib.Create(17, 2, 1);                 // white 0 bits, black 1 bits, no palette
    dib.GetPixelAddress(9, 0)[0] = 0x40;  // pixel 9 of the top row is black
    WriteFile(dib, dir.File("mono.bmp"));
    const auto bytes = ReadWholeFile(dir.File("mono.bmp"));
    ASSERT_EQ(bytes.size(), 54U + 8 + 8);
    EXPECT_EQ(U32At(bytes, 10), 62U);
    const std::vector<std::uint8_t> table = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(table.begin(), table.end(), bytes.begin() + 54));
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent reader";
    ExpectPixelsReadBack(dir.File("mono.bmp"), 17, 2,
                         [](int x, int y) { return x == 9 && y == 0 ? Rgb(0, 0, 0) : Rgb(255, 255, 255); });
}

TEST(WriteBmp, NullFileOrEmptyImageWritesNothing) {
    CTempFolder dir;
    CDib dib;
    dib.Create(2, 2, 24);
    dib.WriteBmp(nullptr);  // nothing to check but that it returns
    dib.Free();
    CFile file;
    ASSERT_TRUE(file.Open(dir.File("empty.bmp"), CFile::modeCreate | CFile::modeWrite));
    dib.WriteBmp(&file);
    CDib never;
    never.WriteBmp(&file);
    file.Close();
    EXPECT_TRUE(ReadWholeFile(dir.File("empty.bmp")).empty());
}

TEST(WriteBmp, FailedWriteThrowsFileException) {
    CDib dib;
    dib.Create(64, 64, 24);
#ifdef _WIN32
    CFile file;  // never opened: every write fails
#else
    CFile file;
    ASSERT_TRUE(file.Open("/dev/full", CFile::modeWrite));
#endif
    // The rows are larger than a stdio buffer, so the failure shows in Write.
    EXPECT_THROW(
        {
            dib.WriteBmp(&file);
            file.Close();
        },
        FileException);
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

// Inside (x 5..14, y 3..8) red, outside a dark grey, on an odd-width image.
ColorRef RectanglePicture(int x, int y) {
    return x >= 5 && x <= 14 && y >= 3 && y <= 8 ? Rgb(255, 0, 0) : Rgb(40, 40, 40);
}

TEST(WriteBmp, PixelsInsideAndOutsideADrawnRectangle) {
    CTempFolder dir;
    CDib dib;
    dib.Create(21, 13, 24);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 21; ++x) {
            std::uint8_t* p = dib.GetPixelAddress(x, y);
            const ColorRef c = RectanglePicture(x, y);
            p[0] = BlueOf(c);
            p[1] = GreenOf(c);
            p[2] = RedOf(c);
        }
    }
    WriteFile(dib, dir.File("rect.bmp"));
    const auto bytes = ReadWholeFile(dir.File("rect.bmp"));
    ASSERT_EQ(bytes.size(), 54U + 13 * 64);
    // Picture row 3 is file row 9; its pixel 5 is red (blue, green, red order).
    EXPECT_EQ(bytes[54 + 9 * 64 + 15 + 2], 255);
    EXPECT_EQ(bytes[54 + 9 * 64 + 12 + 2], 40);
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent reader";
    ExpectPixelsReadBack(dir.File("rect.bmp"), 21, 13, RectanglePicture);
}

}  // namespace
}  // namespace lumetra
