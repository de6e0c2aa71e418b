#include "view/probe_worker.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>

namespace lumetra {

// Kept alive by the worker's thread as long as by the worker, so that an
// abandoned thread never meets a destroyed object.
struct CProbeWorker::State {
    std::unique_ptr<IEchoProber> prober;
    std::function<void()> wake;
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<WorkJob> jobs;
    std::deque<std::variant<WorkResult, std::exception_ptr>> done;
    bool running = false;
    bool stopped = false;
};

WorkJob ProbeJob(const PingTarget& target, int timeoutMs) {
    return [target, timeoutMs](IEchoProber& prober) -> WorkResult {
        ProbeDone done{target, ProbeOutcome::kUnanswered};
        done.outcome = ProbeTarget(done.probed, timeoutMs, prober);
        return done;
    };
}

void CopyProbeResults(const PingTarget& probed, PingTarget& target) {
    target.m_dwAddress = probed.m_dwAddress;
    target.m_nRoundTripMs = probed.m_nRoundTripMs;
    target.m_nSecondResult = probed.m_nSecondResult;
}

CProbeWorker::CProbeWorker(std::unique_ptr<IEchoProber> prober, std::function<void()> wake)
    : m_state(std::make_shared<State>()) {
    m_state->prober = std::move(prober);
    m_state->wake = std::move(wake);
    m_thread = std::thread(Run, m_state);
}

CProbeWorker::~CProbeWorker() {
    static_cast<void>(Stop());
}

void CProbeWorker::Run(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->posted.wait(lock, [&state] { return state->stopped || !state->jobs.empty(); });
        if (state->stopped) return;
        const WorkJob job = std::move(state->jobs.front());
        state->jobs.pop_front();
        state->running = true;
        lock.unlock();
        std::variant<WorkResult, std::exception_ptr> result;
        try {
            result = job(*state->prober);
        } catch (...) {
            result = std::current_exception();
        }
        lock.lock();
        state->running = false;
        if (state->stopped) return;  // abandoned
        state->done.push_back(std::move(result));
        // Under the lock: once Stop has had it, no wake-up comes any more.
        state->wake();
    }
}

void CProbeWorker::Post(WorkJob job) {
    {
        const std::lock_guard lock(m_state->mutex);
        if (m_state->stopped) return;
        m_state->jobs.push_back(std::move(job));
    }
    m_state->posted.notify_one();
}

std::optional<WorkResult> CProbeWorker::Take() {
    std::variant<WorkResult, std::exception_ptr> taken;
    {
        const std::lock_guard lock(m_state->mutex);
        if (m_state->done.empty()) return std::nullopt;
        taken = std::move(m_state->done.front());
        m_state->done.pop_front();
    }
    if (auto* error = std::get_if<std::exception_ptr>(&taken)) std::rethrow_exception(*error);
    return std::move(std::get<WorkResult>(taken));
}

bool CProbeWorker::Stop() {
    if (!m_thread.joinable()) return m_bAbandoned;
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->stopped = true;
        m_state->jobs.clear();
        m_bAbandoned = m_state->running;
    }
    m_state->posted.notify_all();
    if (m_bAbandoned) {
        m_thread.detach();
    } else {
        m_thread.join();
    }
    return m_bAbandoned;
}

}  // namespace lumetra
