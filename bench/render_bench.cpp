// Frame rendering: the real renderer against the pixel-by-pixel reference,
// with 0 to 10,000 targets of mixed types spread over the map. A table of
// the speed-ups follows the benchmark output.
//
// The reference runs up to 1,000 targets only: it visits every target for
// every one of the 159,960 pixels, so one frame with 10,000 targets would take
// many seconds and add nothing the 1,000 case does not show.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/support/reference_field.h"
#include "view/frame_renderer.h"
#include "view/latency_field.h"

namespace lumetra {
namespace {

const CFrameRenderer& Renderer() {
    static const CFrameRenderer renderer;
    return renderer;
}

// Types 1 to 7 in turn, positions over the land of the map, round trips of
// 1 to 600 ms; the same list for every run with the same count.
TargetList MixedTargets(int count) {
    std::mt19937 random(static_cast<unsigned>(count) * 7919U + 1U);
    std::uniform_int_distribution<int> x(7, 486);
    std::uniform_int_distribution<int> y(12, 301);
    std::uniform_int_distribution<int> rtt(1, 600);
    TargetList targets;
    for (int i = 0; i < count; ++i) {
        auto target = std::make_unique<PingTarget>();
        target->m_nType = 1 + i % 7;
        target->m_nX = x(random);
        target->m_nY = y(random);
        target->m_strRegion = "USA";
        target->m_strHost = "host" + std::to_string(i) + ".example";
        target->m_nRoundTripMs = rtt(random);
        target->m_nSecondResult = target->m_nRoundTripMs;
        targets.push_back(std::move(target));
    }
    return targets;
}

SaverSettings BenchSettings() {
    SaverSettings settings;
    settings.m_bShowRange = 1;
    return settings;
}

void BM_RenderFrame(benchmark::State& state) {
    const CFrameRenderer& renderer = Renderer();
    CDib frame;
    renderer.CreateFrame(frame);
    const TargetList targets = MixedTargets(static_cast<int>(state.range(0)));
    const SaverSettings settings = BenchSettings();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
        renderer.RenderFrame(frame, targets, kRegionUsa, settings, targets.empty() ? nullptr : targets.front().get());
        benchmark::DoNotOptimize(frame.GetPixelAddress(0, 0));
        benchmark::ClobberMemory();
    }
    state.counters["targets"] = static_cast<double>(state.range(0));
}

void BM_ReferenceFrame(benchmark::State& state) {
    const CFrameRenderer& renderer = Renderer();
    CDib frame;
    renderer.CreateFrame(frame);
    const TargetList targets = MixedTargets(static_cast<int>(state.range(0)));
    const SaverSettings settings = BenchSettings();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
        ReferenceRenderFrame(renderer, frame, targets, kRegionUsa, settings,
                             targets.empty() ? nullptr : targets.front().get());
        benchmark::DoNotOptimize(frame.GetPixelAddress(0, 0));
        benchmark::ClobberMemory();
    }
    state.counters["targets"] = static_cast<double>(state.range(0));
}

// The field alone with each loop set this processor runs (the first argument
// numbers them), for processors without the fastest.
void BM_FieldLoops(benchmark::State& state) {
    const std::vector<const FieldLoopSet*> sets = AvailableFieldLoops32();
    const auto index = static_cast<std::size_t>(state.range(0));
    if (index >= sets.size()) {
        state.SkipWithError("this processor does not run that loop set");
        return;
    }
    const FieldLoopSet* loops = sets[index];
    state.SetLabel(loops->name);
    const CFrameRenderer& renderer = Renderer();
    std::vector<std::uint8_t> kernel(256 * 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            kernel[static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x)] =
                *renderer.Kernel().GetPixelAddress(x, y);
    }
    CLatencyField field(kernel, *loops);
    RampColors ramp{};
    CDib frame;
    renderer.CreateFrame(frame);
    FrameRows rows{};
    for (int y = 0; y < kFrameHeight; ++y) rows[static_cast<std::size_t>(y)] = frame.GetPixelAddress(0, y);
    const TargetList targets = MixedTargets(static_cast<int>(state.range(1)));
    const SaverSettings settings = BenchSettings();
    const ValueRange range = ComputeValueRange(targets, kRegionUsa, settings);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
        field.Paint(targets, kRegionUsa, settings, range, ramp, rows);
        benchmark::ClobberMemory();
    }
    state.counters["targets"] = static_cast<double>(state.range(1));
}

BENCHMARK(BM_RenderFrame)->Arg(0)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceFrame)->Arg(0)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldLoops)->ArgsProduct({{0, 1, 2}, {100, 1000}})->Unit(benchmark::kMillisecond);

// Prints the usual console output and keeps the CPU time per frame of each
// run, for the table of speed-ups at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos) continue;
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            m_times[name.substr(0, slash)][std::stoi(name.substr(slash + 1))] = seconds;
        }
    }

    void PrintRatios() const {
        const auto fast = m_times.find("BM_RenderFrame");
        const auto reference = m_times.find("BM_ReferenceFrame");
        if (fast == m_times.end() || reference == m_times.end()) return;
        std::printf("\n%8s %14s %14s %9s   (field loops: %s)\n", "targets", "reference ms", "renderer ms", "speed-up",
                    FieldLoops32().name);
        for (const auto& [count, fastSeconds] : fast->second) {
            const auto ref = reference->second.find(count);
            if (ref == reference->second.end()) {
                std::printf("%8d %14s %14.3f %9s\n", count, "-", fastSeconds * 1e3, "-");
            } else {
                std::printf("%8d %14.3f %14.3f %8.1fx\n", count, ref->second * 1e3, fastSeconds * 1e3,
                            ref->second / fastSeconds);
            }
        }
    }

private:
    std::map<std::string, std::map<int, double>> m_times;
};

}  // namespace
}  // namespace lumetra

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    lumetra::CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
