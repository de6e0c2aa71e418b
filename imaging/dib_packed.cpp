// CDib::CreateFromPacked: a copy of a packed bitmap, checked so that a
// malformed block can never make us read or write outside it.
#include <cstring>
#include <string>

#include "framework/exceptions.h"
#include "imaging/dib.h"
#include "imaging/dib_layout.h"
#include "imaging/dib_platform.h"

namespace lumetra {
namespace {

struct PackedImage {
    BitmapInfoHeader header;
    std::size_t tableEntries;  // colour-table entries present in the block
    std::size_t bitsOffset;    // where the rows start in the block
};

[[noreturn]] void Refuse(const std::string& why) {
    throw ResourceException("bad packed bitmap: " + why);
}

PackedImage CheckPacked(std::span<const std::uint8_t> packed) {
    PackedImage image{};
    if (packed.size() < sizeof(std::uint32_t)) Refuse("too short for a header");
    std::uint32_t headerSize = 0;
    std::memcpy(&headerSize, packed.data(), sizeof(headerSize));
    if (headerSize != sizeof(BitmapInfoHeader)) Refuse("header size " + std::to_string(headerSize));
    if (packed.size() < sizeof(BitmapInfoHeader)) Refuse("too short for its header");
    std::memcpy(&image.header, packed.data(), sizeof(BitmapInfoHeader));
    const BitmapInfoHeader& h = image.header;
    if (h.biCompression != kBiRgb) Refuse("compressed");
    const int bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Refuse("bit count");
    const std::optional<DibLayout> layout = ComputeDibLayout(h.biWidth, h.biHeight, bits);
    if (!layout) Refuse("size");
    // A table shorter than 2^bits is allowed (biClrUsed says how long); above
    // 8 bits an optional table may still sit in front of the rows.
    const std::size_t fullTable = layout->colors;
    image.tableEntries = h.biClrUsed != 0 ? std::size_t{h.biClrUsed} : fullTable;
    if (bits <= 8 && image.tableEntries > fullTable) Refuse("colour count");
    if (image.tableEntries > packed.size() / 4) Refuse("truncated colour table");
    image.bitsOffset = sizeof(BitmapInfoHeader) + 4 * image.tableEntries;
    if (packed.size() < image.bitsOffset || packed.size() - image.bitsOffset < std::size_t(layout->imageSize)) {
        Refuse("truncated rows");
    }
    return image;
}

}  // namespace

void CDib::CreateFromPacked(std::span<const std::uint8_t> packed, int palIndices, CDC* referenceDC) {
    m_bPalIndices = palIndices;  // taken even when the block is refused
    const PackedImage image = CheckPacked(packed);
    Create(image.header.biWidth, image.header.biHeight, image.header.biBitCount, referenceDC);

    // From here on the header carries the block's own resolution and counts.
    std::memcpy(m_pHeader, packed.data(), sizeof(BitmapInfoHeader));
    if (m_pColors != nullptr) {
        const std::size_t tableBytes = 4 * std::size_t{m_nColors};
        const std::size_t given = 4 * image.tableEntries;
        std::memcpy(m_pColors, packed.data() + sizeof(BitmapInfoHeader), given);
        std::memset(reinterpret_cast<std::uint8_t*>(m_pColors) + given, 0, tableBytes - given);
        dib_platform::SyncSectionColors(m_pDC.get(), m_hBitmap, Colors());
    }
    if (m_pBits != nullptr) {
        std::memcpy(m_pBits, packed.data() + image.bitsOffset, static_cast<std::size_t>(m_nImageSize));
    }
    m_pPalette = MakePalette(kPcNoCollapse, 0);
    if (m_bPalIndices != 0) SetIdentityIndices();
}

}  // namespace lumetra
