// Reading a file that must be a regular one. A FIFO, a device or a pipe is
// refused before anything is read, without waiting for a writer or a peer,
// so that a target file named wrongly holds nothing up.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace lumetra {

// The whole file at `path` into `contents`. Returns the system's error when it
// cannot be opened or read, std::errc::invalid_argument when it is not a
// regular file, else no error.
[[nodiscard]] std::error_code ReadRegularFile(const std::filesystem::path& path, std::string& contents);

}  // namespace lumetra
