#include "apps/lumetra-map/probe_waits_linux.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <system_error>
#include <utility>
#include <variant>

namespace lumetra::map_tool {

sigset_t CInterruptibleProbes::BlockStops() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    return stops;
}

CInterruptibleProbes::CInterruptibleProbes()
    : m_stops(BlockStops()),
      m_signalFd(signalfd(-1, &m_stops, SFD_NONBLOCK | SFD_CLOEXEC)),
      m_wakeup(std::make_shared<CWakeupFd>()),
      m_worker(std::make_unique<CEchoProber>(), CWakeupFd::WakeOf(m_wakeup)) {
    if (m_signalFd < 0) throw std::system_error(errno, std::generic_category(), "signalfd");
}

CInterruptibleProbes::~CInterruptibleProbes() {
    if (m_signalFd >= 0) close(m_signalFd);
}

std::optional<ProbeOutcome> CInterruptibleProbes::Probe(PingTarget& target, int timeoutMs) {
    m_worker.Post(ProbeJob(target, timeoutMs));
    for (;;) {
        m_wakeup->Clear();
        if (std::optional<WorkResult> result = m_worker.Take()) {
            const ProbeDone& done = std::get<ProbeDone>(*result);
            CopyProbeResults(done.probed, target);
            return done.outcome;
        }
        pollfd watched[] = {{m_wakeup->Fd(), POLLIN, 0}, {m_signalFd, POLLIN, 0}};
        static_cast<void>(poll(watched, std::size(watched), -1));
        signalfd_siginfo info{};
        if (read(m_signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            m_nSignal = static_cast<int>(info.ssi_signo);
            return std::nullopt;
        }
    }
}

void CInterruptibleProbes::EndBySignal() const {
    static_cast<void>(signal(m_nSignal, SIG_DFL));
    sigset_t taken;
    sigemptyset(&taken);
    sigaddset(&taken, m_nSignal);
    static_cast<void>(raise(m_nSignal));
    sigprocmask(SIG_UNBLOCK, &taken, nullptr);  // the default action ends the process here
    std::_Exit(128 + m_nSignal);
}

}  // namespace lumetra::map_tool
