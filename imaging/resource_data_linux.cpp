// Bitmap resources from the tables compiled into the program.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "imaging/dib_platform.h"
#include "imaging/embedded_bitmaps.h"

namespace lumetra {
namespace {

std::vector<EmbeddedBitmap>& Table() {
    static std::vector<EmbeddedBitmap> table;  // filled while statics initialise
    return table;
}

}  // namespace

bool RegisterEmbeddedBitmaps(std::span<const EmbeddedBitmap> bitmaps) {
    for (const EmbeddedBitmap& b : bitmaps) {
        if (FindEmbeddedBitmap(b.id).empty()) Table().push_back(b);
    }
    return true;
}

std::span<const std::uint8_t> FindEmbeddedBitmap(std::uint16_t id) {
    const auto& table = Table();
    const auto it = std::find_if(table.begin(), table.end(), [id](const EmbeddedBitmap& b) { return b.id == id; });
    return it != table.end() ? it->bytes : std::span<const std::uint8_t>{};
}

std::vector<std::uint8_t> CopyResourceData(std::uint16_t id) {
    const std::span<const std::uint8_t> bytes = FindEmbeddedBitmap(id);
    if (bytes.empty()) throw ResourceException("no bitmap resource " + std::to_string(id));
    try {
        return {bytes.begin(), bytes.end()};
    } catch (const std::bad_alloc&) {
        throw MemoryException("no memory for a copy of bitmap resource " + std::to_string(id));
    }
}

}  // namespace lumetra
