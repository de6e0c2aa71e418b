// A prober whose echoes wait until the test opens its gate, as a name look-up
// that never answers would, and the wait for a worker's next result. The
// gate is shared: the prober belongs to the worker and may go before the test
// is done with the gate, or stay after the worker has gone.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "view/probe_worker.h"

namespace lumetra::test {

class CProbeGate {
public:
    // Until `count` probes wait at the gate, or the prober is gone (false after 5 s).
    bool AwaitProbes(int count) {
        return Await([&] { return m_nProbes >= count; });
    }
    bool AwaitProberGone() {
        return Await([&] { return m_bProberGone; });
    }
    void Open() {
        Change([&] { m_bOpen = true; });
    }
    int Probes() {
        const std::lock_guard lock(m_mutex);
        return m_nProbes;
    }

private:
    friend class CBlockingProber;
    template <typename Done>
    bool Await(Done done) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), done);
    }
    template <typename Step>
    void Change(Step step) {
        const std::lock_guard lock(m_mutex);
        step();
        m_changed.notify_all();
    }
    int Pass() {
        Change([&] { ++m_nProbes; });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_bOpen; });
        return 0;
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_nProbes = 0;
    bool m_bOpen = false;
    bool m_bProberGone = false;
};

// No echo answers; each waits at the gate.
class CBlockingProber final : public IEchoProber {
public:
    explicit CBlockingProber(std::shared_ptr<CProbeGate> gate) : m_gate(std::move(gate)) {}
    ~CBlockingProber() override {
        m_gate->Change([this] { m_gate->m_bProberGone = true; });
    }
    CBlockingProber(const CBlockingProber&) = delete;
    CBlockingProber& operator=(const CBlockingProber&) = delete;

    int PingAddress(std::uint32_t, int*, int*, int, int) override { return m_gate->Pass(); }
    int ResolveHostName(const char*, std::uint32_t*) override { return 1; }
    int PingHostName(const char*, int*, int*, int, int, bool*) override { return m_gate->Pass(); }

private:
    std::shared_ptr<CProbeGate> m_gate;
};

// The worker's next result, or nothing once `limit` has passed.
inline std::optional<WorkResult> AwaitResult(CProbeWorker& worker,
                                             std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    for (auto waited = std::chrono::milliseconds(0); waited < limit; waited += std::chrono::milliseconds(10)) {
        if (std::optional<WorkResult> result = worker.Take()) return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

}  // namespace lumetra::test
