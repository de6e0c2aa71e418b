#include "view/wakeup_fd_linux.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace lumetra {

CWakeupFd::CWakeupFd() : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (m_fd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

CWakeupFd::~CWakeupFd() {
    ::close(m_fd);
}

void CWakeupFd::Wake() noexcept {
    const std::uint64_t one = 1;
    static_cast<void>(::write(m_fd, &one, sizeof one));
}

void CWakeupFd::Clear() noexcept {
    std::uint64_t count = 0;
    static_cast<void>(::read(m_fd, &count, sizeof count));
}

}  // namespace lumetra
