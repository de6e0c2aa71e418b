#include <windows.h>

#include <climits>
#include <new>

#include "framework/native_path.h"

namespace lumetra {

// Converted here rather than by std::filesystem::path, which may take 8-bit
// text as UTF-8 and throw on a name in the ANSI code page.
std::filesystem::path NativePath(const std::string& path) {
    if (path.empty()) return {};
    if (path.size() > static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    const int size = static_cast<int>(path.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), size, converted.data(), wide);
    return converted;
}

}  // namespace lumetra
