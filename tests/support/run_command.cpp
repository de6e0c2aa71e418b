#include "tests/support/run_command.h"

#include <array>
#include <cstdio>

namespace lumetra::test {

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
#ifdef _WIN32
    static_cast<void>(command);
#else
    std::FILE* pipe = popen(command.c_str(), "r");  // NOLINT(cert-env33-c): test-only commands
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), n);
    result.ok = pclose(pipe) == 0;
#endif
    return result;
}

}  // namespace lumetra::test
