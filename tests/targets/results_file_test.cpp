#include "targets/results_file.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/target_builder.h"

namespace lumetra {
namespace {

TEST(ResultsFile, ReadsIndexRoundTripAndOptionalSecond) {
    const ResultsReadout readout =
        ParseResults("0 24\n  2\t-1 \r\n# comment\n\n5 7 -1\n1 2147483647\n3 -2147483648", 6);
    ASSERT_EQ(readout.error, "");
    ASSERT_EQ(readout.results.size(), 5U);
    EXPECT_EQ(readout.results[0].nIndex, 0U);
    EXPECT_EQ(readout.results[0].nRoundTripMs, 24);
    EXPECT_EQ(readout.results[0].nSecondResult, 24);  // SECOND defaults to RTT
    EXPECT_EQ(readout.results[1].nIndex, 2U);
    EXPECT_EQ(readout.results[1].nRoundTripMs, -1);
    EXPECT_EQ(readout.results[2].nSecondResult, -1);
    EXPECT_EQ(readout.results[3].nRoundTripMs, INT_MAX);
    EXPECT_EQ(readout.results[4].nRoundTripMs, INT_MIN);
}

TEST(ResultsFile, EmptyTextHasNoResults) {
    const ResultsReadout readout = ParseResults("", 0);
    EXPECT_EQ(readout.error, "");
    EXPECT_TRUE(readout.results.empty());
}

TEST(ResultsFile, NamesTheFirstBadLine) {
    struct Case {
        const char* text;
        std::size_t targets;
        const char* error;
    };
    for (const Case& c : {
             Case{"0 1\n1 +5\n", 3, "line 2: RTT '+5' is not a 32-bit integer"},
             Case{"0 1\n0x1 5\n", 3, "line 2: INDEX '0x1' is not a number from 0 up"},
             Case{"0 -2147483649\n", 3, "line 1: RTT '-2147483649' is not a 32-bit integer"},
             Case{"0 1 2 3\n", 3, "line 1: expected INDEX RTT [SECOND], found 4 fields"},
             Case{"\n\n7\n", 9, "line 3: expected INDEX RTT [SECOND], the round-trip time is missing"},
             Case{"3 1\n", 3, "line 1: INDEX 3 is out of range: the target file has 3 records"},
             Case{"1 1\n2 2\n1 3\n", 3, "line 3: INDEX 1 already has a result on line 1"},
             Case{"99999999999999999999999 1\n", 3,
                  "line 1: INDEX '99999999999999999999999' is not a number from 0 up"},
         }) {
        const ResultsReadout readout = ParseResults(c.text, c.targets);
        EXPECT_EQ(readout.error, c.error) << c.text;
    }
}

TEST(ResultsFile, ApplyWritesTheNamedRecordsOnly) {
    TargetList targets;
    for (int i = 0; i < 4; ++i) AddTarget(targets, {.x = i});
    const ResultsReadout readout = ParseResults("3 30\n1 10 -1\n", targets.size());
    ASSERT_EQ(readout.error, "");
    ApplyResults(targets, readout.results);
    std::vector<std::pair<int, int>> seen;
    for (const auto& t : targets) seen.emplace_back(t->m_nRoundTripMs, t->m_nSecondResult);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{-1, -1}, {10, -1}, {-1, -1}, {30, 30}}));
}

}  // namespace
}  // namespace lumetra
