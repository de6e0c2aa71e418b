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

std::string PathText(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) return {};
    if (wide.size() > static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    const int size = static_cast<int>(wide.size());
    // No best fit: a look-alike character could name another, existing file.
    const int narrow =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, converted.data(), narrow, nullptr, nullptr);
    return converted;
}

}  // namespace lumetra
