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
    // Whether one of them arrived since the last call (it is taken, and kept
    // as the one to end by).
    bool Arrived();
    // Ends the process by the signal taken last, as that signal's default
    // action does, so that the parent sees a hack ended by its SIGTERM rather
    // than one that exited by itself. Returns when none was taken.
    void EndByTakenSignal() const;

private:
    sigset_t m_set{};
    int m_fd = -1;
    int m_nTaken = 0;
};

}  // namespace lumetra::x11
