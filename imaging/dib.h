// CDib: an in-memory bottom-up device-independent bitmap. One heap block
// holds the 40-byte header, the colour table and (without a drawing context)
// the pixel rows. On Windows, given a reference drawing context, the pixels
// live in a DIB section selected into the image's own memory context instead,
// so GDI drawing, direct pixel access and the copy to a window share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "framework/palette.h"
#include "imaging/bitmap_types.h"

namespace lumetra {

class CDC;  // Windows only (framework/dc_windows.h)
class CFile;

// Deletes an owned CDC; defined per platform since CDC is Windows-only.
struct DcDeleter {
    void operator()(CDC* dc) const noexcept;
};

class CDib {
public:
    CDib() = default;
    ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // A blank image (pixels zero). Width and height 1 or more, bit count 1 to 8,
    // 16, 24 or 32, sizes within 32-bit counts; no allocation can hold any
    // other, which throws MemoryException and leaves the image as it was.
    // Releases what the image held before; with a reference context, memory
    // running out for the section's context throws MemoryException and leaves
    // the image empty.
    void Create(int width, int height, int bitCount, CDC* referenceDC = nullptr);

    // Loads bitmap resource `id` of the program (ResourceException if missing).
    void LoadFromResource(std::uint16_t id, int palIndices = 1, CDC* referenceDC = nullptr);

    // Builds the image as a copy of a packed bitmap (header, colour table,
    // rows). The index request is taken first; a malformed or compressed
    // block then throws ResourceException and leaves the storage as it was.
    void CreateFromPacked(std::span<const std::uint8_t> packed, int palIndices = 1, CDC* referenceDC = nullptr);

    // Address of the byte holding pixel (x, y), y counted from the top. No
    // checks: the caller keeps x and y inside an image that HasPixels().
    std::uint8_t* GetPixelAddress(int x, int y) const;

    // Colour-table entry `index` = `color`; ignored outside the table.
    void SetColorEntry(int index, ColorRef color);
    // The table's first m_nColors 16-bit words become 0, 1, 2, ...
    void SetIdentityIndices();
    // A logical palette from the colour table (null without one), every entry
    // flagged `flags`; `systemColors` takes the 20 static colours from a
    // palette device when there is one. A palette the system cannot make
    // comes back as an object without a handle; null only when the object
    // itself cannot be allocated.
    std::unique_ptr<CPalette> MakePalette(std::uint8_t flags, int systemColors) const;

    // Writes the image as a BMP file (see dib_bmp.cpp). Null file or empty
    // image: nothing. Write failures throw FileException.
    void WriteBmp(CFile* file);
    // The bytes WriteBmp would write, in memory ("" when it would write nothing).
    std::string BmpFileBytes();

    // Releases everything; the image is empty again.
    void Free();

    bool IsEmpty() const { return m_pHeader == nullptr; }
    // Whether there are pixels to address: not when empty, nor when the DIB
    // section could not be made.
    bool HasPixels() const { return m_pBits != nullptr; }
    // The header as held (a loaded image keeps its own fields); null when empty.
    const BitmapInfoHeader* Header() const { return m_pHeader; }
    int Width() const { return m_pHeader != nullptr ? m_pHeader->biWidth : 0; }
    int Height() const { return m_pHeader != nullptr ? m_pHeader->biHeight : 0; }
    int BitCount() const { return m_pHeader != nullptr ? m_pHeader->biBitCount : 0; }
    // Bytes per row, a multiple of 4 (kept by Free, like the index mode).
    int Stride() const { return m_nStride; }
    // The Stride() bytes of row y, 0 at the top; empty outside the image or
    // without pixels.
    std::span<std::uint8_t> Row(int y) { return RowBytes(y); }
    std::span<const std::uint8_t> Row(int y) const { return RowBytes(y); }
    // The colour table, 2^bits entries up to 8 bits per pixel, else empty. In
    // index mode its first 16-bit words are palette indices, not colours.
    std::span<const RgbQuad> Colors() const;
    // Whether the colour table holds indices into Palette().
    bool UsesPaletteIndices() const { return m_bPalIndices != 0; }
    // The logical palette made from the table; null without one.
    const CPalette* Palette() const { return m_pPalette.get(); }
    // The memory drawing context holding the DIB section; null without one.
    CDC* GetDC() const { return m_pDC.get(); }
    // The DIB section's HBITMAP; null without one.
    void* GetBitmapHandle() const { return m_hBitmap; }
    // Bytes of the header block (40 + table, plus the rows when they live there).
    std::size_t HeaderBlockSize() const { return m_nBlockSize; }

private:
    // Tests make an image whose DIB section could not be made through this
    // one door (tests/support/dib_test_access.h); the product never does.
    friend struct CDibTestAccess;

    void Allocate(std::size_t size);
    // The pixels in a DIB section of the image's own memory context.
    void AttachSection(CDC& referenceDC);
    std::span<std::uint8_t> RowBytes(int y) const;
    // Hands the BMP file's bytes to `write` in file order, in at most four pieces.
    void EmitBmp(const std::function<void(const void*, std::size_t)>& write);

    BitmapInfoHeader* m_pHeader = nullptr;  // start of the header block; null when empty
    RgbQuad* m_pColors = nullptr;           // colour table behind the header; null above 8 bits
    std::uint8_t* m_pBits = nullptr;        // first pixel byte (header block or DIB section)
    void* m_hBitmap = nullptr;              // HBITMAP of the DIB section (Windows)
    std::unique_ptr<CDC, DcDeleter> m_pDC;  // memory context holding the section (Windows)
    std::uint16_t m_nColors = 0;            // colour-table entries: 2^bits up to 8 bits, else 0
    std::int32_t m_nStride = 0;             // bytes per row, a multiple of 4
    std::int32_t m_nImageSize = 0;          // m_nStride x height
    std::int32_t m_nTotalSize = 0;          // 40 + 4 x m_nColors + m_nImageSize
    int m_bPalIndices = 1;                  // the table holds palette indices, not colours
    std::unique_ptr<CPalette> m_pPalette;   // logical palette made from the table, or null

    std::unique_ptr<std::byte[]> m_block;  // owns what m_pHeader points to
    std::size_t m_nBlockSize = 0;
};

}  // namespace lumetra
