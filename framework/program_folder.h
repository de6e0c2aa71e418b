// Where the running program's file lies, so that the files installed with it
// are found wherever the installation was put.
#pragma once

#include <filesystem>
#include <system_error>

namespace lumetra {

// The folder of the program's own executable file, links resolved.
std::filesystem::path ProgramFolder(std::error_code& error);

}  // namespace lumetra
