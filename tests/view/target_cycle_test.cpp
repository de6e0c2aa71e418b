// The probe cycle: which target each tick of timer 2 probes.
#include "view/target_cycle.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/support/target_builder.h"
#include "tests/view/case_name.h"

namespace lumetra {
namespace {

TargetList ListOfRegions(const std::vector<std::string>& regions) {
    TargetList targets;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        AddTarget(targets, TargetSketch{.region = regions[i], .host = std::to_string(i)});
    }
    return targets;
}

// The list index of each target reached by `ticks` calls from none; -1 for none.
std::vector<int> Visits(TargetList& targets, int ticks) {
    std::vector<int> visits;
    TargetPosition current;
    for (int i = 0; i < ticks; ++i) {
        AdvanceTarget(targets, kRegionUsa, current);
        visits.push_back(current ? static_cast<int>(std::distance(targets.begin(), *current)) : -1);
    }
    return visits;
}

std::vector<int> Indices(const std::vector<PingTarget*>& cycle) {
    std::vector<int> indices;
    for (const PingTarget* target : cycle) indices.push_back(std::stoi(target->m_strHost));
    return indices;
}

struct CycleCase {
    const char* name;
    std::vector<std::string> regions;
    std::vector<int> visits;  // of five ticks
    std::vector<int> oneCycle;
};

class TargetCycle : public ::testing::TestWithParam<CycleCase> {};

TEST_P(TargetCycle, VisitsTheRegionInListOrder) {
    TargetList targets = ListOfRegions(GetParam().regions);
    EXPECT_EQ(Visits(targets, 5), GetParam().visits);
    EXPECT_EQ(Indices(OneProbeCycle(targets, kRegionUsa)), GetParam().oneCycle);
}

const CycleCase kCycles[] = {
    {"FirstOfTheRegionFirst", {"CAN", "USA", "MEX", "USA"}, {1, 3, 1, 3, 1}, {1, 3}},
    {"WrapsFromTheTail", {"USA", "USA", "USA"}, {0, 1, 2, 0, 1}, {0, 1, 2}},
    {"TailOfAnotherRegionStillStartsAtTheHead", {"USA", "CAN"}, {0, 0, 0, 0, 0}, {0}},
    {"NoneOfTheRegionProbesTheTail", {"CAN", "MEX", "EUR"}, {2, 2, 2, 2, 2}, {2}},
    {"RegionIsCaseSensitiveAndUntrimmed", {"usa", "USA ", " USA", "USAX", "US"}, {4, 4, 4, 4, 4}, {4}},
    {"OneOfTheRegionAmongOthers", {"usa", "USA", "USA "}, {1, 1, 1, 1, 1}, {1}},
    {"OneTargetOfTheRegion", {"USA"}, {0, 0, 0, 0, 0}, {0}},
    {"OneTargetOfAnotherRegion", {"CAN"}, {0, 0, 0, 0, 0}, {0}},
    {"EmptyListHasNoCurrentTarget", {}, {-1, -1, -1, -1, -1}, {}},
};

INSTANTIATE_TEST_SUITE_P(Lists, TargetCycle, ::testing::ValuesIn(kCycles), test::CaseName());

TEST(TargetCycleState, CurrentTargetIsClearedWhenTheListIsEmptied) {
    TargetList targets = ListOfRegions({"USA", "USA"});
    TargetPosition current;
    AdvanceTarget(targets, kRegionUsa, current);
    ASSERT_TRUE(current.has_value());
    targets.clear();
    AdvanceTarget(targets, kRegionUsa, current);
    EXPECT_FALSE(current.has_value());
}

}  // namespace
}  // namespace lumetra
