// ImageMagick as an independent reader of the images we write: what it
// makes of a file's size, format and pixels. Linux only; elsewhere
// HaveImageMagick() is false and the tests that need it skip.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::test {

bool HaveImageMagick();

// `identify -format FORMAT` of the file; "identify failed: ..." when
// ImageMagick refuses it.
std::string Identify(const std::string& path, const std::string& format = "%w %h %z %r");

// Red, green and blue (0 to 255) of one pixel; {-1, -1, -1} when unreadable.
std::array<int, 3> MagickPixel(const std::string& path, int x, int y);

// Every pixel as 0x00BBGGRR, row by row from the top; 0xFFFFFFFF where
// ImageMagick gave nothing.
std::vector<std::uint32_t> PixelsByImageMagick(const std::string& path, int width, int height);

}  // namespace lumetra::test
