// Helpers shared by the imaging tests: files read back, packed bitmaps made
// by hand, and ImageMagick as an independent reader of the files we write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/color_types.h"

namespace lumetra::test {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint16_t Le16(const std::vector<std::uint8_t>& bytes, std::size_t offset);

// A packed bitmap: 40-byte header, `table` entries, then `rows` (bottom row
// first, each padded to 4 bytes by the caller).
struct PackedLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::int32_t pelsPerMeter = 0;
    std::vector<RgbQuad> table;
    std::vector<std::uint8_t> rows;
};
std::vector<std::uint8_t> MakePacked(const PackedLayout& layout);

// ImageMagick, when present (Linux only).
bool HaveImageMagick();
// Runs a shell command; its standard output, or none when it failed.
std::optional<std::string> RunCommand(const std::string& command);
// `identify -format "%w %h %z %r"` of a file.
std::string Identify(const std::string& path);
// Every pixel of an image as ImageMagick reads it, row by row from the top.
std::vector<ColorRef> PixelsByImageMagick(const std::string& path, int width, int height);

}  // namespace lumetra::test
