// Where there are no executable resources, the bitmap files are compiled into
// the program as byte tables (see resources/CMakeLists.txt), each table
// registering itself at start-up. The bytes are the packed bitmap, without the
// BMP file's 14-byte header, exactly as a Windows bitmap resource holds them.
#pragma once

#include <cstdint>
#include <span>

namespace lumetra {

struct EmbeddedBitmap {
    std::uint16_t id;
    std::span<const std::uint8_t> bytes;
};

// Adds bitmaps to the program's table. An id already present keeps its first
// bytes. Returns true so a registration can initialise a static.
bool RegisterEmbeddedBitmaps(std::span<const EmbeddedBitmap> bitmaps);

// The bytes of bitmap `id`; empty when there is none.
std::span<const std::uint8_t> FindEmbeddedBitmap(std::uint16_t id);

}  // namespace lumetra
