#include "tests/support/install_build.h"

#include <filesystem>
#include <optional>

#include "tests/support/files.h"
#include "tests/support/shell_text.h"

namespace lumetra::test {

CommandResult InstallBuild(const std::string& cmake, const std::string& buildDir, const std::string& prefix) {
    const std::filesystem::path manifest = std::filesystem::path(buildDir) / "install_manifest.txt";
    std::optional<std::string> kept;
    if (std::filesystem::exists(manifest)) kept = ReadAll(manifest);
    CommandResult result =
        RunCommand(Quote(cmake) + " --install " + Quote(buildDir) + " --prefix " + Quote(prefix) + " 2>&1");
    if (kept) {
        WriteAll(manifest, *kept);
    } else {
        std::error_code ignored;
        std::filesystem::remove(manifest, ignored);
    }
    return result;
}

}  // namespace lumetra::test
