// No GDI here: every image keeps its rows in the packed layout, there are no
// drawing contexts and no palette device.
#include "imaging/dib.h"
#include "imaging/dib_platform.h"

namespace lumetra {

// No CDC can exist on this platform, so there is never one to delete.
void DcDeleter::operator()(CDC* /*dc*/) const noexcept {}

namespace dib_platform {

bool UsesSection(const CDC* /*referenceDC*/) {
    return false;
}
Section CreateSection(CDC& /*referenceDC*/, const BitmapInfoHeader& /*info*/) {
    return {};
}
void SyncSectionColors(const CDC* /*dc*/, const void* /*bitmap*/, std::span<const RgbQuad> /*colors*/) {}
void ReleaseSection(std::unique_ptr<CDC, DcDeleter>& dc, void*& bitmap) noexcept {
    dc.reset();
    bitmap = nullptr;
}
void FlushDrawing() {}
void ApplySystemColors(std::array<PaletteEntry, 256>& /*entries*/) {}

}  // namespace dib_platform
}  // namespace lumetra
