// Without GDI the palette is just its entries.
#include <algorithm>

#include "framework/palette.h"

namespace lumetra {

CPalette::~CPalette() {
    DeleteObject();
}

bool CPalette::CreatePalette(std::span<const PaletteEntry> entries) {
    DeleteObject();
    if (entries.empty() || entries.size() > 256) return false;
    m_entries.assign(entries.begin(), entries.end());
    return true;
}

unsigned CPalette::GetPaletteEntries(unsigned start, std::span<PaletteEntry> out) const {
    if (start >= m_entries.size()) return 0;
    const std::size_t count = std::min(out.size(), m_entries.size() - start);
    std::copy_n(m_entries.begin() + start, count, out.begin());
    return static_cast<unsigned>(count);
}

unsigned CPalette::GetEntryCount() const {
    return static_cast<unsigned>(m_entries.size());
}

void CPalette::DeleteObject() noexcept {
    m_entries.clear();
}

}  // namespace lumetra
