// The committed bundled target file and host table, read for the tests: the
// positions in resources/lumetra.txt are the generator's own placements.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumetra::test {

inline std::string SourceFile(const std::string& relative) {
    std::ifstream in(std::string(LUMETRA_SOURCE_DIR) + "/" + relative, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + relative);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The target lines of the bundled file, without comments and blank lines.
inline std::vector<std::string> BundledTargetLines() {
    std::istringstream in(SourceFile("resources/lumetra.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() != ';') lines.push_back(line);
    }
    return lines;
}

// The "X,Y" field of the bundled host `host`.
inline std::string BundledPosition(const std::string& host) {
    for (const std::string& line : BundledTargetLines()) {
        std::istringstream fields(line);
        std::string field[6];
        for (std::string& f : field) std::getline(fields, f, '\t');
        if (field[2] == host) return field[5];
    }
    throw std::runtime_error("no bundled host " + host);
}

}  // namespace lumetra::test
