// Runs a shell command and keeps its standard output: the tests' way to ask
// an independent program (ImageMagick, xdotool) what it sees.
#pragma once

#include <string>

namespace lumetra::test {

struct CommandResult {
    bool ok = false;     // it started and exited with 0
    std::string output;  // its standard output
};

// Always fails where there is no POSIX shell (the tests under Wine).
CommandResult RunCommand(const std::string& command);

}  // namespace lumetra::test
