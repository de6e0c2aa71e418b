// CDib::Create, pixel addressing, the colour table and Free.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/exceptions.h"
#include "imaging/dib.h"
#include "imaging/dib_layout.h"
#include "tests/imaging/test_support.h"

namespace lumetra {
namespace {

const std::uint8_t* BlockBytes(const CDib& dib) {
    return reinterpret_cast<const std::uint8_t*>(dib.Header());
}

const std::uint8_t* TableBytes(const CDib& dib) {
    return reinterpret_cast<const std::uint8_t*>(dib.Colors().data());
}

// The bottom row of the picture, the first in memory.
const std::uint8_t* BottomRow(const CDib& dib) {
    return dib.Row(dib.Height() - 1).data();
}

// Where the rows start without a drawing context: behind header and table.
const std::uint8_t* RowsInBlock(const CDib& dib) {
    return BlockBytes(dib) + 40 + 4 * dib.Colors().size();
}

std::uint16_t TableWord(const CDib& dib, int i) {
    std::uint16_t w = 0;
    std::memcpy(&w, TableBytes(dib) + 2 * i, 2);
    return w;
}

// Leaves `dib` empty with its index mode off: a load without the request
// turns it off, and Free keeps it.
void TurnIndexModeOff(CDib& dib) {
    test::PackedLayout tiny;  // 1 x 1 at 24 bits
    tiny.rows = {0, 0, 0, 0};
    dib.CreateFromPacked(test::MakePacked(tiny), 0);
    dib.Free();
    ASSERT_FALSE(dib.UsesPaletteIndices());
}

TEST(DibCreate, FrameSizedImageCounts) {
    CDib dib;
    dib.Create(516, 310, 24);
    EXPECT_EQ(dib.Stride(), 1548);
    EXPECT_TRUE(dib.Colors().empty());
    ASSERT_NE(dib.Header(), nullptr);
    EXPECT_EQ(dib.Header()->biSizeImage, 479880U);
    EXPECT_EQ(dib.Header()->biClrUsed, 0U);
    EXPECT_EQ(dib.Header()->biSize, 40U);
    EXPECT_EQ(dib.Header()->biPlanes, 1);
    EXPECT_EQ(dib.Header()->biCompression, 0U);
    EXPECT_EQ(dib.Width(), 516);
    EXPECT_EQ(dib.Height(), 310);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.GetDC(), nullptr);
    // Without a drawing context the rows follow the header in one block.
    EXPECT_EQ(dib.HeaderBlockSize(), 479920U);
    EXPECT_EQ(BottomRow(dib), BlockBytes(dib) + 40);
}

TEST(DibCreate, StrideRoundsRowsUpToFourBytes) {
    struct Case {
        int width, bits, stride;
    };
    for (const Case c : {Case{5, 24, 16}, Case{17, 1, 4}, Case{1, 24, 4}, Case{33, 1, 8}, Case{3, 4, 4}, Case{9, 4, 8},
                         Case{7, 8, 8}, Case{3, 16, 8}, Case{3, 32, 12}, Case{517, 24, 1552}}) {
        CDib dib;
        dib.Create(c.width, 3, c.bits);
        EXPECT_EQ(dib.Stride(), c.stride) << c.width << " x " << c.bits;
        EXPECT_EQ(dib.Header()->biSizeImage, 3U * c.stride);
        EXPECT_EQ(dib.Row(0).size(), std::size_t(c.stride));
    }
}

TEST(DibCreate, OneBitTableIsWhiteThenBlack) {
    CDib dib;
    dib.Create(17, 2, 1);
    ASSERT_EQ(dib.Colors().size(), 2U);
    const std::uint8_t expected[8] = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(TableBytes(dib), expected, 8), 0);
    EXPECT_EQ(BottomRow(dib), BlockBytes(dib) + 40 + 8);
    EXPECT_EQ(dib.HeaderBlockSize(), 40U + 8 + 8);
}

TEST(DibCreate, EightBitTableHoldsIdentityIndices) {
    CDib dib;
    TurnIndexModeOff(dib);
    dib.Create(4, 4, 8);
    EXPECT_TRUE(dib.UsesPaletteIndices());
    EXPECT_EQ(dib.Colors().size(), 256U);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(TableWord(dib, i), i);
    // The second half of the 1024-byte table is left alone (zero here).
    for (int i = 512; i < 1024; ++i) ASSERT_EQ(TableBytes(dib)[i], 0) << i;
    EXPECT_EQ(BottomRow(dib), BlockBytes(dib) + 40 + 1024);
}

TEST(DibCreate, OtherSmallDepthsForceIndexMode) {
    for (int bits : {2, 3, 5, 6, 7}) {
        CDib dib;
        TurnIndexModeOff(dib);
        dib.Create(8, 1, bits);
        EXPECT_TRUE(dib.UsesPaletteIndices()) << bits;
        EXPECT_EQ(dib.Colors().size(), 1U << bits);
        EXPECT_EQ(TableWord(dib, (1 << bits) - 1), (1 << bits) - 1);
    }
}

TEST(DibCreate, FourBitTableIsLeftForTheCaller) {
    CDib dib;
    TurnIndexModeOff(dib);
    dib.Create(3, 3, 4);
    EXPECT_FALSE(dib.UsesPaletteIndices());  // not forced
    EXPECT_EQ(dib.Colors().size(), 16U);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(TableBytes(dib)[i], 0);
}

TEST(DibCreate, DeepImagesHaveNoTable) {
    for (int bits : {16, 24, 32}) {
        CDib dib;
        dib.Create(2, 2, bits);
        EXPECT_TRUE(dib.Colors().empty());
        EXPECT_EQ(BottomRow(dib), BlockBytes(dib) + 40);
        EXPECT_EQ(dib.MakePalette(kPcNoCollapse, 0), nullptr);
    }
}

TEST(DibCreate, NewPixelsAreZero) {
    CDib dib;
    dib.Create(7, 5, 24);
    for (int y = 0; y < dib.Height(); ++y) {
        for (const std::uint8_t byte : dib.Row(y)) ASSERT_EQ(byte, 0);
    }
}

TEST(DibCreate, ImpossibleImagesThrowTheMemoryException) {
    struct Case {
        int w, h, bits;
    };
    for (const Case c : {Case{0, 1, 24}, Case{1, 0, 24}, Case{-5, 1, 24}, Case{1, -1, 24}, Case{1, 1, 0},
                         Case{1, 1, 12}, Case{1, 1, 33}, Case{1, 1, -8}, Case{70000, 70000, 32},
                         Case{2147483647, 1, 32}, Case{2147483647, 2147483647, 1}}) {
        CDib dib;
        EXPECT_THROW(dib.Create(c.w, c.h, c.bits), MemoryException) << c.w << "x" << c.h << "x" << c.bits;
        EXPECT_TRUE(dib.IsEmpty());
    }
    CDib ready;
    ready.Create(3, 2, 24);
    EXPECT_THROW(ready.Create(70000, 70000, 32), MemoryException);
    EXPECT_EQ(ready.Width(), 3);  // refused before anything was released
    EXPECT_TRUE(ready.HasPixels());
}

TEST(DibLayout, CountsAreCheckedAgainstThe32BitFields) {
    // 40 + stride x height just below 2^31 is still described exactly.
    const auto largest = ComputeDibLayout(1, 536870901, 32);
    ASSERT_TRUE(largest.has_value());
    EXPECT_EQ(largest->totalSize, 40 + 4 * 536870901);
    EXPECT_FALSE(ComputeDibLayout(1, 536870902, 32).has_value());   // 40 + 2147483608 > 2^31 - 1
    EXPECT_FALSE(ComputeDibLayout(2147483647, 1, 24).has_value());  // the row alone overflows
    // The largest sizes a header can claim: stride x height must not overflow on the way.
    EXPECT_FALSE(ComputeDibLayout(2147483647, 2147483647, 32).has_value());
    const auto table = ComputeDibLayout(1, 1, 8);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->totalSize, 40 + 1024 + 4);
}

TEST(DibCreate, SecondCreateReplacesTheFirst) {
    CDib dib;
    dib.Create(4, 4, 8);
    dib.Create(5, 2, 24);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_TRUE(dib.Colors().empty());
    EXPECT_EQ(dib.HeaderBlockSize(), 40U + 16 * 2);
}

TEST(DibAddress, FrameExamples) {
    CDib dib;
    dib.Create(516, 310, 24);
    EXPECT_EQ(dib.GetPixelAddress(0, 0), RowsInBlock(dib) + 478332);
    EXPECT_EQ(dib.GetPixelAddress(515, 309), RowsInBlock(dib) + 1545);
    EXPECT_EQ(dib.GetPixelAddress(0, 309), RowsInBlock(dib));  // top row of memory = bottom of picture
    EXPECT_EQ(dib.GetPixelAddress(10, 100), RowsInBlock(dib) + 209 * 1548 + 30);
}

TEST(DibAddress, RampAndKernelShapes) {
    CDib ramp;
    ramp.Create(256, 1, 24);
    for (int i : {0, 1, 128, 255}) EXPECT_EQ(ramp.GetPixelAddress(i, 0), RowsInBlock(ramp) + 3 * i);
    CDib kernel;
    kernel.Create(256, 256, 24);
    EXPECT_EQ(kernel.GetPixelAddress(128, 128), RowsInBlock(kernel) + 127 * 768 + 384);
    EXPECT_EQ(kernel.GetPixelAddress(3, 255), RowsInBlock(kernel) + 9);
}

TEST(DibAddress, SubByteDepthsAddressTheHoldingByte) {
    CDib four;
    four.Create(9, 2, 4);
    EXPECT_EQ(four.GetPixelAddress(3, 1), RowsInBlock(four) + 1);      // bottom row starts the rows
    EXPECT_EQ(four.GetPixelAddress(3, 0), RowsInBlock(four) + 8 + 1);  // stride 8
    EXPECT_EQ(four.GetPixelAddress(8, 0), RowsInBlock(four) + 8 + 4);
    CDib one;
    one.Create(17, 3, 1);
    EXPECT_EQ(one.GetPixelAddress(9, 2), RowsInBlock(one) + 1);
    EXPECT_EQ(one.GetPixelAddress(16, 0), RowsInBlock(one) + 2 * 4 + 2);
    EXPECT_EQ(one.GetPixelAddress(7, 1), RowsInBlock(one) + 4);
}

TEST(DibRow, RowsAreStrideLongAndNothingOutsideTheImage) {
    CDib dib;
    dib.Create(5, 3, 24);
    for (int y = 0; y < 3; ++y) {
        ASSERT_EQ(dib.Row(y).size(), 16U) << y;
        EXPECT_EQ(dib.Row(y).data(), RowsInBlock(dib) + (2 - y) * 16) << y;
    }
    EXPECT_TRUE(dib.Row(-1).empty());
    EXPECT_TRUE(dib.Row(3).empty());
    dib.Row(0)[15] = 7;  // the fill byte of the top row, last in memory
    EXPECT_EQ(RowsInBlock(dib)[3 * 16 - 1], 7);
    const CDib empty;
    EXPECT_TRUE(empty.Row(0).empty());
}

TEST(DibTable, SetColorEntryStoresBlueGreenRed) {
    CDib dib;
    dib.Create(2, 2, 4);
    dib.SetColorEntry(5, Rgb(0x12, 0x34, 0x56));
    const RgbQuad q = dib.Colors()[5];
    EXPECT_EQ(q.rgbRed, 0x12);
    EXPECT_EQ(q.rgbGreen, 0x34);
    EXPECT_EQ(q.rgbBlue, 0x56);
    EXPECT_EQ(q.rgbReserved, 0);
    dib.SetColorEntry(15, 0xFF123456U);  // the high byte of a colour is not stored
    EXPECT_EQ(dib.Colors()[15].rgbReserved, 0);
    EXPECT_EQ(dib.Colors()[15].rgbRed, 0x56);
}

TEST(DibTable, SetColorEntryOutsideTheTableChangesNothing) {
    CDib dib;
    dib.Create(2, 2, 4);
    std::vector<std::uint8_t> before(BlockBytes(dib), BlockBytes(dib) + dib.HeaderBlockSize());
    dib.SetColorEntry(-1, Rgb(1, 2, 3));
    dib.SetColorEntry(16, Rgb(1, 2, 3));
    dib.SetColorEntry(1000, Rgb(1, 2, 3));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), BlockBytes(dib)));
    CDib deep;
    deep.Create(2, 2, 24);
    deep.SetColorEntry(0, Rgb(1, 2, 3));  // no table at all
    EXPECT_TRUE(deep.Colors().empty());
    CDib empty;
    empty.SetColorEntry(0, Rgb(1, 2, 3));
    empty.SetIdentityIndices();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(DibTable, FourBitPaletteHasSixteenFlaggedEntries) {
    CDib dib;
    dib.Create(2, 2, 4);
    for (int i = 0; i < 16; ++i) dib.SetColorEntry(i, Rgb(static_cast<std::uint8_t>(i * 16), 7, 200));
    const auto palette = dib.MakePalette(kPcNoCollapse, 0);
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->GetEntryCount(), 16U);
    std::array<PaletteEntry, 16> entries{};
    ASSERT_EQ(palette->GetPaletteEntries(0, entries), 16U);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(entries[i].peRed, i * 16);
        EXPECT_EQ(entries[i].peGreen, 7);
        EXPECT_EQ(entries[i].peBlue, 200);
        EXPECT_EQ(entries[i].peFlags, kPcNoCollapse);
    }
}

TEST(DibFree, ReturnsToEmptyAndIsHarmlessTwice) {
    test::PackedLayout nine;  // 9 x 9 at 4 bits: rows of 8 bytes, a table and so a palette
    nine.width = 9;
    nine.height = 9;
    nine.bitCount = 4;
    nine.table.assign(16, RgbQuad{1, 2, 3, 0});
    nine.rows.assign(9 * 8, 0x12);
    CDib dib;
    dib.CreateFromPacked(test::MakePacked(nine), 0);
    ASSERT_NE(dib.Palette(), nullptr);
    dib.Free();
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(dib.Header(), nullptr);
    EXPECT_TRUE(dib.Colors().empty());
    EXPECT_FALSE(dib.HasPixels());
    EXPECT_TRUE(dib.Row(0).empty());
    EXPECT_EQ(dib.Palette(), nullptr);
    EXPECT_EQ(dib.HeaderBlockSize(), 0U);
    EXPECT_EQ(dib.Stride(), 8);  // kept, as is the index mode
    EXPECT_FALSE(dib.UsesPaletteIndices());
    dib.Free();
    EXPECT_TRUE(dib.IsEmpty());
    dib.Create(1, 1, 24);  // usable again
    EXPECT_EQ(dib.Stride(), 4);
}

}  // namespace
}  // namespace lumetra
