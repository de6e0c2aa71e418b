#include "apps/lumetra-x11/timer_schedule.h"

#include <algorithm>

namespace lumetra::x11 {
namespace {

constexpr std::uint32_t kMinimumMs = 10;
constexpr std::uint32_t kMaximumMs = 0x7FFFFFFF;

}  // namespace

std::chrono::milliseconds TimerPeriod(int ms) {
    const auto asUnsigned = static_cast<std::uint32_t>(ms);
    return std::chrono::milliseconds(std::clamp(asUnsigned, kMinimumMs, kMaximumMs));
}

void CTimerSchedule::Set(unsigned id, int periodMs, Clock::time_point now) {
    const std::chrono::milliseconds period = TimerPeriod(periodMs);
    m_timers[id] = {period, now + period};
}

std::optional<unsigned> CTimerSchedule::TakeDue(Clock::time_point now) {
    auto earliest = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.due <= now && (earliest == m_timers.end() || it->second.due < earliest->second.due)) {
            earliest = it;
        }
    }
    if (earliest == m_timers.end()) return std::nullopt;
    earliest->second.due = now + earliest->second.period;
    return earliest->first;
}

std::optional<Clock::time_point> CTimerSchedule::NextDue() const {
    std::optional<Clock::time_point> next;
    for (const auto& [id, timer] : m_timers) {
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

}  // namespace lumetra::x11
