// The probe worker on its own: jobs in order, results handed back with a
// wake-up each, and a job that blocks abandoned rather than waited for.
#include "view/probe_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include "tests/view/blocking_prober.h"
#include "tests/view/scripted_prober.h"

namespace lumetra {
namespace {

using namespace std::chrono_literals;

PingTarget Target(std::uint32_t address, const char* host = "") {
    PingTarget target;
    target.m_dwAddress = address;
    target.m_strHost = host;
    return target;
}

TEST(ProbeWorker, HandsBackEachResultInTheOrderPostedAndWakesTheLoopForEach) {
    auto prober = std::make_unique<test::CScriptedProber>();
    prober->byAddress = {{1, 30}, {2, 10}, {3, 20}};
    auto wakes = std::make_shared<std::atomic<int>>(0);
    CProbeWorker worker(std::move(prober), [wakes] { ++*wakes; });
    for (const std::uint32_t address : {1U, 2U, 3U, 4U}) worker.Post(ProbeJob(Target(address), 600));

    std::vector<int> results;
    for (int i = 0; i < 4; ++i) {
        const std::optional<WorkResult> result = test::AwaitResult(worker);
        ASSERT_TRUE(result) << "result " << i << " never came";
        const ProbeDone& done = std::get<ProbeDone>(*result);
        results.push_back(static_cast<int>(done.probed.m_dwAddress) * 1000 + done.probed.m_nRoundTripMs);
    }
    EXPECT_EQ(results, (std::vector<int>{1030, 2010, 3020, 3999})) << "address * 1000 + round trip";
    EXPECT_EQ(*wakes, 4);
    EXPECT_FALSE(worker.Stop()) << "an idle worker was not joined";
}

TEST(ProbeWorker, AJobThatBlocksIsAbandonedNotWaitedForAndWakesNoOneAfterwards) {
    const auto gate = std::make_shared<test::CProbeGate>();
    auto wakes = std::make_shared<std::atomic<int>>(0);
    auto worker = std::make_unique<CProbeWorker>(std::make_unique<test::CBlockingProber>(gate), [wakes] { ++*wakes; });
    worker->Post(ProbeJob(Target(0, "hangs.example"), 600));
    worker->Post(ProbeJob(Target(1), 600));
    ASSERT_TRUE(gate->Await([&] { return gate->probes > 0; }));

    std::future<bool> stopped = std::async(std::launch::async, [&worker] { return worker->Stop(); });
    const bool returned = stopped.wait_for(2s) == std::future_status::ready;
    gate->Change([&] { gate->open = true; });  // lets the thread end, whichever way the test went
    ASSERT_TRUE(returned) << "Stop waited for the job";
    EXPECT_TRUE(stopped.get()) << "not reported as abandoned";
    worker.reset();  // the object goes while its thread may still run

    ASSERT_TRUE(gate->Await([&] { return gate->proberGone; })) << "the abandoned thread never let go of its state";
    EXPECT_EQ(*wakes, 0) << "the abandoned job handed its result back";
    EXPECT_EQ(gate->probes, 1) << "the job posted after it ran";
}

}  // namespace
}  // namespace lumetra
