// Shared by the settings tests: raw file access and two sets of settings
// values.
#pragma once

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/saver_settings.h"

namespace lumetra::test {

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

// The integers in member order.
inline std::vector<int> Numbers(const SaverSettings& s) {
    return {s.m_nMapMotion,    s.m_nPingPeriod,   s.m_nPingTimeout, s.m_nColorStyle,
            s.m_bDynamicRange, s.m_bShowRange,    s.m_bSmoothColor, s.m_bLearnTargets,
            s.m_bShowData,     s.m_bSaveFinalBMP, s.m_nMapScale,    s.m_bAllMonitors};
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
