#include "places/target_collector.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace lumetra {
namespace {

std::string ShortestText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::string DegreesText(double latitude, double longitude) {
    return ShortestText(latitude) + ", " + ShortestText(longitude);
}

void CTargetCollector::Add(std::size_t nLine, std::string_view label, const TargetFields& fields, double latitude,
                           double longitude) {
    if (const std::string problem = FieldsProblem(fields); !problem.empty()) {
        AddProblem(nLine, label, problem);
        return;
    }
    const std::variant<MapPixel, std::string> placed = PlaceOnMap(latitude, longitude, m_land);
    if (const auto* reason = std::get_if<std::string>(&placed)) {
        AddProblem(nLine, label, fields.host + " at " + DegreesText(latitude, longitude) + ": " + *reason);
        return;
    }
    const auto [it, added] = m_hostLines.emplace(Lowered(fields.host), nLine);
    if (!added) {
        AddProblem(nLine, label, fields.host + " is listed already on line " + std::to_string(it->second));
        return;
    }
    m_result.lines.push_back(FormatTargetLine(fields, std::get<MapPixel>(placed)));
}

void CTargetCollector::AddProblem(std::size_t nLine, std::string_view label, const std::string& reason) {
    m_result.problems.push_back({nLine, label.empty() ? reason : std::string(label) + ": " + reason});
}

}  // namespace lumetra
