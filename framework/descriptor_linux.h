// Linux: one open file descriptor, closed with its owner.
#pragma once

#include <unistd.h>

#include <utility>

namespace lumetra {

class CDescriptor {
public:
    explicit CDescriptor(int fd) : m_nFd(fd) {}
    ~CDescriptor() {
        if (m_nFd >= 0) ::close(m_nFd);
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;

    int Get() const { return m_nFd; }
    // Closes it now, for a caller that must know whether the close worked
    // (a write's last error may show only there).
    bool Close() { return ::close(std::exchange(m_nFd, -1)) == 0; }

private:
    int m_nFd;
};

}  // namespace lumetra
