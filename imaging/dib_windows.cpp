// GDI side of CDib: the DIB section in the image's own memory context, and
// the system palette's static colours.
#include <windows.h>

#include "framework/dc_windows.h"
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

void CreateSection(CDib& dib, CDC& referenceDC) {
    dib.m_pDC.reset(new CDC(CreateCompatibleDC(referenceDC.GetSafeHdc())));  // NOLINT(cppcoreguidelines-owning-memory)
    HDC memory = dib.m_pDC->GetSafeHdc();
    if (memory == nullptr || dib.m_pHeader == nullptr || dib.m_nImageSize == 0) return;
    // Header and colour table are contiguous: together they are the BITMAPINFO.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.m_pHeader);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) return;  // no pixel storage; the image must not be addressed
    dib.m_hBitmap = section;
    dib.m_pBits = static_cast<std::uint8_t*>(bits);
    SelectObject(memory, section);
    GdiFlush();
}

void SyncSectionColors(CDib& dib) {
    if (dib.m_pDC == nullptr || dib.m_hBitmap == nullptr || dib.m_pColors == nullptr) return;
    const auto* colors = reinterpret_cast<const RGBQUAD*>(dib.m_pColors);
    SetDIBColorTable(dib.m_pDC->GetSafeHdc(), 0, dib.m_nColors, colors);
}

void ReleaseSection(CDib& dib) noexcept {
    // A bitmap still selected into a context cannot be deleted: the context goes first.
    dib.m_pDC.reset();
    if (dib.m_hBitmap != nullptr) {
        DeleteObject(static_cast<HBITMAP>(dib.m_hBitmap));
        dib.m_hBitmap = nullptr;
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
