#include "apps/lumetra-x11/private_folder_linux.h"

#include <sys/stat.h>

#include <cerrno>

namespace lumetra::x11 {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool MakePrivateFolder(const std::string& path) {
    // Each level in turn, so a folder is never there with looser modes.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return IsFolder(path);
}

}  // namespace lumetra::x11
