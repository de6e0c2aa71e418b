// CDib::Create, pixel addressing, the colour table and Free.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "imaging/dib.h"
#include "imaging/dib_layout.h"

namespace lumetra {
namespace {

const std::uint8_t* BlockBytes(const CDib& dib) {
    return reinterpret_cast<const std::uint8_t*>(dib.m_pHeader);
}

std::uint16_t TableWord(const CDib& dib, int i) {
    std::uint16_t w = 0;
    std::memcpy(&w, reinterpret_cast<const std::uint8_t*>(dib.m_pColors) + 2 * i, 2);
    return w;
}

TEST(DibCreate, FrameSizedImageCounts) {
    CDib dib;
    dib.Create(516, 310, 24);
    EXPECT_EQ(dib.m_nStride, 1548);
    EXPECT_EQ(dib.m_nImageSize, 479880);
    EXPECT_EQ(dib.m_nTotalSize, 479920);
    EXPECT_EQ(dib.m_nColors, 0);
    EXPECT_EQ(dib.m_pColors, nullptr);
    EXPECT_EQ(dib.m_pHeader->biSizeImage, 479880U);
    EXPECT_EQ(dib.m_pHeader->biClrUsed, 0U);
    EXPECT_EQ(dib.m_pHeader->biSize, 40U);
    EXPECT_EQ(dib.m_pHeader->biPlanes, 1);
    EXPECT_EQ(dib.m_pHeader->biCompression, 0U);
    EXPECT_EQ(dib.Width(), 516);
    EXPECT_EQ(dib.Height(), 310);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.GetDC(), nullptr);
    // Without a drawing context the rows follow the header in one block.
    EXPECT_EQ(dib.HeaderBlockSize(), 479920U);
    EXPECT_EQ(dib.m_pBits, BlockBytes(dib) + 40);
}

TEST(DibCreate, StrideRoundsRowsUpToFourBytes) {
    struct Case {
        int width, bits, stride;
    };
    for (const Case c : {Case{5, 24, 16}, Case{17, 1, 4}, Case{1, 24, 4}, Case{33, 1, 8}, Case{3, 4, 4}, Case{9, 4, 8},
                         Case{7, 8, 8}, Case{3, 16, 8}, Case{3, 32, 12}, Case{517, 24, 1552}}) {
        CDib dib;
        dib.Create(c.width, 3, c.bits);
        EXPECT_EQ(dib.m_nStride, c.stride) << c.width << " x " << c.bits;
        EXPECT_EQ(dib.m_nImageSize, 3 * c.stride);
    }
}

TEST(DibCreate, OneBitTableIsWhiteThenBlack) {
    CDib dib;
    dib.Create(17, 2, 1);
    ASSERT_NE(dib.m_pColors, nullptr);
    EXPECT_EQ(dib.m_nColors, 2);
    const std::uint8_t expected[8] = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(dib.m_pColors, expected, 8), 0);
    EXPECT_EQ(dib.m_pBits, BlockBytes(dib) + 40 + 8);
    EXPECT_EQ(dib.m_nTotalSize, 40 + 8 + 8);
}

TEST(DibCreate, EightBitTableHoldsIdentityIndices) {
    CDib dib;
    dib.m_bPalIndices = 0;
    dib.Create(4, 4, 8);
    EXPECT_NE(dib.m_bPalIndices, 0);
    EXPECT_EQ(dib.m_nColors, 256);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(TableWord(dib, i), i);
    // The second half of the 1024-byte table is left alone (zero here).
    const auto* table = reinterpret_cast<const std::uint8_t*>(dib.m_pColors);
    for (int i = 512; i < 1024; ++i) ASSERT_EQ(table[i], 0) << i;
    EXPECT_EQ(dib.m_pBits, BlockBytes(dib) + 40 + 1024);
}

TEST(DibCreate, OtherSmallDepthsForceIndexMode) {
    for (int bits : {2, 3, 5, 6, 7}) {
        CDib dib;
        dib.m_bPalIndices = 0;
        dib.Create(8, 1, bits);
        EXPECT_NE(dib.m_bPalIndices, 0) << bits;
        EXPECT_EQ(dib.m_nColors, 1 << bits);
        EXPECT_EQ(TableWord(dib, (1 << bits) - 1), (1 << bits) - 1);
    }
}

TEST(DibCreate, FourBitTableIsLeftForTheCaller) {
    CDib dib;
    dib.m_bPalIndices = 0;
    dib.Create(3, 3, 4);
    EXPECT_EQ(dib.m_bPalIndices, 0);  // not forced
    EXPECT_EQ(dib.m_nColors, 16);
    const auto* table = reinterpret_cast<const std::uint8_t*>(dib.m_pColors);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(table[i], 0);
}

TEST(DibCreate, DeepImagesHaveNoTable) {
    for (int bits : {16, 24, 32}) {
        CDib dib;
        dib.Create(2, 2, bits);
        EXPECT_EQ(dib.m_nColors, 0);
        EXPECT_EQ(dib.m_pColors, nullptr);
        EXPECT_EQ(dib.m_pBits, BlockBytes(dib) + 40);
        EXPECT_EQ(dib.MakePalette(kPcNoCollapse, 0), nullptr);
    }
}

TEST(DibCreate, NewPixelsAreZero) {
    CDib dib;
    dib.Create(7, 5, 24);
    for (int i = 0; i < dib.m_nImageSize; ++i) ASSERT_EQ(dib.m_pBits[i], 0);
}

TEST(DibCreate, BadArgumentsThrowAndLeaveTheImageEmpty) {
    struct Case {
        int w, h, bits;
    };
    for (const Case c : {Case{0, 1, 24}, Case{1, 0, 24}, Case{-5, 1, 24}, Case{1, -1, 24}, Case{1, 1, 0},
                         Case{1, 1, 12}, Case{1, 1, 33}, Case{1, 1, -8}, Case{70000, 70000, 32},
                         Case{2147483647, 1, 32}, Case{2147483647, 2147483647, 1}}) {
        CDib dib;
        EXPECT_THROW(dib.Create(c.w, c.h, c.bits), std::invalid_argument) << c.w << "x" << c.h << "x" << c.bits;
        EXPECT_TRUE(dib.IsEmpty());
    }
}

TEST(DibLayout, CountsAreCheckedAgainstThe32BitFields) {
    // 40 + stride x height just below 2^31 is still described exactly.
    const auto largest = ComputeDibLayout(1, 536870901, 32);
    ASSERT_TRUE(largest.has_value());
    EXPECT_EQ(largest->totalSize, 40 + 4 * 536870901);
    EXPECT_FALSE(ComputeDibLayout(1, 536870902, 32).has_value());   // 40 + 2147483608 > 2^31 - 1
    EXPECT_FALSE(ComputeDibLayout(2147483647, 1, 24).has_value());  // the row alone overflows
    const auto table = ComputeDibLayout(1, 1, 8);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->totalSize, 40 + 1024 + 4);
}

TEST(DibCreate, SecondCreateReplacesTheFirst) {
    CDib dib;
    dib.Create(4, 4, 8);
    dib.Create(5, 2, 24);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.m_nColors, 0);
    EXPECT_EQ(dib.m_pColors, nullptr);
    EXPECT_EQ(dib.HeaderBlockSize(), 40U + 16 * 2);
}

TEST(DibAddress, FrameExamples) {
    CDib dib;
    dib.Create(516, 310, 24);
    EXPECT_EQ(dib.GetPixelAddress(0, 0), dib.m_pBits + 478332);
    EXPECT_EQ(dib.GetPixelAddress(515, 309), dib.m_pBits + 1545);
    EXPECT_EQ(dib.GetPixelAddress(0, 309), dib.m_pBits);  // top row of memory = bottom of picture
    EXPECT_EQ(dib.GetPixelAddress(10, 100), dib.m_pBits + 209 * 1548 + 30);
}

TEST(DibAddress, RampAndKernelShapes) {
    CDib ramp;
    ramp.Create(256, 1, 24);
    for (int i : {0, 1, 128, 255}) EXPECT_EQ(ramp.GetPixelAddress(i, 0), ramp.m_pBits + 3 * i);
    CDib kernel;
    kernel.Create(256, 256, 24);
    EXPECT_EQ(kernel.GetPixelAddress(128, 128), kernel.m_pBits + 127 * 768 + 384);
    EXPECT_EQ(kernel.GetPixelAddress(3, 255), kernel.m_pBits + 9);
}

TEST(DibAddress, SubByteDepthsAddressTheHoldingByte) {
    CDib four;
    four.Create(9, 2, 4);
    EXPECT_EQ(four.GetPixelAddress(3, 1), four.m_pBits + 1);      // bottom row starts the rows
    EXPECT_EQ(four.GetPixelAddress(3, 0), four.m_pBits + 8 + 1);  // stride 8
    EXPECT_EQ(four.GetPixelAddress(8, 0), four.m_pBits + 8 + 4);
    CDib one;
    one.Create(17, 3, 1);
    EXPECT_EQ(one.GetPixelAddress(9, 2), one.m_pBits + 1);
    EXPECT_EQ(one.GetPixelAddress(16, 0), one.m_pBits + 2 * 4 + 2);
    EXPECT_EQ(one.GetPixelAddress(7, 1), one.m_pBits + 4);
}

TEST(DibTable, SetColorEntryStoresBlueGreenRed) {
    CDib dib;
    dib.Create(2, 2, 4);
    dib.SetColorEntry(5, Rgb(0x12, 0x34, 0x56));
    const RgbQuad q = dib.m_pColors[5];
    EXPECT_EQ(q.rgbRed, 0x12);
    EXPECT_EQ(q.rgbGreen, 0x34);
    EXPECT_EQ(q.rgbBlue, 0x56);
    EXPECT_EQ(q.rgbReserved, 0);
    dib.SetColorEntry(15, 0xFF123456U);  // the high byte of a colour is not stored
    EXPECT_EQ(dib.m_pColors[15].rgbReserved, 0);
    EXPECT_EQ(dib.m_pColors[15].rgbRed, 0x56);
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
    EXPECT_EQ(deep.m_pColors, nullptr);
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
    CDib dib;
    dib.Create(9, 9, 4);
    dib.m_pPalette = dib.MakePalette(0, 0);
    dib.Free();
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(dib.m_pColors, nullptr);
    EXPECT_EQ(dib.m_pBits, nullptr);
    EXPECT_EQ(dib.m_pPalette, nullptr);
    EXPECT_EQ(dib.m_nColors, 0);
    EXPECT_EQ(dib.m_nImageSize, 0);
    EXPECT_EQ(dib.m_nTotalSize, 0);
    EXPECT_EQ(dib.m_nStride, 8);  // kept, as is the index mode
    dib.Free();
    EXPECT_TRUE(dib.IsEmpty());
    dib.Create(1, 1, 24);  // usable again
    EXPECT_EQ(dib.m_nStride, 4);
}

}  // namespace
}  // namespace lumetra
