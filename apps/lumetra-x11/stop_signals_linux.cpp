#include "apps/lumetra-x11/stop_signals_linux.h"

#include <sys/signalfd.h>
#include <unistd.h>

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

bool CStopSignals::Arrived() const {
    signalfd_siginfo info{};
    return m_fd >= 0 && read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info);
}

}  // namespace lumetra::x11
