// The arithmetic behind the saver's dismissal rules, apart from any window so
// that every front end decides alike and the rules are tested natively.
#pragma once

#include <cstdint>

namespace lumetra {

// A mouse movement closes the saver when it has gone further than this many
// pixels (horizontal plus vertical distance) from the anchor.
inline constexpr std::uint32_t kMouseThreshold = 4;

// A new password verification runs only this long after the last one ended.
inline constexpr std::uint32_t kVerifyIntervalMs = 200;

// "No verification yet" in the tick of the last one.
inline constexpr std::uint32_t kNoVerifyYet = 0xFFFFFFFF;

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// |dx| + |dy| between anchor and cursor, compared as an unsigned 32-bit value
// with the threshold, so a distance that does not fit in 31 bits still counts
// as far (and nothing overflows on the way).
bool MovedBeyondThreshold(ScreenPoint anchor, ScreenPoint cursor, std::uint32_t threshold = kMouseThreshold);

// True when a verification may run now: none yet, or at least the interval
// since the last one ended, counted modulo 2^32 so that the tick counter's
// wrap-around after 49.7 days changes nothing.
bool VerificationDue(std::uint32_t lastVerifyTick, std::uint32_t nowTick);

}  // namespace lumetra
