// Bitmap resources: the product bitmaps and the test's own, loaded through
// the platform's mechanism (executable resources on Windows, compiled-in
// tables elsewhere) and compared with the files they came from.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "imaging/dib_pixels.h"
#include "imaging/dib_platform.h"
#include "imaging/image_list.h"
#include "resources/resource_ids.h"
#include "tests/imaging/test_support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

// Ids of the test's own bitmaps (tests/imaging/CMakeLists.txt).
constexpr std::uint16_t kCoreHeaderId = 9001;
constexpr std::uint16_t kTruncatedId = 9002;
constexpr std::uint16_t kStrip4Id = 9003;

std::string ResourceFile(const std::string& name) {
    return std::string(LUMETRA_SOURCE_DIR) + "/resources/" + name;
}

TEST(Resources, MissingIdThrowsResourceException) {
    CDib dib;
    EXPECT_THROW(dib.LoadFromResource(1), ResourceException);
    EXPECT_THROW(dib.LoadFromResource(65535), ResourceException);
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(Resources, CoreHeaderIsRefused) {
    CDib dib;
    EXPECT_THROW(dib.LoadFromResource(kCoreHeaderId), ResourceException);
    EXPECT_TRUE(dib.IsEmpty());
    // The resource itself is there: it is its header that is refused.
    EXPECT_EQ(CopyResourceData(kCoreHeaderId).size(), 12U + 16U);
}

TEST(Resources, TruncatedBitmapIsRefused) {
    CDib dib;
    EXPECT_THROW(dib.LoadFromResource(kTruncatedId), ResourceException);
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(Resources, EveryProductBitmapHoldsItsFileWithoutTheFileHeader) {
    for (const auto& [id, name] :
         {std::pair{IDB_TARGET_ICONS, "target_icons.bmp"}, std::pair{IDB_MAP_OUTLINE, "map_outline.bmp"},
          std::pair{IDB_STYLE_HOPS, "style_hops.bmp"}, std::pair{IDB_STYLE_SPEED, "style_speed.bmp"},
          std::pair{IDB_KERNEL, "kernel.bmp"}, std::pair{IDB_COLOR_RAMP, "color_ramp.bmp"}}) {
        const auto file = test::ReadWholeFile(ResourceFile(name));
        ASSERT_GT(file.size(), 54U) << name;
        const auto resource = CopyResourceData(id);
        ASSERT_EQ(resource.size(), file.size() - 14) << name;
        EXPECT_TRUE(std::equal(resource.begin(), resource.end(), file.begin() + 14)) << name;
    }
}

TEST(Resources, KernelLoadsAs256By256By24WithPeakInTheMiddle) {
    for (int palIndices : {0, 1}) {
        CDib kernel;
        kernel.LoadFromResource(IDB_KERNEL, palIndices);
        EXPECT_EQ(kernel.Width(), 256);
        EXPECT_EQ(kernel.Height(), 256);
        EXPECT_EQ(kernel.BitCount(), 24);
        EXPECT_EQ(kernel.Stride(), 768);
        EXPECT_EQ(kernel.HeaderBlockSize(), 40U + 196608U);
        EXPECT_TRUE(kernel.Colors().empty());  // no table and no palette, whatever the request
        EXPECT_EQ(kernel.Palette(), nullptr);
        const std::uint8_t* peak = kernel.GetPixelAddress(128, 128);
        EXPECT_EQ(peak[0], 255);
        EXPECT_EQ(peak[1], 255);
        EXPECT_EQ(peak[2], 255);
        EXPECT_EQ(kernel.GetPixelAddress(0, 0)[0], 0);
        // The resource's own header fields are kept.
        EXPECT_EQ(kernel.Header()->biSizeImage, 0U);
        EXPECT_EQ(kernel.Header()->biXPelsPerMeter, 2834);
        EXPECT_EQ(kernel.Header()->biYPelsPerMeter, 2834);
    }
}

TEST(Resources, RampAndPicturesHaveTheirShapes) {
    struct Shape {
        std::uint16_t id;
        int width, height, bits;
    };
    for (const Shape s :
         {Shape{IDB_COLOR_RAMP, 256, 1, 24}, Shape{IDB_MAP_OUTLINE, 516, 310, 4}, Shape{IDB_TARGET_ICONS, 128, 16, 4},
          Shape{IDB_STYLE_HOPS, 48, 32, 4}, Shape{IDB_STYLE_SPEED, 48, 32, 4}}) {
        CDib dib;
        dib.LoadFromResource(s.id, 1);
        EXPECT_EQ(dib.Width(), s.width) << s.id;
        EXPECT_EQ(dib.Height(), s.height) << s.id;
        EXPECT_EQ(dib.BitCount(), s.bits) << s.id;
        EXPECT_EQ(dib.Palette() != nullptr, s.bits == 4) << s.id;
    }
}

TEST(Resources, OutlineImageListHasOneImageAndMasksWhiteLand) {
    CImageList map;
    ASSERT_TRUE(map.Create(IDB_MAP_OUTLINE, 516, 1, Rgb(255, 255, 255)));
    EXPECT_EQ(map.GetImageCount(), 1);
    CDib outline;
    outline.LoadFromResource(IDB_MAP_OUTLINE, 0);
    CDib frame;
    frame.Create(516, 310, 24);
    CCanvas canvas(frame);
    for (int y = 0; y < 310; ++y) {
        for (int x = 0; x < 516; ++x) canvas.SetPixel(x, y, Rgb(10, 20, 30));
    }
    ASSERT_TRUE(map.Draw(canvas, 0, 0, 0));
    int land = 0;
    for (int y = 0; y < 310; ++y) {
        for (int x = 0; x < 516; ++x) {
            const bool white = ReadPixelColor(outline, x, y) == Rgb(255, 255, 255);
            land += white ? 1 : 0;
            ASSERT_EQ(ReadPixelColor(frame, x, y), white ? Rgb(10, 20, 30) : Rgb(0, 0, 0)) << x << "," << y;
        }
    }
    EXPECT_GT(land, 516 * 310 / 4);  // the map is mostly land
}

TEST(Resources, TargetIconsCutIntoEightImages) {
    CImageList icons;
    ASSERT_TRUE(icons.Create(IDB_TARGET_ICONS, 16, 1, Rgb(128, 0, 128)));
    EXPECT_EQ(icons.GetImageCount(), 8);
    EXPECT_EQ(icons.GetImageHeight(), 16);
}

TEST(Resources, TestStripDrawsWithItsMask) {
    CImageList icons;
    ASSERT_TRUE(icons.Create(kStrip4Id, 3, 1, Rgb(128, 0, 128)));
    ASSERT_EQ(icons.GetImageCount(), 2);
    CDib frame;
    frame.Create(5, 4, 24);
    CCanvas canvas(frame);
    ASSERT_TRUE(icons.Draw(canvas, 0, 1, 1));
    // Image 0: top row mask 6 7, bottom row 1 2 mask (entry i is red i, green 50, blue 10 i).
    EXPECT_EQ(ReadPixelColor(frame, 1, 1), Rgb(0, 0, 0));
    EXPECT_EQ(ReadPixelColor(frame, 2, 1), Rgb(6, 50, 60));
    EXPECT_EQ(ReadPixelColor(frame, 3, 1), Rgb(7, 50, 70));
    EXPECT_EQ(ReadPixelColor(frame, 1, 2), Rgb(1, 50, 10));
    EXPECT_EQ(ReadPixelColor(frame, 2, 2), Rgb(2, 50, 20));
    EXPECT_EQ(ReadPixelColor(frame, 3, 2), Rgb(0, 0, 0));
}

TEST(Resources, LoadedKernelWritesItsOwnHeaderFields) {
    test::CTempFolder dir;
    CDib kernel;
    kernel.LoadFromResource(IDB_KERNEL, 1);
    CFile file;
    ASSERT_TRUE(file.Open(dir.File("kernel.bmp"), CFile::modeCreate | CFile::modeWrite));
    kernel.WriteBmp(&file);
    file.Close();
    const auto written = test::ReadWholeFile(dir.File("kernel.bmp"));
    ASSERT_EQ(written.size(), 54U + 196608U);
    EXPECT_EQ(test::U32At(written, 34), 0U);     // biSizeImage as the resource had it
    EXPECT_EQ(test::U32At(written, 38), 2834U);  // pixels per metre, both ways
    EXPECT_EQ(test::U32At(written, 42), 2834U);
    EXPECT_EQ(test::U32At(written, 46), 0U);  // biClrUsed: the table's entry count
    // Apart from the 2 padding bytes the file is the one it came from.
    const auto source = test::ReadWholeFile(ResourceFile("kernel.bmp"));
    ASSERT_EQ(source.size(), written.size() + 2);
    EXPECT_TRUE(std::equal(written.begin() + 14, written.end(), source.begin() + 14));
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed: no independent reader";
    EXPECT_EQ(test::Identify(dir.File("kernel.bmp")).substr(0, 22), "256 256 8 DirectClass ");  // grey or sRGB
    const auto pixels = test::PixelsByImageMagick(dir.File("kernel.bmp"), 256, 256);
    EXPECT_EQ(pixels[128 * 256 + 128], Rgb(255, 255, 255));
    EXPECT_EQ(pixels[0], Rgb(0, 0, 0));
}

}  // namespace
}  // namespace lumetra
