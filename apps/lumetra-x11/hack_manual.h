// The manual page of lumetra-x11 (section 6, as xscreensaver's hacks have
// theirs), written from the same tables as its help.
#pragma once

#include <string>

namespace lumetra::x11 {

std::string HackManual();

}  // namespace lumetra::x11
