// CDib::CreateFromPacked: copies of well-formed packed bitmaps, and refusal
// of every malformed one before anything is read out of bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/exceptions.h"
#include "imaging/dib.h"
#include "tests/imaging/test_support.h"

namespace lumetra {
namespace {

using test::MakePacked;
using test::PackedLayout;

// A 3 x 2 image at 24 bits: rows of 9 bytes padded to 12, bottom row first.
PackedLayout Small24() {
    PackedLayout s;
    s.width = 3;
    s.height = 2;
    s.pelsPerMeter = 2834;
    for (int i = 0; i < 24; ++i) s.rows.push_back(static_cast<std::uint8_t>(i + 1));
    return s;
}

// A 4-bit image with 16 distinct colours: 5 x 2, rows of 3 bytes padded to 4.
PackedLayout Small4() {
    PackedLayout s;
    s.width = 5;
    s.height = 2;
    s.bitCount = 4;
    for (int i = 0; i < 16; ++i) {
        s.table.push_back(RgbQuad{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(100 + i),
                                  static_cast<std::uint8_t>(200 + i), 0});
    }
    s.rows = {0x01, 0x23, 0x40, 0x00, 0xFE, 0xDC, 0xB0, 0x00};
    return s;
}

TEST(DibPacked, TwentyFourBitsCopyHeaderAndRows) {
    const auto packed = MakePacked(Small24());
    CDib dib;
    dib.CreateFromPacked(packed, 1);
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.Stride(), 12);
    EXPECT_TRUE(dib.Colors().empty());
    EXPECT_EQ(dib.Palette(), nullptr);                                     // whatever the index request
    EXPECT_EQ(std::memcmp(dib.Row(1).data(), packed.data() + 40, 24), 0);  // bottom row first
    // The block's own fields are kept.
    EXPECT_EQ(dib.Header()->biSizeImage, 0U);
    EXPECT_EQ(dib.Header()->biXPelsPerMeter, 2834);
    // Top-left pixel lives in the last row in memory.
    EXPECT_EQ(dib.GetPixelAddress(0, 0)[0], 13);
    EXPECT_EQ(dib.GetPixelAddress(2, 1)[2], 9);
}

TEST(DibPacked, ExtraBytesBehindTheRowsAreIgnored) {
    auto packed = MakePacked(Small24());
    packed.push_back(0xEE);
    packed.push_back(0xEE);
    CDib dib;
    dib.CreateFromPacked(packed, 0);
    EXPECT_EQ(dib.Stride() * dib.Height(), 24);
    EXPECT_EQ(dib.Row(0)[11], 24);  // the last byte of the top row, last in the block
}

TEST(DibPacked, FourBitsInIndexModeGetAPaletteAndIndexTable) {
    CDib dib;
    dib.CreateFromPacked(MakePacked(Small4()), 1);
    ASSERT_NE(dib.Palette(), nullptr);
    std::array<PaletteEntry, 16> entries{};
    ASSERT_EQ(dib.Palette()->GetPaletteEntries(0, entries), 16U);
    EXPECT_EQ(entries[9].peRed, 209);
    EXPECT_EQ(entries[9].peGreen, 109);
    EXPECT_EQ(entries[9].peBlue, 9);
    EXPECT_EQ(entries[9].peFlags, kPcNoCollapse);
    std::uint16_t word = 0;
    std::memcpy(&word, std::as_bytes(dib.Colors()).data() + 2 * 11, 2);
    EXPECT_EQ(word, 11);
    EXPECT_EQ(*dib.GetPixelAddress(2, 1), 0x23);
    EXPECT_EQ(*dib.GetPixelAddress(4, 0), 0xB0);
}

TEST(DibPacked, FourBitsWithoutIndexModeKeepTheColours) {
    CDib dib;
    dib.CreateFromPacked(MakePacked(Small4()), 0);
    EXPECT_FALSE(dib.UsesPaletteIndices());
    EXPECT_EQ(dib.Colors()[3].rgbBlue, 3);
    EXPECT_EQ(dib.Colors()[3].rgbGreen, 103);
    EXPECT_EQ(dib.Colors()[3].rgbRed, 203);
    EXPECT_NE(dib.Palette(), nullptr);
}

TEST(DibPacked, ShortTableFromClrUsedIsHonoured) {
    PackedLayout s = Small4();
    s.table.resize(3);
    s.clrUsed = 3;
    const auto packed = MakePacked(s);
    CDib dib;
    dib.CreateFromPacked(packed, 0);
    ASSERT_EQ(dib.Colors().size(), 16U);
    EXPECT_EQ(dib.Colors()[2].rgbRed, 202);
    EXPECT_EQ(dib.Colors()[3].rgbRed, 0);  // entries the block lacks are black
    EXPECT_EQ(std::memcmp(dib.Row(1).data(), packed.data() + 40 + 12, 4), 0);
    EXPECT_EQ(std::memcmp(dib.Row(0).data(), packed.data() + 40 + 12 + 4, 4), 0);
}

TEST(DibPacked, OneBitTableIsTheBlocksOwn) {
    PackedLayout s;
    s.width = 9;
    s.height = 1;
    s.bitCount = 1;
    s.table = {RgbQuad{0, 0, 255, 0}, RgbQuad{255, 0, 0, 0}};
    s.rows = {0x80, 0x80, 0, 0};
    CDib dib;
    dib.CreateFromPacked(MakePacked(s), 0);
    EXPECT_EQ(dib.Colors()[0].rgbRed, 255);
    EXPECT_EQ(dib.Colors()[1].rgbBlue, 255);
    EXPECT_EQ(*dib.GetPixelAddress(8, 0), 0x80);
}

TEST(DibPacked, DeepImageWithAnOptionalTableSkipsIt) {
    PackedLayout s = Small24();
    s.clrUsed = 2;
    s.table = {RgbQuad{9, 9, 9, 0}, RgbQuad{8, 8, 8, 0}};
    CDib dib;
    dib.CreateFromPacked(MakePacked(s), 1);
    EXPECT_TRUE(dib.Colors().empty());
    EXPECT_EQ(dib.Row(1)[0], 1);
}

void ExpectRefused(const std::vector<std::uint8_t>& packed, const char* why) {
    CDib dib;
    EXPECT_THROW(dib.CreateFromPacked(packed, 1), ResourceException) << why;
    EXPECT_TRUE(dib.IsEmpty()) << why;
}

TEST(DibPacked, MalformedBlocksAreRefused) {
    PackedLayout core = Small24();
    core.headerSize = 12;
    ExpectRefused(MakePacked(core), "core header");
    PackedLayout v5 = Small24();
    v5.headerSize = 124;
    ExpectRefused(MakePacked(v5), "longer header");
    ExpectRefused({}, "empty");
    ExpectRefused({40, 0, 0}, "shorter than the size field");
    auto header = MakePacked(Small24());
    ExpectRefused({header.begin(), header.begin() + 39}, "header cut");
    ExpectRefused({header.begin(), header.end() - 1}, "rows cut");
    auto four = MakePacked(Small4());
    ExpectRefused({four.begin(), four.begin() + 40 + 63}, "table cut");
    PackedLayout rle = Small4();
    rle.compression = 2;
    ExpectRefused(MakePacked(rle), "compressed");
}

TEST(DibPacked, ImpossibleSizesAreRefused) {
    for (const auto& [w, h, bits] :
         {std::tuple{0, 2, 24}, std::tuple{3, 0, 24}, std::tuple{-3, 2, 24}, std::tuple{3, -2, 24}, std::tuple{3, 2, 0},
          std::tuple{3, 2, 2}, std::tuple{3, 2, 12}, std::tuple{3, 2, 64}, std::tuple{65536, 65536, 24},
          std::tuple{2147483647, 1, 1}}) {
        PackedLayout s = Small24();
        s.width = w;
        s.height = h;
        s.bitCount = static_cast<std::uint16_t>(bits);
        ExpectRefused(MakePacked(s), "size");
    }
    PackedLayout many = Small4();
    many.clrUsed = 17;  // more than 4 bits can index
    ExpectRefused(MakePacked(many), "colour count");
    PackedLayout huge = Small24();
    huge.clrUsed = 0xFFFFFFFFU;
    ExpectRefused(MakePacked(huge), "table beyond the block");
}

TEST(DibPacked, RefusedLoadLeavesTheStorageButTakesTheIndexRequest) {
    CDib dib;
    dib.CreateFromPacked(MakePacked(Small4()), 0);
    const std::uint8_t* bits = dib.Row(0).data();
    const RgbQuad third = dib.Colors()[3];
    PackedLayout bad = Small24();
    bad.headerSize = 12;
    EXPECT_THROW(dib.CreateFromPacked(MakePacked(bad), 1), ResourceException);
    EXPECT_EQ(dib.Row(0).data(), bits);
    EXPECT_EQ(dib.BitCount(), 4);
    EXPECT_EQ(dib.Colors()[3].rgbRed, third.rgbRed);  // the table is not turned into indices
    // The request is recorded before the header is looked at.
    EXPECT_TRUE(dib.UsesPaletteIndices());
    EXPECT_THROW(dib.CreateFromPacked(MakePacked(bad), 0), ResourceException);
    EXPECT_FALSE(dib.UsesPaletteIndices());
}

}  // namespace
}  // namespace lumetra
