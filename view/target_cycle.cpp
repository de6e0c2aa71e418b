#include "view/target_cycle.h"

namespace lumetra {

void AdvanceTarget(TargetList& targets, std::string_view region, TargetPosition& current) {
    if (targets.empty()) {
        current.reset();
        return;
    }
    if (!current) current = std::prev(targets.end());
    const TargetList::iterator start = *current;
    TargetList::iterator at = start;
    do {
        if (++at == targets.end()) at = targets.begin();
    } while (at != start && !IsOfRegion(**at, region));
    current = at;
}

std::vector<PingTarget*> OneProbeCycle(TargetList& targets, std::string_view region) {
    std::vector<PingTarget*> cycle;
    TargetPosition current;
    AdvanceTarget(targets, region, current);
    if (!current) return cycle;
    const TargetList::iterator first = *current;
    do {
        cycle.push_back((*current)->get());
        AdvanceTarget(targets, region, current);
    } while (*current != first);
    return cycle;
}

}  // namespace lumetra
