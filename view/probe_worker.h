// One thread beside the user-interface thread for the work that can wait on
// the network or a file system: the probes (a name look-up may block for many
// seconds and cannot be cancelled) and the reading of the target file. It
// runs one job at a time, in the order posted, and hands each result back
// through a wake-up that the front end turns into an event of its own loop (a
// window message on Windows, a readable descriptor on Linux), so that the
// user-interface thread only ever waits for input, timers and results.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <variant>

#include "targets/ping_target.h"
#include "view/target_probe.h"

namespace lumetra {

// A probed target: a copy of it, with the probe's results.
struct ProbeDone {
    PingTarget probed;
    ProbeOutcome outcome = ProbeOutcome::kUnanswered;
};

// The records of a target file, in file order.
struct TargetsRead {
    TargetList targets;
};

using WorkResult = std::variant<ProbeDone, TargetsRead>;
// Runs on the worker's thread, with the worker's prober.
using WorkJob = std::function<WorkResult(IEchoProber&)>;

// The probe of a copy of `target` (see ProbeTarget): the target itself is not
// touched until its result is handed back.
WorkJob ProbeJob(const PingTarget& target, int timeoutMs);

// What a probe changes in its target: both results, and the address that a
// look-up may store.
void CopyProbeResults(const PingTarget& probed, PingTarget& target);

class CProbeWorker {
public:
    // Starts the thread. `wake` is called on it whenever a result is ready and
    // must only tell the user-interface thread so (post a message, write a
    // descriptor).
    CProbeWorker(std::unique_ptr<IEchoProber> prober, std::function<void()> wake);
    ~CProbeWorker();
    CProbeWorker(const CProbeWorker&) = delete;
    CProbeWorker& operator=(const CProbeWorker&) = delete;

    void Post(WorkJob job);

    // The oldest result not yet taken; an exception that a job threw is
    // thrown here, on the taker's thread.
    std::optional<WorkResult> Take();

    // Ends the worker; jobs not started are dropped. An idle worker is
    // joined. One that is still running a job is abandoned and returns true:
    // it finishes (or blocks) on its own, wakes no one and drops its result,
    // and shares only its own state with nobody, so the process may end
    // without waiting for it. Later calls do nothing.
    bool Stop();

private:
    struct State;
    static void Run(const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_state;
    std::thread m_thread;
    bool m_bAbandoned = false;
};

}  // namespace lumetra
