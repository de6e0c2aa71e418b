#include "imaging/dib.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "framework/exceptions.h"
#include "imaging/dib_layout.h"
#include "imaging/dib_platform.h"

namespace lumetra {

CDib::~CDib() {
    if (m_pHeader != nullptr) Free();
}

void CDib::Allocate(std::size_t size) {
    try {
        // Zeroed: a fresh image and an unfilled colour table read as black,
        // never as whatever the heap held.
        m_block = std::make_unique<std::byte[]>(size);
    } catch (const std::bad_alloc&) {
        throw MemoryException("no memory for a bitmap");
    }
    m_nBlockSize = size;
}

void CDib::Create(int width, int height, int bitCount, CDC* referenceDC) {
    const std::optional<DibLayout> layout = ComputeDibLayout(width, height, bitCount);
    if (!layout) {
        // No allocation could hold it: refused as one that failed.
        throw MemoryException("no bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " at " +
                              std::to_string(bitCount) + " bits per pixel can be made");
    }
    if (m_pHeader != nullptr) Free();

    m_nColors = layout->colors;
    m_nStride = layout->stride;
    m_nImageSize = layout->imageSize;
    m_nTotalSize = layout->totalSize;
    const bool inSection = referenceDC != nullptr && dib_platform::UsesSection(referenceDC);
    const std::size_t tableBytes = std::size_t{4} * m_nColors;
    Allocate(inSection ? sizeof(BitmapInfoHeader) + tableBytes : static_cast<std::size_t>(m_nTotalSize));

    // The block is an array of bytes; the header and table are created in it.
    m_pHeader = new (m_block.get()) BitmapInfoHeader{};  // NOLINT(cppcoreguidelines-owning-memory)
    m_pColors = m_nColors != 0 ? reinterpret_cast<RgbQuad*>(m_block.get() + sizeof(BitmapInfoHeader)) : nullptr;
    if (!inSection) m_pBits = reinterpret_cast<std::uint8_t*>(m_block.get() + sizeof(BitmapInfoHeader) + tableBytes);

    m_pHeader->biSize = sizeof(BitmapInfoHeader);
    m_pHeader->biWidth = width;
    m_pHeader->biHeight = height;
    m_pHeader->biPlanes = 1;
    m_pHeader->biBitCount = static_cast<std::uint16_t>(bitCount);
    m_pHeader->biCompression = kBiRgb;
    m_pHeader->biSizeImage = static_cast<std::uint32_t>(m_nImageSize);
    m_pHeader->biClrUsed = m_nColors;

    if (bitCount == 1) {
        // A 0 bit is white and a 1 bit black.
        SetColorEntry(0, Rgb(255, 255, 255));
        SetColorEntry(1, Rgb(0, 0, 0));
    } else if (bitCount <= 8 && bitCount != 4) {
        // 4 bits is left to the caller, who copies a table over it.
        m_bPalIndices = 1;
        SetIdentityIndices();
    }
    if (inSection) AttachSection(*referenceDC);
}

void CDib::AttachSection(CDC& referenceDC) {
    try {
        dib_platform::Section section = dib_platform::CreateSection(referenceDC, *m_pHeader);
        m_pDC = std::move(section.dc);
        m_hBitmap = section.bitmap;
        m_pBits = section.bits;
    } catch (const MemoryException&) {
        Free();  // no half-made image
        throw;
    }
}

void CDib::LoadFromResource(std::uint16_t id, int palIndices, CDC* referenceDC) {
    const std::vector<std::uint8_t> packed = CopyResourceData(id);
    CreateFromPacked(packed, palIndices, referenceDC);
}

std::uint8_t* CDib::GetPixelAddress(int x, int y) const {
    // Pointer-sized arithmetic: the same address as the 32-bit formula for
    // every pixel of the image, and no signed overflow for any argument.
    const std::ptrdiff_t row = std::ptrdiff_t{m_pHeader->biHeight} - 1 - y;
    const std::ptrdiff_t byte = std::ptrdiff_t{m_pHeader->biBitCount} * x / 8;
    return m_pBits + row * m_nStride + byte;
}

std::span<std::uint8_t> CDib::RowBytes(int y) const {
    if (m_pBits == nullptr || y < 0 || y >= Height()) return {};
    return {GetPixelAddress(0, y), static_cast<std::size_t>(m_nStride)};
}

std::span<const RgbQuad> CDib::Colors() const {
    if (m_pColors == nullptr) return {};
    return {m_pColors, m_nColors};
}

void CDib::SetColorEntry(int index, ColorRef color) {
    if (m_nColors == 0 || m_pColors == nullptr || index < 0 || index >= m_nColors) return;
    m_pColors[index] = RgbQuad{BlueOf(color), GreenOf(color), RedOf(color), 0};
}

void CDib::SetIdentityIndices() {
    if (m_nColors == 0 || m_pColors == nullptr) return;
    auto* bytes = reinterpret_cast<std::uint8_t*>(m_pColors);
    for (std::uint16_t i = 0; i < m_nColors; ++i) {
        std::memcpy(bytes + 2 * std::size_t{i}, &i, sizeof(i));  // little-endian word i
    }
}

std::unique_ptr<CPalette> CDib::MakePalette(std::uint8_t flags, int systemColors) const {
    if (m_nColors == 0 || m_pColors == nullptr) return nullptr;
    std::array<PaletteEntry, 256> entries{};  // entries an old palette lacks stay black
    std::size_t count = m_nColors;
    if (m_pPalette != nullptr) {
        m_pPalette->GetPaletteEntries(0, entries);
        count = entries.size();
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            entries[i] = PaletteEntry{m_pColors[i].rgbRed, m_pColors[i].rgbGreen, m_pColors[i].rgbBlue, flags};
        }
    }
    if (systemColors != 0) dib_platform::ApplySystemColors(entries);
    std::unique_ptr<CPalette> palette;
    try {
        palette = std::make_unique<CPalette>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // A palette the system cannot make is no error: the object keeps a null
    // handle, and drawing with it does nothing.
    static_cast<void>(palette->CreatePalette(std::span(entries.data(), count)));
    return palette;
}

void CDib::Free() {
    m_block.reset();
    m_nBlockSize = 0;
    m_pHeader = nullptr;
    m_pColors = nullptr;
    m_pBits = nullptr;
    dib_platform::ReleaseSection(m_pDC, m_hBitmap);
    m_pPalette.reset();
    // m_nStride and m_bPalIndices keep their values.
    m_nColors = 0;
    m_nImageSize = 0;
    m_nTotalSize = 0;
}

}  // namespace lumetra
