// Fuzzes the results-file reader of `lumetra-map render` and the X11
// saver's replayed probes. The first input byte is the number of records;
// the rest is the file. What it accepts is held against a plain reading
// (one result per line that is neither blank nor a comment, every index in
// range and once) and must read back the same when written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "targets/results_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Lines with a first word that does not start with '#'.
std::size_t ResultLines(std::string_view text) {
    std::size_t count = 0;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        if (words >> first && first.front() != '#') ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t records = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const lumetra::ResultsReadout readout = lumetra::ParseResults(text, records);
    if (!readout.error.empty()) {
        Require(readout.error.starts_with("line "));
        return 0;
    }
    Require(readout.results.size() == ResultLines(text));
    std::set<std::size_t> seen;
    std::string written;
    for (const lumetra::ProbeResult& result : readout.results) {
        Require(result.nIndex < records);
        Require(seen.insert(result.nIndex).second);
        written += std::to_string(result.nIndex) + ' ' + std::to_string(result.nRoundTripMs) + ' ' +
                   std::to_string(result.nSecondResult) + '\n';
    }
    const lumetra::ResultsReadout again = lumetra::ParseResults(written, records);
    Require(again.error.empty() && again.results.size() == readout.results.size());
    for (std::size_t i = 0; i < again.results.size(); ++i) {
        Require(again.results[i].nIndex == readout.results[i].nIndex);
        Require(again.results[i].nRoundTripMs == readout.results[i].nRoundTripMs);
        Require(again.results[i].nSecondResult == readout.results[i].nSecondResult);
    }
    return 0;
}
