// The platform's part of CDib: DIB sections, drawing contexts, the system
// palette. dib_windows.cpp does it with GDI; dib_linux.cpp has no GDI and
// keeps every image in the packed layout.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/bitmap_types.h"

namespace lumetra {

class CDib;
class CDC;

namespace dib_platform {

// Whether Create puts the pixels into a DIB section for this reference context.
bool UsesSection(const CDC* referenceDC);
// Makes the memory context and the DIB section; on failure leaves them null.
void CreateSection(CDib& dib, CDC& referenceDC);
// Tells the section the colour table's colours (after a load replaced them).
void SyncSectionColors(CDib& dib);
// Releases the section and its context.
void ReleaseSection(CDib& dib) noexcept;
// Finishes pending drawing before the pixels are read directly.
void FlushDrawing();
// Replaces entries 0-9 and 246-255 with the system's static colours when the
// screen is a palette device.
void ApplySystemColors(std::array<PaletteEntry, 256>& entries);

}  // namespace dib_platform

// The bytes of bitmap resource `id` of this program: a packed bitmap, without
// the 14-byte file header. Missing: ResourceException.
std::vector<std::uint8_t> CopyResourceData(std::uint16_t id);

}  // namespace lumetra
