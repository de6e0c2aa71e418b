// The value range of one render: the low and high ends that the legend prints
// and the mid point and span that turn a weight into a ramp index.
//
//   r      a target's round-trip time, ms; -1 none, below -1 the timeout
//   L, H   the smallest and largest r of the region's results (DynamicRange),
//          else PingTimeout / 20 and PingTimeout
//   M, S   (L + H) / 2 and H - L
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/saver_settings.h"
#include "targets/ping_target.h"

namespace lumetra {

struct ValueRange {
    int nLow = 0;            // L
    int nHigh = 1;           // H, never equal to L
    std::int64_t nMid = 0;   // M = (L + H) / 2; L + H may not fit 32 bits
    std::int64_t nSpan = 1;  // S = H - L, never 0 (negative for a negative timeout)
};

// L and H from the results of the region's targets (DynamicRange) or from the
// probe timeout. Equal ends are pulled one apart: H + 1, or L - 1 when H is
// already INT_MAX.
ValueRange ComputeValueRange(const TargetList& targets, std::string_view region, const SaverSettings& settings);

// The round-trip time a target brings into the field: times below -1 stand for
// the timeout, -1 (also a timeout of -1 standing in) means none.
inline std::optional<int> FieldRoundTrip(const PingTarget& target, int pingTimeout) {
    const int r = target.m_nRoundTripMs < -1 ? pingTimeout : target.m_nRoundTripMs;
    if (r == -1) return std::nullopt;
    return r;
}

}  // namespace lumetra
