#include "view/value_range.h"

#include <algorithm>
#include <climits>

namespace lumetra {

namespace {

struct Ends {
    int nLow;
    int nHigh;
};

Ends ObservedEnds(const TargetList& targets, std::string_view region) {
    bool found = false;
    Ends ends{0, 0};
    for (const auto& target : targets) {
        if (!IsOfRegion(*target, region) || !target->HasResult()) continue;
        const int r = target->m_nRoundTripMs;
        ends = found ? Ends{std::min(ends.nLow, r), std::max(ends.nHigh, r)} : Ends{r, r};
        found = true;
    }
    return ends;
}

}  // namespace

ValueRange ComputeValueRange(const TargetList& targets, std::string_view region, const SaverSettings& settings) {
    Ends ends = settings.m_bDynamicRange != 0 ? ObservedEnds(targets, region)
                                              : Ends{settings.m_nPingTimeout / 20, settings.m_nPingTimeout};
    if (ends.nLow == ends.nHigh) {
        // One apart so the span is never 0; at the top of int the low end moves.
        if (ends.nHigh < INT_MAX) {
            ++ends.nHigh;
        } else {
            --ends.nLow;
        }
    }
    ValueRange range;
    range.nLow = ends.nLow;
    range.nHigh = ends.nHigh;
    range.nMid = (std::int64_t{ends.nLow} + ends.nHigh) / 2;
    range.nSpan = std::int64_t{ends.nHigh} - ends.nLow;
    return range;
}

}  // namespace lumetra
