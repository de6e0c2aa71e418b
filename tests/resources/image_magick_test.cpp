// ImageMagick as an independent reader: it must take every product bitmap
// and the icon as well-formed and see the same pixels as the saver.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/support/bmp_file.h"
#include "tests/support/image_magick.h"
#include "tests/support/run_command.h"

namespace lumetra::test {
namespace {

class ImageMagick : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's identify is not installed";
    }
    static std::string Run(const std::string& arguments) {
        const CommandResult result = RunCommand(arguments + " 2>&1");
        EXPECT_TRUE(result.ok) << arguments << "\n" << result.output;
        return result.output;
    }
    static std::string Identify(const std::string& name) {
        return Run("identify -regard-warnings -format '%m %w %h|' '" + ResourcePath(name) + "'");
    }
    static std::string PixelAt(const std::string& name, int x, int y) {
        const std::array<int, 3> rgb = MagickPixel(ResourcePath(name), x, y);
        return std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," + std::to_string(rgb[2]);
    }
};

TEST_F(ImageMagick, ReadsEveryBitmapWithItsSize) {
    EXPECT_EQ(Identify("kernel.bmp"), "BMP3 256 256|");
    EXPECT_EQ(Identify("color_ramp.bmp"), "BMP3 256 1|");
    EXPECT_EQ(Identify("map_outline.bmp"), "BMP3 516 310|");
    EXPECT_EQ(Identify("target_icons.bmp"), "BMP3 128 16|");
    EXPECT_EQ(Identify("style_hops.bmp"), "BMP3 48 32|");
    EXPECT_EQ(Identify("style_speed.bmp"), "BMP3 48 32|");
}

TEST_F(ImageMagick, ReadsTheThreeImagesOfTheIcon) {
    EXPECT_EQ(Identify("lumetra.ico"), "ICO 16 16|ICO 32 32|ICO 48 48|");
}

// Rows are top-down for ImageMagick too: it agrees with our reader about
// where the picture's top is.
TEST_F(ImageMagick, SeesTheSamePixelsAsTheSaver) {
    EXPECT_EQ(PixelAt("kernel.bmp", 128, 128), "255,255,255");
    EXPECT_EQ(PixelAt("kernel.bmp", 168, 128), "187,187,187");
    EXPECT_EQ(PixelAt("kernel.bmp", 128, 1), "0,0,0");
    EXPECT_EQ(PixelAt("color_ramp.bmp", 32, 0), "255,146,0");
    EXPECT_EQ(PixelAt("color_ramp.bmp", 255, 0), "105,0,255");
    EXPECT_EQ(PixelAt("map_outline.bmp", 230, 155), "255,255,255");
    EXPECT_EQ(PixelAt("target_icons.bmp", 0, 0), "128,0,128");

    const BmpFile map = BmpFile::Load("map_outline.bmp");
    for (const auto& [x, y] : {std::pair{7, 150}, {486, 60}, {250, 12}, {420, 301}, {300, 200}}) {
        const Rgb c = map.At(x, y);
        EXPECT_EQ(PixelAt("map_outline.bmp", x, y),
                  std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b))
            << x << "," << y;
    }
}

}  // namespace
}  // namespace lumetra::test
