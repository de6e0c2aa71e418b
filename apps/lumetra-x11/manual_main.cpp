// Prints the manual page of lumetra-x11, for the build to install.
#include <cstdio>

#include "apps/lumetra-x11/hack_manual.h"

int main() {
    const std::string page = lumetra::x11::HackManual();
    return std::fwrite(page.data(), 1, page.size(), stdout) == page.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
