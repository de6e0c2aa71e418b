#include "apps/lumetra-x11/stop_signals_linux.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace lumetra::x11 {

CStopSignals::CStopSignals() {
    sigemptyset(&m_set);
    sigaddset(&m_set, SIGTERM);
    sigaddset(&m_set, SIGINT);
    sigprocmask(SIG_BLOCK, &m_set, nullptr);
    m_fd = signalfd(-1, &m_set, SFD_NONBLOCK | SFD_CLOEXEC);
}

CStopSignals::~CStopSignals() {
    if (m_fd >= 0) close(m_fd);
}

bool CStopSignals::Arrived() {
    signalfd_siginfo info{};
    if (m_fd < 0 || read(m_fd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) return false;
    m_nTaken = static_cast<int>(info.ssi_signo);
    return true;
}

void CStopSignals::EndByTakenSignal() const {
    if (m_nTaken == 0) return;
    static_cast<void>(std::fflush(nullptr));
    static_cast<void>(std::signal(m_nTaken, SIG_DFL));
    // Raised while blocked it waits; unblocked, its default action ends the
    // process here. This thread's mask only: other threads keep theirs.
    static_cast<void>(raise(m_nTaken));
    sigset_t taken;
    sigemptyset(&taken);
    sigaddset(&taken, m_nTaken);
    pthread_sigmask(SIG_UNBLOCK, &taken, nullptr);
    _exit(128 + m_nTaken);  // only if the signal could not end it
}

}  // namespace lumetra::x11
