// What a settings save and load cost. The dialog saves four times a second,
// so a save must stay far below 250 ms; each figure is also reported as a
// ratio against the plainest way to do the same with the standard library.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

#include "settings/private_profile.h"
#include "settings/settings_store.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

// Seconds per call of `work`, averaged over `count` calls.
template <typename Work>
double SecondsPerCall(int count, Work work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) work(i);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / count;
}

void WritePlain(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string ReadPlain(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    std::getline(in, text, '\0');
    return text;
}

// Every save changes PingPeriod, so every save really rewrites the file.
void SaveChangedSettings(benchmark::State& state) {
    const test::CTempFolder scratch;
    const std::string ini = scratch.File("Lumetra.ini");
    const std::string plain = scratch.File("plain.ini");
    SaverSettings settings;
    int round = 0;
    while (state.KeepRunning()) {
        settings.m_nPingPeriod = 1000 * (1 + round++ % 30);
        SaveSettings(settings, ini);
    }
    const std::string text = ReadPlain(ini);
    const double ours = SecondsPerCall(200, [&](int i) {
        settings.m_nPingPeriod = 1000 * (1 + i % 30);
        SaveSettings(settings, ini);
    });
    const double reference = SecondsPerCall(200, [&](int) { WritePlain(plain, text); });
    state.counters["vs_plain_overwrite"] = ours / reference;
}
BENCHMARK(SaveChangedSettings);

// The dialog's usual case: the controls did not change since the last save.
void SaveUnchangedSettings(benchmark::State& state) {
    const test::CTempFolder scratch;
    const std::string ini = scratch.File("Lumetra.ini");
    const SaverSettings settings;
    SaveSettings(settings, ini);
    while (state.KeepRunning()) SaveSettings(settings, ini);
    const std::string text = ReadPlain(ini);
    const double ours = SecondsPerCall(2000, [&](int) { SaveSettings(settings, ini); });
    const double reference = SecondsPerCall(2000, [&](int) { WritePlain(scratch.File("plain.ini"), text); });
    state.counters["vs_plain_overwrite"] = ours / reference;
}
BENCHMARK(SaveUnchangedSettings);

void LoadAllSettings(benchmark::State& state) {
    const test::CTempFolder scratch;
    const std::string ini = scratch.File("Lumetra.ini");
    SaveSettings(SaverSettings{}, ini);
    SaverSettings settings;
    while (state.KeepRunning()) {
        LoadSettings(settings, ini);
        benchmark::DoNotOptimize(settings.m_nPingPeriod);
    }
    const double ours = SecondsPerCall(2000, [&](int) { LoadSettings(settings, ini); });
    const double reference = SecondsPerCall(2000, [&](int) { benchmark::DoNotOptimize(ReadPlain(ini)); });
    state.counters["vs_plain_read"] = ours / reference;
}
BENCHMARK(LoadAllSettings);

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
