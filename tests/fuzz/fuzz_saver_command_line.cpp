// Fuzzes lumetra.scr's command line: the program name skipped, the run mode
// read and the window handle after it. Each answer is held against a plain
// reading of the grammar: separators ' ', '-' and '/', the mode letter in
// either case, spaces, then decimal digits that wrap modulo 2^32.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/command_line.h"

namespace {

using lumetra::RunMode;

void Require(bool condition) {
    if (!condition) std::abort();
}

RunMode ModeOf(char letter) {
    switch (letter) {
        case '\0': return RunMode::Config;
        case 's':
        case 'S': return RunMode::Saver;
        case 'c':
        case 'C': return RunMode::ConfigOwned;
        case 'p':
        case 'P':
        case 'l':
        case 'L': return RunMode::Preview;
        case 'a':
        case 'A': return RunMode::ChangePassword;
        default: return RunMode::Invalid;
    }
}

bool Within(const char* p, const std::string& text) {
    return p >= text.c_str() && p <= text.c_str() + text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The process command line is a C string: it ends at the first zero.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string line(text.c_str());

    const char* afterName = lumetra::SkipProgramName(line.c_str());
    Require(Within(afterName, line));
    Require(*afterName == '\0' || static_cast<unsigned char>(*afterName) > 0x20);

    const lumetra::ParsedCommand command = lumetra::ParseRunMode(line.c_str());
    std::size_t at = line.find_first_not_of(" -/");
    if (at == std::string::npos) at = line.size();
    Require(command.mode == ModeOf(line[at]));
    Require(Within(command.rest, line));
    if (command.mode == RunMode::Preview || command.mode == RunMode::ChangePassword) {
        std::size_t rest = at + 1;
        while (line[rest] == ' ') ++rest;
        Require(command.rest == line.c_str() + rest);
        std::uint32_t handle = 0;
        for (std::size_t i = rest; line[i] >= '0' && line[i] <= '9'; ++i) handle = handle * 10U + (line[i] - '0');
        Require(lumetra::ParseHandle(command.rest) == handle);
    }
    return 0;
}
