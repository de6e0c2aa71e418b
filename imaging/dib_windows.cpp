// GDI side of CDib: the DIB section in the image's own memory context, and
// the system palette's static colours.
#include <windows.h>

#include <new>

#include "framework/dc_windows.h"
#include "framework/exceptions.h"
#include "imaging/dib.h"
#include "imaging/dib_platform.h"

namespace lumetra {

void DcDeleter::operator()(CDC* dc) const noexcept {
    delete dc;
}  // NOLINT(cppcoreguidelines-owning-memory)

namespace dib_platform {

bool UsesSection(const CDC* referenceDC) {
    return referenceDC != nullptr;
}

Section CreateSection(CDC& referenceDC, const BitmapInfoHeader& info) {
    Section section;
    // The object first: a context never exists without an owner to delete it.
    try {
        section.dc.reset(new CDC);  // NOLINT(cppcoreguidelines-owning-memory)
    } catch (const std::bad_alloc&) {
        throw MemoryException("no memory for a drawing context");
    }
    section.dc->Attach(CreateCompatibleDC(referenceDC.GetSafeHdc()));
    HDC memory = section.dc->GetSafeHdc();
    if (memory == nullptr) return section;
    // Header and colour table are contiguous: together they are the BITMAPINFO.
    const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(&info);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return section;  // no pixel storage; the image must not be addressed
    section.bitmap = bitmap;
    section.bits = static_cast<std::uint8_t*>(bits);
    SelectObject(memory, bitmap);
    GdiFlush();
    return section;
}

void SyncSectionColors(const CDC* dc, const void* bitmap, std::span<const RgbQuad> colors) {
    if (dc == nullptr || bitmap == nullptr || colors.empty()) return;
    const auto* table = reinterpret_cast<const RGBQUAD*>(colors.data());
    SetDIBColorTable(dc->GetSafeHdc(), 0, static_cast<UINT>(colors.size()), table);
}

void ReleaseSection(std::unique_ptr<CDC, DcDeleter>& dc, void*& bitmap) noexcept {
    // A bitmap still selected into a context cannot be deleted: the context goes first.
    dc.reset();
    if (bitmap != nullptr) {
        DeleteObject(static_cast<HBITMAP>(bitmap));
        bitmap = nullptr;
    }
}

void FlushDrawing() {
    GdiFlush();
}

void ApplySystemColors(std::array<PaletteEntry, 256>& entries) {
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return;
    if ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0) {
        std::array<PALETTEENTRY, 256> system{};
        GetSystemPaletteEntries(screen, 0, 256, system.data());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (i < 10 || i >= 246) {
                entries[i] = PaletteEntry{system[i].peRed, system[i].peGreen, system[i].peBlue, system[i].peFlags};
            }
        }
    }
    ::ReleaseDC(nullptr, screen);
}

}  // namespace dib_platform
}  // namespace lumetra
