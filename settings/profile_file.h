// Whole-file access for the profile store, one implementation per platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumetra {

// The file's bytes; "" when it (or a folder on its way) does not exist;
// nullopt when it exists but cannot be read (a folder, no permission, ...).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes `contents` to a new, uniquely named file beside `path` and renames
// it over `path`, so that readers see the old file or the new one, never a
// mix. On failure `path` is untouched and the temporary file is removed.
bool ReplaceFileWhole(const std::string& path, std::string_view contents);

}  // namespace lumetra
