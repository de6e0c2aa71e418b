#include "tests/support/image_magick.h"

#include <cstdio>
#include <sstream>

#include "tests/support/run_command.h"
#include "tests/support/shell_text.h"

namespace lumetra::test {

bool HaveImageMagick() {
    static const bool have = RunCommand("identify -version >/dev/null 2>&1").ok;
    return have;
}

std::string Identify(const std::string& path, const std::string& format) {
    const CommandResult result = RunCommand("identify -format " + Quote(format) + " " + Quote(path) + " 2>&1");
    return result.ok ? result.output : "identify failed: " + result.output;
}

std::array<int, 3> MagickPixel(const std::string& path, int x, int y) {
    // fx gives each channel from 0 to 1; rounded back to the file's 8 bits.
    const std::string at = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
    std::string format;
    for (const char* channel : {".r", ".g", ".b"}) format += "%[fx:int(255*" + at + channel + "+0.5)] ";
    const CommandResult result = RunCommand("convert " + Quote(path) + " -format " + Quote(format) + " info:");
    std::array<int, 3> rgb = {-1, -1, -1};
    if (result.ok) std::istringstream(result.output) >> rgb[0] >> rgb[1] >> rgb[2];
    return rgb;
}

std::vector<std::uint32_t> PixelsByImageMagick(const std::string& path, int width, int height) {
    // txt: lists "x,y: (r,g,b...)" for every pixel, 8 bits per sample.
    const std::string text = RunCommand("convert " + Quote(path) + " -depth 8 txt:- 2>/dev/null").output;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0xFFFFFFFFU);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        int x = 0, y = 0, r = 0, g = 0, b = 0;
        if (line.empty() || line[0] == '#') continue;
        if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d", &x, &y, &r, &g, &b) != 5) continue;  // NOLINT(cert-err34-c)
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        pixels[static_cast<std::size_t>(y) * width + x] =
            static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
    }
    return pixels;
}

}  // namespace lumetra::test
