// The window's two timers without a window system: set (and set again) by id
// with a period, due once the period has passed. Like window timers, a timer
// that is late fires once, not once for every period missed, and is then
// armed one period from the moment it was handled.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>

namespace lumetra::x11 {

using Clock = std::chrono::steady_clock;

// A period as the platform's timers take it: an unsigned count of
// milliseconds, raised to 10 and capped at 2^31 - 1, so a negative or zero
// period from a hand-edited settings file neither spins nor stops the timer.
std::chrono::milliseconds TimerPeriod(int ms);

class CTimerSchedule {
public:
    // Starts timer `id`, or replaces its period and restarts it.
    void Set(unsigned id, int periodMs, Clock::time_point now);
    void Kill(unsigned id) { m_timers.erase(id); }

    // The timer that is due at `now`, earliest first (the lower id on a tie),
    // armed again one period after `now`; nothing when none is due.
    std::optional<unsigned> TakeDue(Clock::time_point now);

    // When the next timer falls due; nothing without timers.
    std::optional<Clock::time_point> NextDue() const;

private:
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
    };
    std::map<unsigned, Timer> m_timers;
};

}  // namespace lumetra::x11
