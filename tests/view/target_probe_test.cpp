// The probe step: results reset, by address or by name, and the outcome
// that tells an unanswered echo from a name that does not resolve.
#include "view/target_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/view/case_name.h"
#include "tests/view/scripted_prober.h"

namespace lumetra {
namespace {

using test::CScriptedProber;

constexpr std::uint32_t kAddress = 0x0C0012C6;  // 198.18.0.12, never sent anywhere: the prober is scripted

PingTarget Target(std::uint32_t address, const std::string& host) {
    PingTarget target;
    target.m_dwAddress = address;
    target.m_strHost = host;
    target.m_nRoundTripMs = 77;  // a result from an earlier probe
    target.m_nSecondResult = 77;
    return target;
}

struct ProbeCase {
    const char* name;
    std::uint32_t address;
    const char* host;
    ProbeOutcome outcome;
    int roundTrip;
    std::vector<std::string> calls;
};

class ProbeStep : public ::testing::TestWithParam<ProbeCase> {
protected:
    void SetUp() override {
        m_prober.byAddress[kAddress] = 42;
        m_prober.byName["answers.test"] = 9;
        m_prober.unknown = {"nowhere.invalid"};
    }
    CScriptedProber m_prober;
};

TEST_P(ProbeStep, ResetsTheResultsThenProbesOnceWithTheTimeoutAndThirtyTwoBytes) {
    const ProbeCase& c = GetParam();
    PingTarget target = Target(c.address, c.host);
    EXPECT_EQ(ProbeTarget(target, 650, m_prober), c.outcome);
    EXPECT_EQ(target.m_nRoundTripMs, c.roundTrip);
    EXPECT_EQ(target.m_nSecondResult, c.roundTrip);

    std::vector<std::string> calls;
    for (const auto& call : m_prober.calls) {
        calls.push_back(call.what);
        if (call.what == "ResolveHostName") {
            EXPECT_EQ(call.host, c.host);
            EXPECT_EQ(call.address, 0U) << "the name is resolved into the empty address field";
            continue;
        }
        EXPECT_EQ(call.timeoutMs, 650);
        EXPECT_EQ(call.dataSize, 32);
        EXPECT_EQ(call.roundTripBefore, -1) << "the old result was not reset before the echo";
        EXPECT_EQ(call.secondBefore, -1);
        if (call.what == "PingAddress") {
            EXPECT_EQ(call.address, c.address);
        } else {
            EXPECT_EQ(call.host, c.host);
        }
    }
    EXPECT_EQ(calls, c.calls);
}

const ProbeCase kProbes[] = {
    {"AddressThatAnswers", kAddress, "answers.test", ProbeOutcome::kAnswered, 42, {"PingAddress"}},
    {"AddressThatIsSilent", kAddress + 1, "answers.test", ProbeOutcome::kUnanswered, -1, {"PingAddress"}},
    {"NameThatAnswers", 0, "answers.test", ProbeOutcome::kAnswered, 9, {"ResolveHostName", "PingHostName"}},
    {"NameThatIsSilent", 0, "silent.test", ProbeOutcome::kUnanswered, -1, {"ResolveHostName", "PingHostName"}},
    {"NameThatDoesNotResolve",
     0,
     "nowhere.invalid",
     ProbeOutcome::kUnknownHost,
     -1,
     {"ResolveHostName", "PingHostName"}},
};

INSTANTIATE_TEST_SUITE_P(Targets, ProbeStep, ::testing::ValuesIn(kProbes), test::CaseName());

}  // namespace
}  // namespace lumetra
