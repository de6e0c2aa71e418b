// Reading the profile store's file whole, one implementation per platform;
// writing goes through ReplaceFileWhole (framework/replace_file.h).
#pragma once

#include <optional>
#include <string>

namespace lumetra {

// The file's bytes; "" when it (or a folder on its way) does not exist;
// nullopt when it exists but cannot be read (a folder, no permission, ...).
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace lumetra
