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

// The other way: a path of the host as the program's 8-bit text, the form
// that CFile and the saver's readers take. On Windows in the ANSI code page
// (path::string() would give UTF-8 there, which fopen reads as ANSI); a
// character the code page lacks becomes '?', which names no file.
std::string PathText(const std::filesystem::path& path);

}  // namespace lumetra
