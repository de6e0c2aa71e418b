// A strict reader of the BMP and ICO files in resources/, written for the
// tests only: it checks every header field it relies on and addresses
// pixels top-down, so a test can compare what the saver will see.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/little_endian.h"

namespace lumetra::test {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The path of a file in resources/ of the source tree.
std::string ResourcePath(const std::string& name);

// A parsed BMP file with a 40-byte info header, 4 or 24 bits per pixel,
// uncompressed, bottom-up. Parsing throws std::runtime_error on anything else.
class BmpFile {
public:
    explicit BmpFile(std::vector<std::uint8_t> bytes);
    static BmpFile Load(const std::string& resourceName);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int BitCount() const { return m_nBitCount; }
    int Stride() const { return m_nStride; }
    std::uint32_t FileSizeField() const { return U32At(m_bytes, 2); }
    std::uint32_t OffBits() const { return U32At(m_bytes, 10); }
    std::uint32_t SizeImage() const { return U32At(m_bytes, 34); }
    std::int32_t XPelsPerMeter() const { return I32At(m_bytes, 38); }
    std::int32_t YPelsPerMeter() const { return I32At(m_bytes, 42); }
    std::size_t FileSize() const { return m_bytes.size(); }
    // Bytes after the last pixel row.
    std::size_t TrailingBytes() const;

    const std::vector<Rgb>& ColorTable() const { return m_table; }
    // Colour-table index of a 4-bit pixel; y = 0 is the top row.
    int IndexAt(int x, int y) const;
    Rgb At(int x, int y) const;

private:
    const std::uint8_t* RowStart(int y) const;

    std::vector<std::uint8_t> m_bytes;
    std::vector<Rgb> m_table;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitCount = 0;
    int m_nStride = 0;
};

// One image of an .ico file in its 32-bit BMP form.
struct IconImage {
    int size = 0;
    int bitCount = 0;
    std::vector<Rgb> colors;          // top-down, size x size
    std::vector<std::uint8_t> alpha;  // top-down
    std::vector<bool> transparent;    // the AND mask, top-down
};

std::vector<IconImage> ReadIcon(const std::vector<std::uint8_t>& bytes);

}  // namespace lumetra::test
