// Whole files read and written as bytes, for tests that compare what a
// program wrote with what they expect.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::test {

// The whole file as bytes; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file with exactly `bytes` (no newline translation).
void WriteAll(const std::filesystem::path& path, std::string_view bytes);

}  // namespace lumetra::test
