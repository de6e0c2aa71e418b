#include "apps/lumetra-x11/replay_prober.h"

#include <fstream>
#include <sstream>

namespace lumetra::x11 {

CReplayProber::CReplayProber(std::function<TargetList()> readTargets, std::string resultsFile)
    : m_readTargets(std::move(readTargets)), m_strResultsFile(std::move(resultsFile)) {}

void CReplayProber::ReadOnce() {
    if (!m_readTargets) return;
    const TargetList targets = std::exchange(m_readTargets, nullptr)();
    std::ifstream file(m_strResultsFile, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<const PingTarget*> byIndex;
    for (const auto& target : targets) byIndex.push_back(target.get());
    for (const ProbeResult& result : ParseResults(text.str(), targets.size()).results) {
        if (result.nIndex >= byIndex.size()) continue;
        const PingTarget& target = *byIndex[result.nIndex];
        const Answer answer{result.nRoundTripMs, result.nSecondResult};
        if (target.m_dwAddress != 0) {
            m_byAddress[target.m_dwAddress] = answer;
        } else {
            m_byName[target.m_strHost] = answer;
        }
    }
}

int CReplayProber::Reply(const Answer* answer, int* roundTripMs, int* secondResult) {
    if (answer == nullptr || answer->first < 0) return 0;
    *roundTripMs = answer->first;
    *secondResult = answer->second;
    return 1;
}

int CReplayProber::PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int /*timeoutMs*/,
                               int /*dataSize*/) {
    ReadOnce();
    const auto found = m_byAddress.find(address);
    return Reply(found != m_byAddress.end() ? &found->second : nullptr, roundTripMs, secondResult);
}

int CReplayProber::ResolveHostName(const char* /*host*/, std::uint32_t* /*address*/) {
    return 1;  // like the real one, it leaves the address to every probe's own look-up
}

int CReplayProber::PingHostName(const char* host, int* roundTripMs, int* secondResult, int /*timeoutMs*/,
                                int /*dataSize*/, bool* resolved) {
    ReadOnce();
    *resolved = true;
    const auto found = m_byName.find(host);
    return Reply(found != m_byName.end() ? &found->second : nullptr, roundTripMs, secondResult);
}

}  // namespace lumetra::x11
