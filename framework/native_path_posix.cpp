#include <algorithm>

#include "framework/native_path.h"

namespace lumetra {

std::filesystem::path NativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string PathText(const std::filesystem::path& path) {
    return path.string();
}

}  // namespace lumetra
