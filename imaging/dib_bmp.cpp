// CDib::WriteBmp: the image as a BMP file - a 14-byte file header, the 40-byte
// info header, the colour table when there is one, then the rows exactly as
// they lie in memory (bottom row first). Fields are written little-endian one
// by one, so the file does not depend on how a compiler lays out a struct.
#include <array>
#include <cstring>
#include <functional>
#include <string>

#include "framework/file.h"
#include "imaging/dib.h"
#include "imaging/dib_platform.h"

namespace lumetra {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

// Appends little-endian fields to a fixed buffer.
template <std::size_t N>
class FieldWriter {
public:
    explicit FieldWriter(std::array<std::uint8_t, N>& out) : m_out(out) {}
    void U16(std::uint32_t v) { Put(v, 2); }
    void U32(std::uint32_t v) { Put(v, 4); }
    void I32(std::int32_t v) { Put(static_cast<std::uint32_t>(v), 4); }
    std::size_t Size() const { return m_pos; }

private:
    void Put(std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) m_out[m_pos++] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::array<std::uint8_t, N>& m_out;
    std::size_t m_pos = 0;
};

std::array<std::uint8_t, kFileHeaderSize> FileHeader(std::uint32_t tableBytes, std::uint32_t imageSize) {
    std::array<std::uint8_t, kFileHeaderSize> out{};
    FieldWriter w(out);
    w.U16(0x4D42);                                                      // bfType: "BM"
    w.U32(kFileHeaderSize + kInfoHeaderSize + tableBytes + imageSize);  // bfSize: the whole file
    w.U16(0);                                                           // bfReserved1
    w.U16(0);                                                           // bfReserved2
    w.U32(kFileHeaderSize + kInfoHeaderSize + tableBytes);              // bfOffBits: where the rows start
    return out;
}

std::array<std::uint8_t, kInfoHeaderSize> InfoHeader(const BitmapInfoHeader& h) {
    std::array<std::uint8_t, kInfoHeaderSize> out{};
    FieldWriter w(out);
    w.U32(h.biSize);           // biSize: 40
    w.I32(h.biWidth);          // biWidth
    w.I32(h.biHeight);         // biHeight: positive, rows bottom-up
    w.U16(h.biPlanes);         // biPlanes: 1
    w.U16(h.biBitCount);       // biBitCount
    w.U32(h.biCompression);    // biCompression: 0, uncompressed
    w.U32(h.biSizeImage);      // biSizeImage: as held (a loaded image keeps its own)
    w.I32(h.biXPelsPerMeter);  // biXPelsPerMeter
    w.I32(h.biYPelsPerMeter);  // biYPelsPerMeter
    w.U32(h.biClrUsed);        // biClrUsed: the table's entry count
    w.U32(h.biClrImportant);   // biClrImportant
    return out;
}

}  // namespace

void CDib::EmitBmp(const std::function<void(const void*, std::size_t)>& write) {
    // An image whose section could not be made has no rows to write either.
    if (m_pHeader == nullptr || m_pBits == nullptr) return;
    dib_platform::FlushDrawing();
    const std::uint32_t tableBytes = 4U * m_nColors;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(m_nImageSize);

    const auto fileHeader = FileHeader(tableBytes, imageSize);
    write(fileHeader.data(), fileHeader.size());

    m_pHeader->biClrUsed = m_nColors;  // the image keeps this value
    const auto infoHeader = InfoHeader(*m_pHeader);
    write(infoHeader.data(), infoHeader.size());

    if (m_pColors != nullptr && tableBytes != 0) {
        // The header counts a full table, so one is always written: the
        // palette's colours when there is a palette, else the image's own table.
        std::array<std::uint8_t, 4 * 256> table{};
        if (m_pPalette != nullptr) {
            std::array<PaletteEntry, 256> entries{};
            m_pPalette->GetPaletteEntries(0, std::span(entries.data(), m_nColors));
            for (std::size_t i = 0; i < m_nColors; ++i) {
                table[4 * i + 0] = entries[i].peBlue;
                table[4 * i + 1] = entries[i].peGreen;
                table[4 * i + 2] = entries[i].peRed;
            }
        } else {
            std::memcpy(table.data(), m_pColors, tableBytes);
        }
        write(table.data(), tableBytes);
    }
    write(m_pBits, imageSize);
}

void CDib::WriteBmp(CFile* file) {
    if (file == nullptr) return;
    EmitBmp([file](const void* data, std::size_t size) { file->Write(data, size); });
}

std::string CDib::BmpFileBytes() {
    std::string bytes;
    EmitBmp([&bytes](const void* data, std::size_t size) { bytes.append(static_cast<const char*>(data), size); });
    return bytes;
}

}  // namespace lumetra
