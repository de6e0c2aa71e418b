#include "tests/imaging/test_support.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lumetra::test {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t o) {
    return b.at(o) | (b.at(o + 1) << 8) | (b.at(o + 2) << 16) | (std::uint32_t{b.at(o + 3)} << 24);
}

std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t o) {
    return static_cast<std::uint16_t>(b.at(o) | (b.at(o + 1) << 8));
}

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> MakePacked(const PackedLayout& s) {
    std::vector<std::uint8_t> out;
    Put(out, s.headerSize, 4);
    Put(out, static_cast<std::uint32_t>(s.width), 4);
    Put(out, static_cast<std::uint32_t>(s.height), 4);
    Put(out, 1, 2);
    Put(out, s.bitCount, 2);
    Put(out, s.compression, 4);
    Put(out, 0, 4);  // biSizeImage
    Put(out, static_cast<std::uint32_t>(s.pelsPerMeter), 4);
    Put(out, static_cast<std::uint32_t>(s.pelsPerMeter), 4);
    Put(out, s.clrUsed, 4);
    Put(out, 0, 4);
    for (const RgbQuad& q : s.table) {
        out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved});
    }
    out.insert(out.end(), s.rows.begin(), s.rows.end());
    return out;
}

std::optional<std::string> RunCommand(const std::string& command) {
#ifdef _WIN32
    (void)command;
    return std::nullopt;
#else
    std::FILE* pipe = popen(command.c_str(), "r");  // NOLINT(cert-env33-c): test-only, fixed commands
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (status != 0) return std::nullopt;
    return out;
#endif
}

bool HaveImageMagick() {
    static const bool have = RunCommand("identify -version >/dev/null 2>&1 && echo yes").value_or("") == "yes\n";
    return have;
}

std::string Identify(const std::string& path) {
    return RunCommand("identify -format '%w %h %z %r' '" + path + "' 2>&1").value_or("identify failed");
}

std::vector<ColorRef> PixelsByImageMagick(const std::string& path, int width, int height) {
    // txt: lists "x,y: (r,g,b...)" for every pixel, 8 bits per sample.
    const std::string text = RunCommand("convert '" + path + "' -depth 8 txt:- 2>/dev/null").value_or("");
    std::vector<ColorRef> pixels(static_cast<std::size_t>(width) * height, 0xFFFFFFFFU);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        int x = 0, y = 0, r = 0, g = 0, b = 0;
        if (line.empty() || line[0] == '#') continue;
        if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d", &x, &y, &r, &g, &b) != 5) continue;  // NOLINT(cert-err34-c)
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        pixels[static_cast<std::size_t>(y) * width + x] =
            Rgb(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b));
    }
    return pixels;
}

}  // namespace lumetra::test
