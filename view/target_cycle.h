// The probe cycle through the target list: one target of the region after the
// other, in list order, wrapping from the tail to the head.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "targets/ping_target.h"

namespace lumetra {

// The view's current target: a place in its list, or none.
using TargetPosition = std::optional<TargetList::iterator>;

// Moves `current` to the next target of `region`. From none it starts at the
// tail, so the first target reached is the first of the region in list
// order. A full cycle without another target of the region ends where it
// started, whatever that target's region. An empty list gives none.
void AdvanceTarget(TargetList& targets, std::string_view region, TargetPosition& current);

// The targets that the cycle visits in one round from none, in that order:
// every target of the region, or the tail alone when there is none of it.
std::vector<PingTarget*> OneProbeCycle(TargetList& targets, std::string_view region);

}  // namespace lumetra
