// A fresh folder of its own under the system's temporary folder for one
// test (or one benchmark), removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::test {

class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // The path of `name` in the folder as an 8-bit string; nothing is made.
    std::string File(const std::string& name) const;

    // Writes `bytes` exactly as given (no newline translation) and returns
    // File(name); std::runtime_error when the file cannot be written.
    std::string Write(const std::string& name, std::string_view bytes) const;

    // The names of the folder's entries, sorted: what a test left in it.
    std::vector<std::string> Names() const;

private:
    std::filesystem::path m_path;
};

}  // namespace lumetra::test
