#include "targets/results_file.h"

#include <charconv>
#include <climits>
#include <map>

namespace lumetra {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// The whole field must be one decimal number that fits T.
template <class T>
bool ParseNumber(std::string_view field, T& value) {
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    return ec == std::errc() && ptr == end;
}

std::string LineError(std::size_t line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

ResultsReadout ParseResults(std::string_view text, std::size_t targetCount) {
    ResultsReadout readout;
    std::map<std::size_t, std::size_t> lineOfIndex;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        ++lineNumber;
        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.empty() || fields[0].front() == '#') continue;
        if (fields.size() > 3) {
            readout.error = LineError(
                lineNumber, "expected INDEX RTT [SECOND], found " + std::to_string(fields.size()) + " fields");
            return readout;
        }
        ProbeResult result;
        if (!ParseNumber(fields[0], result.nIndex)) {
            readout.error = LineError(lineNumber, "INDEX '" + std::string(fields[0]) + "' is not a number from 0 up");
            return readout;
        }
        if (fields.size() < 2) {
            readout.error = LineError(lineNumber, "expected INDEX RTT [SECOND], the round-trip time is missing");
            return readout;
        }
        if (!ParseNumber(fields[1], result.nRoundTripMs)) {
            readout.error = LineError(lineNumber, "RTT '" + std::string(fields[1]) + "' is not a 32-bit integer");
            return readout;
        }
        result.nSecondResult = result.nRoundTripMs;
        if (fields.size() == 3 && !ParseNumber(fields[2], result.nSecondResult)) {
            readout.error = LineError(lineNumber, "SECOND '" + std::string(fields[2]) + "' is not a 32-bit integer");
            return readout;
        }
        if (result.nIndex >= targetCount) {
            readout.error = LineError(lineNumber, "INDEX " + std::to_string(result.nIndex) +
                                                      " is out of range: the target file has " +
                                                      std::to_string(targetCount) + " records");
            return readout;
        }
        const auto [it, added] = lineOfIndex.emplace(result.nIndex, lineNumber);
        if (!added) {
            readout.error = LineError(lineNumber, "INDEX " + std::to_string(result.nIndex) +
                                                      " already has a result on line " + std::to_string(it->second));
            return readout;
        }
        readout.results.push_back(result);
    }
    return readout;
}

void ApplyResults(TargetList& targets, const std::vector<ProbeResult>& results) {
    std::vector<PingTarget*> byIndex;
    byIndex.reserve(targets.size());
    for (const auto& target : targets) byIndex.push_back(target.get());
    for (const ProbeResult& result : results) {
        if (result.nIndex >= byIndex.size()) continue;
        byIndex[result.nIndex]->m_nRoundTripMs = result.nRoundTripMs;
        byIndex[result.nIndex]->m_nSecondResult = result.nSecondResult;
    }
}

}  // namespace lumetra
