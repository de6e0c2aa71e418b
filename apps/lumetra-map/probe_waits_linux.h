// The probes of `lumetra-map probe` run on a worker thread and are waited for
// here together with SIGINT and SIGTERM, so that Ctrl-C ends the run at once
// even during a name look-up that never answers: such a look-up cannot be
// cancelled, and is abandoned.
#pragma once

#include <signal.h>

#include <memory>
#include <optional>

#include "targets/ping_target.h"
#include "view/probe_worker.h"
#include "view/wakeup_fd_linux.h"

namespace lumetra::map_tool {

class CInterruptibleProbes {
public:
    // Blocks SIGINT and SIGTERM for good: from here on they are taken only
    // while a probe is waited for, never while a file is being made.
    CInterruptibleProbes();
    ~CInterruptibleProbes();
    CInterruptibleProbes(const CInterruptibleProbes&) = delete;
    CInterruptibleProbes& operator=(const CInterruptibleProbes&) = delete;

    // Probes `target` as ProbeTarget does and writes its results into it;
    // nothing when a stop signal came first.
    std::optional<ProbeOutcome> Probe(PingTarget& target, int timeoutMs);

    // Ends the process by the stop signal that came, as it would have ended
    // had the signal not been blocked.
    [[noreturn]] void EndBySignal() const;

private:
    static sigset_t BlockStops();

    sigset_t m_stops;  // blocked before the worker's thread starts, so that it inherits the mask
    int m_signalFd;
    std::shared_ptr<CWakeupFd> m_wakeup;
    CProbeWorker m_worker;
    int m_nSignal = 0;
};

}  // namespace lumetra::map_tool
