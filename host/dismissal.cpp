#include "host/dismissal.h"

namespace lumetra {
namespace {

// |a - b| computed in 32-bit unsigned arithmetic: defined for every pair.
std::uint32_t Distance(std::int32_t a, std::int32_t b) {
    const auto ua = static_cast<std::uint32_t>(a);
    const auto ub = static_cast<std::uint32_t>(b);
    return a >= b ? ua - ub : ub - ua;
}

}  // namespace

bool MovedBeyondThreshold(ScreenPoint anchor, ScreenPoint cursor, std::uint32_t threshold) {
    const std::uint32_t dx = Distance(cursor.x, anchor.x);
    const std::uint32_t dy = Distance(cursor.y, anchor.y);
    // Each part within the threshold first, so that the sum cannot wrap.
    return dx > threshold || dy > threshold || dx + dy > threshold;
}

bool VerificationDue(std::uint32_t lastVerifyTick, std::uint32_t nowTick) {
    return lastVerifyTick == kNoVerifyYet || nowTick - lastVerifyTick >= kVerifyIntervalMs;
}

}  // namespace lumetra
