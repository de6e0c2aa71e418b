// Shared by the settings tests: a scratch folder, raw file access and two
// sets of settings values.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "settings/saver_settings.h"

namespace lumetra::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
class CTempFolder {
public:
    CTempFolder() {
        static std::atomic<unsigned> s_nCounter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("lumetra-settings-" + std::to_string(stamp) + "-" + std::to_string(s_nCounter++));
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Every entry's name, to prove that nothing was left behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path m_path;
};

// The file's bytes as the standard library reads them ("" when missing).
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    std::array<char, 4096> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The ten integers in member order.
inline std::vector<int> Numbers(const SaverSettings& s) {
    return {s.m_nMapMotion, s.m_nPingPeriod,  s.m_nPingTimeout,  s.m_nColorStyle, s.m_bDynamicRange,
            s.m_bShowRange, s.m_bSmoothColor, s.m_bLearnTargets, s.m_bShowData,   s.m_bSaveFinalBMP};
}

inline bool Same(const SaverSettings& a, const SaverSettings& b) {
    return a.m_strTargetFile == b.m_strTargetFile && Numbers(a) == Numbers(b);
}

// Every value the dialog writes differs from its default.
inline SaverSettings Edited() {
    SaverSettings s;
    s.m_nMapMotion = 1;
    s.m_nPingPeriod = 30000;
    s.m_nPingTimeout = 5000;
    s.m_nColorStyle = 0;
    s.m_bDynamicRange = 1;
    s.m_bShowRange = 1;
    s.m_bSmoothColor = 0;
    s.m_bLearnTargets = 1;
    return s;
}

}  // namespace lumetra::test
