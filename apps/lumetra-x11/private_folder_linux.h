// A folder only its owner may enter, made with its missing parents as the
// XDG base directories ask (mode 0700 for every folder it makes).
#pragma once

#include <string>

namespace lumetra::x11 {

// Whether `path` is a folder afterwards.
bool MakePrivateFolder(const std::string& path);

}  // namespace lumetra::x11
