// One turn of the saver's probe timer with the bundled targets: the next
// target, its probe and the render of the whole frame. The echo is answered
// at once by a stand-in, so the figure is the saver's own work per probe;
// the network adds the round trip on top.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "view/latency_map_view.h"
#include "view/random_source.h"
#include "view/target_probe.h"

namespace lumetra {
namespace {

// Every echo answered in 42 ms, every name resolved.
class CInstantProber final : public IEchoProber {
public:
    int PingAddress(std::uint32_t /*address*/, int* roundTripMs, int* secondResult, int /*timeoutMs*/,
                    int /*dataSize*/) override {
        return Answer(roundTripMs, secondResult);
    }
    int ResolveHostName(const char* /*host*/, std::uint32_t* address) override {
        *address = 0x0100007F;
        return 1;
    }
    int PingHostName(const char* /*host*/, int* roundTripMs, int* secondResult, int /*timeoutMs*/, int /*dataSize*/,
                     bool* resolved) override {
        if (resolved != nullptr) *resolved = true;
        return Answer(roundTripMs, secondResult);
    }

private:
    static int Answer(int* roundTripMs, int* secondResult) {
        if (roundTripMs != nullptr) *roundTripMs = 42;
        if (secondResult != nullptr) *secondResult = 42;
        return 1;
    }
};

void BM_ProbeAndRenderBundled(benchmark::State& state) {
    CLatencyMapView view;
    view.Settings().m_strTargetFile = LUMETRA_SOURCE_DIR "/resources/lumetra.txt";
    view.Settings().m_bShowData = 1;
    view.Settings().m_bShowRange = 1;
    CRuntimeRandom random;
    CInstantProber prober;
    if (!view.Start({0, 0, 1024, 768}, nullptr, random)) {
        state.SkipWithError("the view did not start");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(view.ProbeNextTarget(prober));
    }
    state.counters["targets"] = static_cast<double>(view.Targets().size());
}
BENCHMARK(BM_ProbeAndRenderBundled)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
