// Short-hand for the target lists of the view tests.
#pragma once

#include <memory>
#include <string>

#include "targets/ping_target.h"

namespace lumetra {

// The few fields of a target a view test cares about; AddTarget turns the
// sketch into a record of the list.
struct TargetSketch {
    int x = 200;
    int y = 150;
    int rtt = -1;
    int second = -2;  // -2: the same as rtt, as the prober writes it
    int type = 1;
    std::string region = "USA";
    std::string host = "host.example";
};

inline PingTarget& AddTarget(TargetList& targets, const TargetSketch& sketch) {
    auto target = std::make_unique<PingTarget>();
    target->m_nType = sketch.type;
    target->m_nX = sketch.x;
    target->m_nY = sketch.y;
    target->m_nRoundTripMs = sketch.rtt;
    target->m_nSecondResult = sketch.second == -2 ? sketch.rtt : sketch.second;
    target->m_strRegion = sketch.region;
    target->m_strHost = sketch.host;
    targets.push_back(std::move(target));
    return *targets.back();
}

}  // namespace lumetra
