#include "apps/lumetra-map/probe_waits.h"

#include <windows.h>

#include <atomic>
#include <system_error>
#include <variant>

#include "view/probe_worker.h"

namespace lumetra::map_tool {
namespace {

// An event, closed with its owner.
class CEvent {
public:
    explicit CEvent(bool manualReset) : m_hEvent(CreateEventW(nullptr, manualReset, FALSE, nullptr)) {
        if (m_hEvent == nullptr) throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
    }
    ~CEvent() { CloseHandle(m_hEvent); }
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    HANDLE Handle() const { return m_hEvent; }

private:
    HANDLE m_hEvent;
};

// The console calls its handlers on a thread of its own and gives them no
// context: the handler finds the event to set here.
std::atomic<HANDLE> g_hStopEvent{nullptr};

BOOL WINAPI OnConsoleStop(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;  // closing and logoff end it as ever
    const HANDLE stop = g_hStopEvent.load();
    if (stop == nullptr) return FALSE;
    SetEvent(stop);
    return TRUE;  // held back until a probe is waited for
}

}  // namespace

struct CInterruptibleProbes::State {
    State() : worker(std::make_unique<CEchoProber>(), [ready = resultReady.Handle()] { SetEvent(ready); }) {
        g_hStopEvent.store(stop.Handle());
        SetConsoleCtrlHandler(OnConsoleStop, TRUE);
    }
    ~State() {
        SetConsoleCtrlHandler(OnConsoleStop, FALSE);
        g_hStopEvent.store(nullptr);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Declared before the worker, so that they outlive its last wake-up.
    CEvent stop{true};          // set for good by Ctrl-C or Ctrl-Break
    CEvent resultReady{false};  // set by the worker when a result waits
    CProbeWorker worker;
};

CInterruptibleProbes::CInterruptibleProbes() : m_state(std::make_unique<State>()) {}

CInterruptibleProbes::~CInterruptibleProbes() = default;

std::optional<ProbeOutcome> CInterruptibleProbes::Probe(PingTarget& target, int timeoutMs) {
    m_state->worker.Post(ProbeJob(target, timeoutMs));
    for (;;) {
        if (std::optional<WorkResult> result = m_state->worker.Take()) {
            const ProbeDone& done = std::get<ProbeDone>(*result);
            CopyProbeResults(done.probed, target);
            return done.outcome;
        }
        // A result and a stop at once: the result first, as on Linux.
        const HANDLE waited[] = {m_state->resultReady.Handle(), m_state->stop.Handle()};
        if (WaitForMultipleObjects(2, waited, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) return std::nullopt;
    }
}

void CInterruptibleProbes::EndBySignal() const {
    // The exit code of a console program that Ctrl-C ends by default.
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace lumetra::map_tool
