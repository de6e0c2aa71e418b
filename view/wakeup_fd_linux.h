// The probe worker's wake-up on Linux: a descriptor (an eventfd) that a poll
// loop watches beside its others, readable once a result is waiting.
#pragma once

#include <functional>
#include <memory>

namespace lumetra {

class CWakeupFd {
public:
    CWakeupFd();
    ~CWakeupFd();
    CWakeupFd(const CWakeupFd&) = delete;
    CWakeupFd& operator=(const CWakeupFd&) = delete;

    int Fd() const { return m_fd; }
    // From any thread.
    void Wake() noexcept;
    // Before the loop takes the results, so that a result that comes after
    // them wakes it again.
    void Clear() noexcept;

    // The worker's `wake`: it keeps the descriptor open as long as it lives.
    static std::function<void()> WakeOf(const std::shared_ptr<CWakeupFd>& wakeup) {
        return [wakeup] { wakeup->Wake(); };
    }

private:
    int m_fd;
};

}  // namespace lumetra
