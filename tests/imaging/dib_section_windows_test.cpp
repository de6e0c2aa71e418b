// With a reference drawing context the pixels live in a real GDI DIB section
// in the image's own memory context: GDI and our direct access share them.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "framework/dc_windows.h"
#include "framework/exceptions.h"
#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "imaging/dib_pixels.h"
#include "resources/resource_ids.h"

namespace lumetra {
namespace {

// Once armed with a size, the next allocation of exactly that many bytes
// fails as if memory had run out.
std::atomic<std::size_t> g_nFailNextOfSize{0};

}  // namespace
}  // namespace lumetra

void* operator new(std::size_t size) {
    std::size_t armed = size;
    if (lumetra::g_nFailNextOfSize.compare_exchange_strong(armed, 0)) throw std::bad_alloc();
    // The library's own operator delete frees what malloc gave.
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;  // NOLINT(cppcoreguidelines-no-malloc)
    throw std::bad_alloc();
}

namespace lumetra {
namespace {

class DibSectionTest : public ::testing::Test {
protected:
    CDC reference{CreateCompatibleDC(nullptr)};
};

TEST_F(DibSectionTest, FrameLivesInADibSection) {
    ASSERT_NE(reference.GetSafeHdc(), nullptr);
    CDib frame;
    frame.Create(516, 310, 24, &reference);
    ASSERT_NE(frame.GetDC(), nullptr);
    ASSERT_NE(frame.GetBitmapHandle(), nullptr);
    EXPECT_EQ(frame.HeaderBlockSize(), 40U);  // the rows are not in the header block
    EXPECT_EQ(frame.Stride(), 1548);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectA(static_cast<HBITMAP>(frame.GetBitmapHandle()), sizeof(section), &section),
              int{sizeof(section)});
    EXPECT_EQ(section.dsBm.bmBits, frame.Row(309).data());  // the bottom row comes first
    EXPECT_EQ(section.dsBm.bmWidth, 516);
    EXPECT_EQ(section.dsBm.bmHeight, 310);
    EXPECT_EQ(section.dsBm.bmWidthBytes, 1548);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
    // The section is the bitmap selected into the image's context.
    EXPECT_EQ(GetCurrentObject(frame.GetDC()->GetSafeHdc(), OBJ_BITMAP), frame.GetBitmapHandle());
}

TEST_F(DibSectionTest, CanvasDrawingLandsInTheSectionAsGdiSeesIt) {
    CDib frame;
    frame.Create(64, 32, 24, &reference);
    CCanvas canvas(frame);
    canvas.SetTextColor(Rgb(0, 255, 255));
    canvas.DrawTextLine("HI", {0, 0, 64, 32}, kDtLeft);
    HDC dc = frame.GetDC()->GetSafeHdc();
    int cyan = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const COLORREF seen = GetPixel(dc, x, y);
            ASSERT_EQ(seen, ReadPixelColor(frame, x, y)) << x << "," << y;
            cyan += seen == RGB(0, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(cyan, 10);
}

TEST_F(DibSectionTest, GdiDrawingIsSeenThroughPixelAddresses) {
    CDib frame;
    frame.Create(20, 10, 24, &reference);
    HDC dc = frame.GetDC()->GetSafeHdc();
    SetPixelV(dc, 3, 2, RGB(10, 20, 30));
    GdiFlush();
    const std::uint8_t* p = frame.GetPixelAddress(3, 2);
    EXPECT_EQ(p[0], 30);
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
}

TEST_F(DibSectionTest, ResourceLoadsIntoASection) {
    CDib kernel;
    kernel.LoadFromResource(IDB_KERNEL, 1, &reference);
    ASSERT_NE(kernel.GetBitmapHandle(), nullptr);
    EXPECT_EQ(kernel.HeaderBlockSize(), 40U);
    EXPECT_EQ(kernel.GetPixelAddress(128, 128)[0], 255);
    EXPECT_EQ(GetPixel(kernel.GetDC()->GetSafeHdc(), 128, 128), RGB(255, 255, 255));
}

TEST_F(DibSectionTest, PalettedSectionShowsTheLoadedColours) {
    CDib icons;
    icons.LoadFromResource(IDB_TARGET_ICONS, 0, &reference);
    ASSERT_NE(icons.GetBitmapHandle(), nullptr);
    // Every pixel GDI reads from the section has the colour the table gives it.
    HDC dc = icons.GetDC()->GetSafeHdc();
    for (int x = 0; x < 128; x += 5) {
        EXPECT_EQ(GetPixel(dc, x, 7), ReadPixelColor(icons, x, 7)) << x;
    }
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(128, 0, 128));  // the strip's background
}

TEST_F(DibSectionTest, NoMemoryForTheContextObjectIsTheMemoryException) {
    CDib frame;
    EXPECT_THROW(
        {
            g_nFailNextOfSize = sizeof(CDC);
            frame.Create(16, 8, 24, &reference);
        },
        MemoryException);
    EXPECT_EQ(g_nFailNextOfSize, 0U) << "the context object was never allocated";
    g_nFailNextOfSize = 0;
    EXPECT_TRUE(frame.IsEmpty());
    EXPECT_EQ(frame.GetDC(), nullptr);
    EXPECT_FALSE(frame.HasPixels());
    frame.Create(16, 8, 24, &reference);  // and with memory, as ever
    EXPECT_NE(frame.GetBitmapHandle(), nullptr);
}

TEST_F(DibSectionTest, FreeReleasesSectionAndContext) {
    CDib frame;
    frame.Create(8, 8, 24, &reference);
    HGDIOBJ section = static_cast<HBITMAP>(frame.GetBitmapHandle());
    HDC dc = frame.GetDC()->GetSafeHdc();
    ASSERT_EQ(GetObjectType(section), DWORD{OBJ_BITMAP});
    ASSERT_EQ(GetObjectType(dc), DWORD{OBJ_MEMDC});
    frame.Free();
    EXPECT_EQ(frame.GetBitmapHandle(), nullptr);
    EXPECT_EQ(frame.GetDC(), nullptr);
    EXPECT_EQ(GetObjectType(section), 0U);
    EXPECT_EQ(GetObjectType(dc), 0U);
    frame.Free();
}

TEST(DibPalette, WindowsPaletteIsARealGdiPalette) {
    CDib dib;
    dib.Create(2, 2, 4);
    for (int i = 0; i < 16; ++i) dib.SetColorEntry(i, Rgb(static_cast<std::uint8_t>(i), 1, 2));
    const auto palette = dib.MakePalette(kPcNoCollapse, 1);
    ASSERT_NE(palette, nullptr);
    ASSERT_NE(palette->GetSafeHandle(), nullptr);
    EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(palette->GetSafeHandle())), DWORD{OBJ_PAL});
    PALETTEENTRY e{};
    ASSERT_EQ(GetPaletteEntries(static_cast<HPALETTE>(palette->GetSafeHandle()), 15, 1, &e), 1U);
    EXPECT_EQ(e.peRed, 15);
}

// Takes GDI palettes until the system refuses one; gives them back at the end.
class CPaletteHoard {
public:
    CPaletteHoard() {
        LOGPALETTE one{0x300, 1, {{1, 2, 3, 0}}};
        while (m_held.size() < kEnough) {
            HPALETTE palette = CreatePalette(&one);
            if (palette == nullptr) return;
            m_held.push_back(palette);
        }
    }
    ~CPaletteHoard() {
        for (HPALETTE palette : m_held) DeleteObject(palette);
    }
    CPaletteHoard(const CPaletteHoard&) = delete;
    CPaletteHoard& operator=(const CPaletteHoard&) = delete;

    bool Refused() const { return m_held.size() < kEnough; }

private:
    static constexpr std::size_t kEnough = 1'000'000;  // far beyond any process's GDI quota
    std::vector<HPALETTE> m_held;
};

TEST(DibPalette, APaletteGdiCannotMakeComesBackWithoutAHandle) {
    CDib dib;
    dib.Create(2, 2, 4);
    for (int i = 0; i < 16; ++i) dib.SetColorEntry(i, Rgb(static_cast<std::uint8_t>(i), 1, 2));
    {
        const CPaletteHoard hoard;
        ASSERT_TRUE(hoard.Refused()) << "GDI never ran out of palettes";
        const auto palette = dib.MakePalette(kPcNoCollapse, 0);
        ASSERT_NE(palette, nullptr);
        EXPECT_EQ(palette->GetSafeHandle(), nullptr);
        EXPECT_EQ(palette->GetEntryCount(), 0U);
    }
    // With GDI's quota back the same call makes a real palette.
    const auto palette = dib.MakePalette(kPcNoCollapse, 0);
    ASSERT_NE(palette, nullptr);
    EXPECT_NE(palette->GetSafeHandle(), nullptr);
}

}  // namespace
}  // namespace lumetra
