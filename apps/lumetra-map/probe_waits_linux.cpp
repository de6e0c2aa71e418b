#include "apps/lumetra-map/probe_waits.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <system_error>
#include <utility>
#include <variant>

#include "view/probe_worker.h"
#include "view/wakeup_fd_linux.h"

namespace lumetra::map_tool {
namespace {

sigset_t BlockStops() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    return stops;
}

}  // namespace

struct CInterruptibleProbes::State {
    State()
        : stops(BlockStops()),
          signalFd(signalfd(-1, &stops, SFD_NONBLOCK | SFD_CLOEXEC)),
          wakeup(std::make_shared<CWakeupFd>()),
          worker(std::make_unique<CEchoProber>(), CWakeupFd::WakeOf(wakeup)) {
        if (signalFd < 0) throw std::system_error(errno, std::generic_category(), "signalfd");
    }
    ~State() {
        if (signalFd >= 0) close(signalFd);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    sigset_t stops;  // blocked before the worker's thread starts, so that it inherits the mask
    int signalFd;
    std::shared_ptr<CWakeupFd> wakeup;
    CProbeWorker worker;
    int nSignal = 0;
};

CInterruptibleProbes::CInterruptibleProbes() : m_state(std::make_unique<State>()) {}

CInterruptibleProbes::~CInterruptibleProbes() = default;

std::optional<ProbeOutcome> CInterruptibleProbes::Probe(PingTarget& target, int timeoutMs) {
    m_state->worker.Post(ProbeJob(target, timeoutMs));
    for (;;) {
        m_state->wakeup->Clear();
        if (std::optional<WorkResult> result = m_state->worker.Take()) {
            const ProbeDone& done = std::get<ProbeDone>(*result);
            CopyProbeResults(done.probed, target);
            return done.outcome;
        }
        pollfd watched[] = {{m_state->wakeup->Fd(), POLLIN, 0}, {m_state->signalFd, POLLIN, 0}};
        static_cast<void>(poll(watched, std::size(watched), -1));
        signalfd_siginfo info{};
        if (read(m_state->signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            m_state->nSignal = static_cast<int>(info.ssi_signo);
            return std::nullopt;
        }
    }
}

void CInterruptibleProbes::EndBySignal() const {
    const int signalNumber = m_state->nSignal;
    static_cast<void>(signal(signalNumber, SIG_DFL));
    sigset_t taken;
    sigemptyset(&taken);
    sigaddset(&taken, signalNumber);
    static_cast<void>(raise(signalNumber));
    sigprocmask(SIG_UNBLOCK, &taken, nullptr);  // the default action ends the process here
    std::_Exit(128 + signalNumber);
}

}  // namespace lumetra::map_tool
