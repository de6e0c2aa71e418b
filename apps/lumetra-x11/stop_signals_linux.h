// SIGTERM and SIGINT, the ways xscreensaver and a terminal end a hack, as a
// descriptor that the run's loop polls beside the X connection.
#pragma once

#include <signal.h>

namespace lumetra::x11 {

class CStopSignals {
public:
    // Blocks both signals first, so that none can arrive while the view is
    // half-way through anything; they wait on the descriptor instead.
    CStopSignals();
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    int Fd() const { return m_fd; }
    // Whether one of them arrived since the last call (it is taken).
    bool Arrived() const;

private:
    sigset_t m_set{};
    int m_fd = -1;
};

}  // namespace lumetra::x11
