#include "targets/target_line.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "targets/text_scan.h"

namespace lumetra {
namespace {

// Type of a target whose type field is not 1 to 7.
constexpr int kFallbackType = 6;

std::string_view SkipBlanksAndTabs(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

int ReadType(std::string_view field) {
    const int type = LeadingDecimal(field);
    return type < 1 || type > 7 ? kFallbackType : type;
}

}  // namespace

std::size_t SplitTabFields(std::string_view text, std::span<std::string_view> fields) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (count < fields.size()) {
        pos = text.find_first_not_of('\t', pos);
        if (pos == std::string_view::npos) break;
        const std::size_t end = std::min(text.find('\t', pos), text.size());
        fields[count++] = text.substr(pos, end - pos);
        pos = end;
    }
    return count;
}

ParsedLine ParseTargetLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    const std::string_view text = SkipBlanksAndTabs(line);
    ParsedLine parsed;
    if (text.empty() || text.front() == ';') return parsed;

    std::array<std::string_view, kTargetFields> fields;
    parsed.nFields = static_cast<int>(SplitTabFields(text, fields));
    // The fields are taken in order, so a sixth field that is no position
    // drops the line before the seventh is looked for.
    std::optional<MapPosition> position;
    if (parsed.nFields >= 6) position = ScanMapPosition(fields[5]);
    if (parsed.nFields >= 6 && !position) {
        parsed.status = LineStatus::kBadPosition;
        return parsed;
    }
    if (parsed.nFields < kTargetFields) {
        parsed.status = LineStatus::kTooFewFields;
        return parsed;
    }

    auto target = std::make_unique<PingTarget>();
    target->m_nType = ReadType(fields[0]);
    target->m_dwAddress = ScanDottedAddress(fields[1]).value_or(0);
    target->m_strAddress = fields[1];
    target->m_strHost = fields[2];
    target->m_strInfo = fields[3];
    target->m_strNote = fields[4];
    target->m_nX = position->nX;
    target->m_nY = position->nY;
    target->m_strRegion = fields[6];
    target->m_nRoundTripMs = -1;
    target->m_nSecondResult = -1;
    parsed.status = LineStatus::kAccepted;
    parsed.target = std::move(target);
    return parsed;
}

std::string DropReason(const ParsedLine& parsed) {
    switch (parsed.status) {
        case LineStatus::kTooFewFields:
            return "too few fields (" + std::to_string(parsed.nFields) + " of " + std::to_string(kTargetFields) + ")";
        case LineStatus::kBadPosition: return "position does not read as x,y";
        case LineStatus::kIgnored:
        case LineStatus::kAccepted: break;
    }
    return {};
}

}  // namespace lumetra
