// A prober that sends nothing: it answers each target with the result that a
// results file gives it (the format of `lumetra-map render --results`), so a
// test can drive the whole program to a known frame. Not for users.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "targets/ping_target.h"
#include "targets/results_file.h"
#include "view/target_probe.h"

namespace lumetra::x11 {

class CReplayProber final : public IEchoProber {
public:
    // Each result of the file `resultsFile` belongs to the target at its
    // index in the list that `readTargets` gives, and that target is found
    // again by its address or, without one, by its name. A target without a
    // result does not answer. Both files are read at the first probe, on the
    // thread that probes.
    CReplayProber(std::function<TargetList()> readTargets, std::string resultsFile);

    int PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) override;
    int ResolveHostName(const char* host, std::uint32_t* address) override;
    int PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize,
                     bool* resolved) override;

private:
    using Answer = std::pair<int, int>;  // round trip, second result
    static int Reply(const Answer* answer, int* roundTripMs, int* secondResult);
    void ReadOnce();

    std::function<TargetList()> m_readTargets;  // empty once read
    std::string m_strResultsFile;
    std::map<std::uint32_t, Answer> m_byAddress;
    std::map<std::string, Answer> m_byName;
};

}  // namespace lumetra::x11
