// One host of the target file with its last probe results, and the view's
// ordered list of them.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace lumetra {

// The region word whose targets are coloured, labelled, probed and listed.
inline constexpr std::string_view kRegionUsa = "USA";

struct PingTarget {
    int m_nType = 0;                // 1 to 7: icon index in IDB_TARGET_ICONS
    std::uint32_t m_dwAddress = 0;  // IPv4, first dotted number in the lowest byte; 0 = probe by name
    std::string m_strAddress;       // field 2 as written
    std::string m_strHost;          // field 3
    std::string m_strInfo;          // field 4, stored only
    std::string m_strNote;          // field 5, "*" for none
    int m_nX = 0;                   // map position in frame pixels, 0 at the left
    int m_nY = 0;                   // 0 at the top
    std::string m_strRegion;        // field 7
    int m_nRoundTripMs = -1;        // last round-trip time in ms, -1 = no result
    int m_nSecondResult = -1;       // the prober's second output, -1 = none

    // Both results are 0 or more.
    bool HasResult() const { return m_nRoundTripMs >= 0 && m_nSecondResult >= 0; }
};

// The region rule: the whole word, byte for byte, case-sensitive, no trimming.
inline bool IsOfRegion(const PingTarget& target, std::string_view region) {
    return target.m_strRegion == region;
}

// In file order. The unique pointers own the records, so emptying the list
// deletes them and nothing can be freed twice; iterators stay valid while
// other records are added, which the view's current position relies on.
using TargetList = std::list<std::unique_ptr<PingTarget>>;

}  // namespace lumetra
