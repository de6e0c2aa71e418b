// The saver's persisted options with their built-in defaults.
#pragma once

#include <string>

namespace lumetra {

struct SaverSettings {
    std::string m_strTargetFile = ".\\lumetra.txt";  // "TargetFile", never written
    int m_nMapMotion = 3;                            // "MapMotion": drift bound, pixels per tick
    int m_nPingPeriod = 2000;                        // "PingPeriod": ms between probes
    int m_nPingTimeout = 600;                        // "PingTimeout": ms an echo may take
    int m_nColorStyle = 1;                           // "ColorStyle": 0 hops, 1 speed; stored only
    int m_bDynamicRange = 0;                         // "DynamicRange"
    int m_bShowRange = 0;                            // "ShowRange": the legend
    int m_bSmoothColor = 1;                          // "SmoothColor": off gives 8 bands
    int m_bLearnTargets = 0;                         // "LearnTargets": stored only
    int m_bShowData = 0;                             // "ShowData": labels; never written
    int m_bSaveFinalBMP = 1;                         // "SaveFinalBMP": snapshot on exit; never written
};

}  // namespace lumetra
