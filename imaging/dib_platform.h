// The platform's part of CDib: DIB sections, drawing contexts, the system
// palette. dib_windows.cpp does it with GDI; dib_linux.cpp has no GDI and
// keeps every image in the packed layout. None of it sees a CDib: the image
// hands over what a step needs and keeps what comes back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "imaging/bitmap_types.h"
#include "imaging/dib.h"

namespace lumetra {

class CDC;

namespace dib_platform {

// A DIB section in a memory drawing context of its own.
struct Section {
    std::unique_ptr<CDC, DcDeleter> dc;  // null only when there is no section at all
    void* bitmap = nullptr;              // the HBITMAP; null when it could not be made
    std::uint8_t* bits = nullptr;        // its first pixel byte; null with it
};

// Whether Create puts the pixels into a DIB section for this reference context.
bool UsesSection(const CDC* referenceDC);
// A memory context compatible with `referenceDC` holding a DIB section that
// `info` describes; the colour table must follow the header in memory. A
// context or section the system cannot make leaves those members null; no
// memory for the context's object throws MemoryException.
Section CreateSection(CDC& referenceDC, const BitmapInfoHeader& info);
// Tells the section the colour table's colours (after a load replaced them).
void SyncSectionColors(const CDC* dc, const void* bitmap, std::span<const RgbQuad> colors);
// Releases the section and its context and nulls both.
void ReleaseSection(std::unique_ptr<CDC, DcDeleter>& dc, void*& bitmap) noexcept;
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
