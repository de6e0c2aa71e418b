// Parsing target lines: our reader against the C library's strtok_r, atoi
// and sscanf doing the same work, measured in the same run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "targets/target_line.h"

namespace {

const char kLine[] = "  3\t10.1.2.3\thost.example.net\tcampus network\t*\t120,85\tUSA";

void ParseWithOurReader(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
        lumetra::ParsedLine parsed = lumetra::ParseTargetLine(kLine);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetItemsProcessed(state.iterations());
}

// The reference: the same splitting, number reading and record building.
void ParseWithCLibrary(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
        std::vector<char> buffer(kLine, kLine + sizeof kLine);
        char* rest = nullptr;
        std::array<std::string_view, 7> fields;
        std::size_t count = 0;
        for (char* t = strtok_r(buffer.data() + 2, "\t", &rest); t != nullptr && count < fields.size();
             t = strtok_r(nullptr, "\t", &rest)) {
            fields[count++] = t;
        }
        if (count != fields.size()) {
            state.SkipWithError("the sample line lost a field");
            break;
        }
        lumetra::PingTarget target;
        target.m_nType = std::atoi(fields[0].data());  // NOLINT(cert-err34-c): the reference being measured
        int a[4] = {};
        if (std::sscanf(fields[1].data(), "%d.%d.%d.%d", &a[0], &a[1], &a[2], &a[3]) == 4) {
            target.m_dwAddress = static_cast<std::uint32_t>(a[0] & 255) | static_cast<std::uint32_t>(a[1] & 255) << 8 |
                                 static_cast<std::uint32_t>(a[2] & 255) << 16 |
                                 static_cast<std::uint32_t>(a[3] & 255) << 24;
        }
        target.m_strAddress = fields[1];
        target.m_strHost = fields[2];
        target.m_strInfo = fields[3];
        target.m_strNote = fields[4];
        int converted = std::sscanf(fields[5].data(), "%d,%d", &target.m_nX, &target.m_nY);
        target.m_strRegion = fields[6];
        benchmark::DoNotOptimize(converted);
        benchmark::DoNotOptimize(target);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(ParseWithCLibrary);
BENCHMARK(ParseWithOurReader);

// Prints as usual, then our CPU time per line against the reference (CPU
// time, as the machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) m_times[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto reference = m_times.find("ParseWithCLibrary");
        const auto ours = m_times.find("ParseWithOurReader");
        if (reference != m_times.end() && ours != m_times.end() && reference->second > 0) {
            std::printf("our reader takes %.2f times the C library's CPU time per line\n",
                        ours->second / reference->second);
        }
    }

private:
    std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
