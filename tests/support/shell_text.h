// Small helpers for tests that run our command-line tools through the shell
// and read back what they wrote.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/files.h"  // ReadAll, for the tests that read back what a tool wrote

namespace lumetra::test {

// `text` as one single-quoted shell word.
inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The lines of `text` without their line feeds.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace lumetra::test
