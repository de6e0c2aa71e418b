// The probes of `lumetra-map probe` run on a worker thread and are waited for
// here together with the user's stop (SIGINT and SIGTERM on Linux, Ctrl-C and
// Ctrl-Break in a Windows console), so that a stop ends the run at once even
// during a name look-up that never answers: such a look-up cannot be
// cancelled, and is abandoned. Each platform waits in a file of its own.
#pragma once

#include <memory>
#include <optional>

#include "targets/ping_target.h"
#include "view/target_probe.h"

namespace lumetra::map_tool {

class CInterruptibleProbes {
public:
    // Holds the stops back for good: from here on they are taken only while a
    // probe is waited for, never while a file is being made.
    CInterruptibleProbes();
    ~CInterruptibleProbes();
    CInterruptibleProbes(const CInterruptibleProbes&) = delete;
    CInterruptibleProbes& operator=(const CInterruptibleProbes&) = delete;

    // Probes `target` as ProbeTarget does and writes its results into it;
    // nothing when a stop came first.
    std::optional<ProbeOutcome> Probe(PingTarget& target, int timeoutMs);

    // Ends the process by the stop that came, as it would have ended had the
    // stop not been held back.
    [[noreturn]] void EndBySignal() const;

private:
    struct State;  // the platform's: the stops held back, the worker and its wake-up
    std::unique_ptr<State> m_state;
};

}  // namespace lumetra::map_tool
