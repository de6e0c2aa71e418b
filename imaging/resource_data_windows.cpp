// Bitmap resources from the executable (RT_BITMAP: the packed bitmap, as the
// resource compiler stores a BMP file without its file header).
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "imaging/dib_platform.h"

namespace lumetra {

std::vector<std::uint8_t> CopyResourceData(std::uint16_t id) {
    HMODULE module = GetModuleHandleA(nullptr);                                      // the program's own resources
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // 2: RT_BITMAP
    if (found == nullptr) throw ResourceException("no bitmap resource " + std::to_string(id));
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) throw MemoryException("bitmap resource " + std::to_string(id) + " cannot be loaded");
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (bytes == nullptr) throw MemoryException("bitmap resource " + std::to_string(id) + " cannot be locked");
    try {
        return {bytes, bytes + size};
    } catch (const std::bad_alloc&) {
        throw MemoryException("no memory for a copy of bitmap resource " + std::to_string(id));
    }
}

}  // namespace lumetra
