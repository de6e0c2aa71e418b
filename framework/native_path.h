// Paths in settings and target files are 8-bit strings written for Windows,
// such as ".\lumetra.txt". NativePath makes one of them openable here.
#pragma once

#include <filesystem>
#include <string>

namespace lumetra {

// On POSIX every '\' becomes '/', since a backslash there is an ordinary file
// name character. On Windows the path stays as written, read in the ANSI code
// page like every other 8-bit string of the program.
std::filesystem::path NativePath(const std::string& path);

}  // namespace lumetra
