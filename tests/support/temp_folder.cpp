#include "tests/support/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace lumetra::test {

CTempFolder::CTempFolder() {
    // Another test, or another build's tests, may be making folders at the
    // same moment: a name is ours only once create_directory has made it.
    static std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    do {
        m_path = base / ("lumetra-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(m_path));
}

CTempFolder::~CTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string CTempFolder::File(const std::string& name) const {
    return (m_path / name).string();
}

std::string CTempFolder::Write(const std::string& name, std::string_view bytes) const {
    std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

std::vector<std::string> CTempFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace lumetra::test
