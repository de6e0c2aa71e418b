// What the importers share: hosts checked and placed as target lines, the
// rows that cannot be kept as problems, a host listed twice among them.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "places/host_import.h"
#include "places/target_fields.h"

namespace lumetra {

class CTargetCollector {
public:
    explicit CTargetCollector(const CLandMask& land) : m_land(land) {}

    // The line of a host at `latitude`, `longitude`, or a problem of input
    // line `nLine` whose message starts with `label` (when not empty).
    void Add(std::size_t nLine, std::string_view label, const TargetFields& fields, double latitude, double longitude);
    void AddProblem(std::size_t nLine, std::string_view label, const std::string& reason);
    void CountSkipped() { ++m_result.nSkipped; }

    ImportResult Take() { return std::move(m_result); }

private:
    const CLandMask& m_land;
    ImportResult m_result;
    std::map<std::string, std::size_t> m_hostLines;  // host in lower case -> line that added it
};

// Latitude and longitude as a message shows them, e.g. "47.6553, -122.3035".
std::string DegreesText(double latitude, double longitude);

}  // namespace lumetra
