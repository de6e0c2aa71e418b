// A prober whose echoes wait at a gate until the test opens it, as a name
// look-up that never answers would, and the wait for a worker's next result.
// The gate is shared: the prober belongs to the worker and may go before the
// test is done with the gate, or stay after the worker has gone.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "view/probe_worker.h"

namespace lumetra::test {

struct CProbeGate {
    std::mutex mutex;
    std::condition_variable changed;
    int probes = 0;  // that came to the gate
    bool open = false;
    bool proberGone = false;

    // Until `done` holds (false after 5 s).
    bool Await(const std::function<bool()>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), done);
    }
    void Change(const std::function<void()>& step) {
        const std::lock_guard lock(mutex);
        step();
        changed.notify_all();
    }
};

class CBlockingProber final : public IEchoProber {
public:
    explicit CBlockingProber(std::shared_ptr<CProbeGate> gate) : m_gate(std::move(gate)) {}
    ~CBlockingProber() override {
        m_gate->Change([this] { m_gate->proberGone = true; });
    }
    CBlockingProber(const CBlockingProber&) = delete;
    CBlockingProber& operator=(const CBlockingProber&) = delete;

    int PingAddress(std::uint32_t, int*, int*, int, int) override { return Pass(); }
    int ResolveHostName(const char*, std::uint32_t*) override { return 1; }
    int PingHostName(const char*, int*, int*, int, int, bool*) override { return Pass(); }

private:
    int Pass() {
        m_gate->Change([this] { ++m_gate->probes; });
        std::unique_lock lock(m_gate->mutex);
        m_gate->changed.wait(lock, [this] { return m_gate->open; });
        return 0;  // no answer
    }
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
