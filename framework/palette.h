// CPalette: a logical palette. On Windows it owns a GDI palette (HPALETTE)
// and its entries are read back from GDI; elsewhere there is no GDI, and the
// object keeps the entries itself so the same callers work unchanged.
#pragma once

#include <span>
#include <vector>

#include "framework/color_types.h"

namespace lumetra {

class CPalette {
public:
    CPalette() = default;
    ~CPalette();
    CPalette(const CPalette&) = delete;
    CPalette& operator=(const CPalette&) = delete;

    // Makes the palette from `entries` (1 to 256 of them). False, and no
    // palette, when the system cannot make one or the count is out of range.
    bool CreatePalette(std::span<const PaletteEntry> entries);

    // Copies entries from `start` into `out`; returns how many existed.
    unsigned GetPaletteEntries(unsigned start, std::span<PaletteEntry> out) const;

    // Number of entries; 0 when no palette was made.
    unsigned GetEntryCount() const;

    // The HPALETTE on Windows; null elsewhere and before CreatePalette.
    void* GetSafeHandle() const { return m_hPalette; }

private:
    void DeleteObject() noexcept;

    void* m_hPalette = nullptr;           // Windows: the GDI palette
    std::vector<PaletteEntry> m_entries;  // elsewhere: the entries themselves
};

}  // namespace lumetra
