#include "view/target_probe.h"

#include "probe/echo_prober.h"

namespace lumetra {

int CEchoProber::PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) {
    return lumetra::PingAddress(address, roundTripMs, secondResult, timeoutMs, dataSize);
}

int CEchoProber::ResolveHostName(const char* host, std::uint32_t* address) {
    return lumetra::ResolveHostName(host, address);
}

int CEchoProber::PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize,
                              bool* resolved) {
    return lumetra::PingHostName(host, roundTripMs, secondResult, timeoutMs, dataSize, resolved);
}

ProbeOutcome ProbeTarget(PingTarget& target, int timeoutMs, IEchoProber& prober) {
    target.m_nRoundTripMs = -1;
    target.m_nSecondResult = -1;
    // The calls' own results are not needed: the two fields tell success.
    bool resolved = true;
    if (target.m_dwAddress != 0) {
        static_cast<void>(prober.PingAddress(target.m_dwAddress, &target.m_nRoundTripMs, &target.m_nSecondResult,
                                             timeoutMs, kEchoDataSize));
    } else {
        static_cast<void>(prober.ResolveHostName(target.m_strHost.c_str(), &target.m_dwAddress));
        static_cast<void>(prober.PingHostName(target.m_strHost.c_str(), &target.m_nRoundTripMs, &target.m_nSecondResult,
                                              timeoutMs, kEchoDataSize, &resolved));
    }
    if (target.HasResult()) return ProbeOutcome::kAnswered;
    return resolved ? ProbeOutcome::kUnanswered : ProbeOutcome::kUnknownHost;
}

}  // namespace lumetra
