// The probe results that `lumetra-map render` paints: one line per result,
// "INDEX RTT [SECOND]", INDEX the 0-based position of the record in the target
// list, SECOND the prober's second output (RTT when left out). Blank lines and
// lines starting with '#' are skipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "targets/ping_target.h"

namespace lumetra {

struct ProbeResult {
    std::size_t nIndex = 0;
    int nRoundTripMs = -1;
    int nSecondResult = -1;
};

struct ResultsReadout {
    std::vector<ProbeResult> results;
    std::string error;  // empty when every line was good; else "line N: ..."
};

// targetCount: the number of records, for the range check of INDEX.
ResultsReadout ParseResults(std::string_view text, std::size_t targetCount);

// Writes the results into the records they name.
void ApplyResults(TargetList& targets, const std::vector<ProbeResult>& results);

}  // namespace lumetra
