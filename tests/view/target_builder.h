// Short-hand for the target lists of the view tests.
#pragma once

#include <memory>
#include <string>

#include "targets/ping_target.h"

namespace lumetra {

struct TargetSpec {
    int x = 200;
    int y = 150;
    int rtt = -1;
    int second = -2;  // -2: the same as rtt, as the prober writes it
    int type = 1;
    std::string region = "USA";
    std::string host = "host.example";
};

inline PingTarget& AddTarget(TargetList& targets, const TargetSpec& spec) {
    auto target = std::make_unique<PingTarget>();
    target->m_nType = spec.type;
    target->m_nX = spec.x;
    target->m_nY = spec.y;
    target->m_nRoundTripMs = spec.rtt;
    target->m_nSecondResult = spec.second == -2 ? spec.rtt : spec.second;
    target->m_strRegion = spec.region;
    target->m_strHost = spec.host;
    targets.push_back(std::move(target));
    return *targets.back();
}

}  // namespace lumetra
