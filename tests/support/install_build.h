// `cmake --install` of the build tree, as a test runs it: the build tree's
// install_manifest.txt, the user's record of what their own install put
// where, is left as it was (or absent, as it was).
#pragma once

#include <string>

#include "tests/support/run_command.h"

namespace lumetra::test {

// Installs the build tree `buildDir` under `prefix` with `cmake`; the output
// of cmake, and ok when it succeeded.
CommandResult InstallBuild(const std::string& cmake, const std::string& buildDir, const std::string& prefix);

}  // namespace lumetra::test
