#include "tests/support/bmp_file.h"

#include "tests/support/files.h"

#include <stdexcept>

namespace lumetra::test {

namespace {

void Require(bool condition, const std::string& what) {
    if (!condition) throw std::runtime_error(what);
}

}  // namespace

std::string ResourcePath(const std::string& name) {
    return std::string(LUMETRA_SOURCE_DIR) + "/resources/" + name;
}

BmpFile::BmpFile(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {
    Require(m_bytes.size() >= 54, "shorter than the two headers");
    Require(m_bytes[0] == 'B' && m_bytes[1] == 'M', "no BM signature");
    Require(U32At(m_bytes, 14) == 40, "info header is not 40 bytes");
    m_nWidth = I32At(m_bytes, 18);
    m_nHeight = I32At(m_bytes, 22);
    m_nBitCount = U16At(m_bytes, 28);
    Require(m_nWidth > 0 && m_nHeight > 0, "not a bottom-up image of positive size");
    Require(U16At(m_bytes, 26) == 1, "planes is not 1");
    Require(U32At(m_bytes, 30) == 0, "compressed");
    Require(m_nBitCount == 4 || m_nBitCount == 24, "neither 4 nor 24 bits per pixel");
    m_nStride = (m_nWidth * m_nBitCount + 31) / 32 * 4;
    const std::size_t colors = m_nBitCount == 4 ? 16 : 0;
    Require(OffBits() == 54 + 4 * colors, "pixels do not follow the colour table");
    Require(m_bytes.size() >= OffBits() + static_cast<std::size_t>(m_nStride) * m_nHeight, "pixel rows cut short");
    Require(FileSizeField() == m_bytes.size(), "bfSize is not the file size");
    for (std::size_t i = 0; i < colors; ++i) {
        const std::size_t at = 54 + 4 * i;
        m_table.push_back(Rgb{m_bytes[at + 2], m_bytes[at + 1], m_bytes[at]});
    }
}

BmpFile BmpFile::Load(const std::string& resourceName) {
    return BmpFile(ReadWholeFile(ResourcePath(resourceName)));
}

std::size_t BmpFile::TrailingBytes() const {
    return m_bytes.size() - OffBits() - static_cast<std::size_t>(m_nStride) * m_nHeight;
}

const std::uint8_t* BmpFile::RowStart(int y) const {
    Require(y >= 0 && y < m_nHeight, "row out of range");
    return m_bytes.data() + OffBits() + static_cast<std::size_t>(m_nHeight - 1 - y) * m_nStride;
}

int BmpFile::IndexAt(int x, int y) const {
    Require(m_nBitCount == 4 && x >= 0 && x < m_nWidth, "no 4-bit pixel there");
    const std::uint8_t byte = RowStart(y)[x / 2];
    return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

Rgb BmpFile::At(int x, int y) const {
    if (m_nBitCount == 4) return m_table[static_cast<std::size_t>(IndexAt(x, y))];
    Require(x >= 0 && x < m_nWidth, "column out of range");
    const std::uint8_t* p = RowStart(y) + 3 * x;
    return Rgb{p[2], p[1], p[0]};
}

std::vector<IconImage> ReadIcon(const std::vector<std::uint8_t>& bytes) {
    Require(U16At(bytes, 0) == 0 && U16At(bytes, 2) == 1, "not an icon directory");
    const int count = U16At(bytes, 4);
    std::vector<IconImage> images;
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        IconImage image;
        image.size = bytes.at(entry) == 0 ? 256 : bytes.at(entry);
        Require(bytes.at(entry + 1) == bytes.at(entry), "icon is not square");
        const std::uint32_t length = U32At(bytes, entry + 8);
        const std::uint32_t offset = U32At(bytes, entry + 12);
        Require(static_cast<std::size_t>(offset) + length <= bytes.size(), "icon image past the end");
        Require(U32At(bytes, offset) == 40, "icon image without a 40-byte header");
        Require(I32At(bytes, offset + 4) == image.size && I32At(bytes, offset + 8) == 2 * image.size,
                "icon header size does not match its directory entry");
        image.bitCount = U16At(bytes, offset + 14);
        Require(image.bitCount == 32, "icon image is not 32-bit");
        const auto n = static_cast<std::size_t>(image.size);
        const std::size_t maskStride = (n + 31) / 32 * 4;
        Require(length == 40 + 4 * n * n + maskStride * n, "icon image length");
        image.colors.resize(n * n);
        image.alpha.resize(n * n);
        image.transparent.resize(n * n);
        for (std::size_t y = 0; y < n; ++y) {
            const std::size_t row = n - 1 - y;
            for (std::size_t x = 0; x < n; ++x) {
                const std::size_t px = offset + 40 + 4 * (row * n + x);
                image.colors[y * n + x] = Rgb{bytes[px + 2], bytes[px + 1], bytes[px]};
                image.alpha[y * n + x] = bytes[px + 3];
                const std::size_t maskByte = offset + 40 + 4 * n * n + row * maskStride + x / 8;
                image.transparent[y * n + x] = (bytes[maskByte] & (0x80 >> (x % 8))) != 0;
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

}  // namespace lumetra::test
