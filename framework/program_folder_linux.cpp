#include "framework/program_folder.h"

namespace lumetra {

std::filesystem::path ProgramFolder(std::error_code& error) {
    // The kernel's link to the file this process was started from.
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

}  // namespace lumetra
