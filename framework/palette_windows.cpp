// The palette lives in GDI; entries are read back from it.
#include <windows.h>

#include <cstddef>
#include <vector>

#include "framework/palette.h"

namespace lumetra {
namespace {

HPALETTE Handle(void* h) {
    return static_cast<HPALETTE>(h);
}

}  // namespace

CPalette::~CPalette() {
    DeleteObject();
}

bool CPalette::CreatePalette(std::span<const PaletteEntry> entries) {
    DeleteObject();
    if (entries.empty() || entries.size() > 256) return false;
    // LOGPALETTE ends in a one-entry array; room for all entries follows it.
    std::vector<std::byte> block(sizeof(LOGPALETTE) + (entries.size() - 1) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(entries.size());
    auto* out = log->palPalEntry;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out[i] = PALETTEENTRY{entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags};
    }
    m_hPalette = ::CreatePalette(log);
    return m_hPalette != nullptr;
}

unsigned CPalette::GetPaletteEntries(unsigned start, std::span<PaletteEntry> out) const {
    if (m_hPalette == nullptr || out.empty()) return 0;
    std::vector<PALETTEENTRY> got(out.size());
    const UINT count = ::GetPaletteEntries(Handle(m_hPalette), start, static_cast<UINT>(got.size()), got.data());
    for (UINT i = 0; i < count; ++i) {
        out[i] = PaletteEntry{got[i].peRed, got[i].peGreen, got[i].peBlue, got[i].peFlags};
    }
    return count;
}

unsigned CPalette::GetEntryCount() const {
    if (m_hPalette == nullptr) return 0;
    return ::GetPaletteEntries(Handle(m_hPalette), 0, 0, nullptr);
}

void CPalette::DeleteObject() noexcept {
    if (m_hPalette != nullptr) {
        ::DeleteObject(Handle(m_hPalette));
        m_hPalette = nullptr;
    }
}

}  // namespace lumetra
