// Shared by the settings tests: raw file access (the test library's) and two
// sets of settings values.
#pragma once

#include <vector>

#include "settings/saver_settings.h"
#include "tests/support/files.h"

namespace lumetra::test {

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
