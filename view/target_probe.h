// The probe of one target: its results reset, then one echo by address, or
// by host name for a target without an address.
#pragma once

#include <cstdint>

#include "targets/ping_target.h"

namespace lumetra {

// Bytes of echo data in every probe.
inline constexpr int kEchoDataSize = 32;

// The echo prober as the view calls it, so that the probe step can be tested
// without a network. The calls and results are those of probe/echo_prober.h.
class IEchoProber {
public:
    virtual ~IEchoProber() = default;
    virtual int PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs,
                            int dataSize) = 0;
    virtual int ResolveHostName(const char* host, std::uint32_t* address) = 0;
    // `resolved`: whether the name was looked up and resolved.
    virtual int PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize,
                             bool* resolved) = 0;

protected:
    IEchoProber() = default;
    IEchoProber(const IEchoProber&) = default;
    IEchoProber& operator=(const IEchoProber&) = default;
};

// The real prober: ICMP echoes on the platform's network.
class CEchoProber final : public IEchoProber {
public:
    int PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) override;
    int ResolveHostName(const char* host, std::uint32_t* address) override;
    int PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize,
                     bool* resolved) override;
};

// The saver only looks at the target's results; a report tells a name that
// does not resolve from a host that does not answer.
enum class ProbeOutcome {
    kAnswered,     // both results hold the round-trip time
    kUnanswered,   // no reply within the timeout; both results -1
    kUnknownHost,  // the target's name did not resolve; both results -1
};

// Sets both results to -1, then probes: by address when the target has one,
// else resolves its name and probes by name. Waits at most `timeoutMs` for
// the echo (plus the name look-up).
ProbeOutcome ProbeTarget(PingTarget& target, int timeoutMs, IEchoProber& prober);

}  // namespace lumetra
