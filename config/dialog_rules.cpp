#include "config/dialog_rules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumetra {
namespace {

constexpr char kNoNote[] = "*";

int Saturated(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string Milliseconds(int value) {
    return std::to_string(value) + "ms";
}

}  // namespace

int MapSizeIndex(int mapScale) {
    const int taken = std::clamp(mapScale, kMapScaleRange.min, kMapScaleRange.max);
    int largest = 0;
    for (std::size_t i = 0; i < kMapSizeChoices.size(); ++i) {
        if (kMapSizeChoices[i].mapScale == taken) return static_cast<int>(i);
        if (kMapSizeChoices[i].mapScale > kMapSizeChoices[static_cast<std::size_t>(largest)].mapScale)
            largest = static_cast<int>(i);
    }
    return largest;
}

int MapScaleOfIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kMapSizeChoices.size()) return SaverSettings().m_nMapScale;
    return kMapSizeChoices[static_cast<std::size_t>(index)].mapScale;
}

int SettingFromPosition(const SliderScale& scale, int position) {
    return Saturated(std::int64_t{position} * scale.unit);
}

SliderLabels LabelsForFocus(SliderFocus focus, int periodPosition, int timeoutPosition) {
    switch (focus) {
        case SliderFocus::kMotion: return {std::to_string(kMotionScale.min), std::to_string(kMotionScale.max)};
        case SliderFocus::kPeriod: return {Milliseconds(SettingFromPosition(kPeriodScale, periodPosition)), {}};
        case SliderFocus::kTimeout: return {Milliseconds(SettingFromPosition(kTimeoutScale, timeoutPosition)), {}};
        case SliderFocus::kElsewhere: break;
    }
    return {};
}

std::string HostColumnText(const PingTarget& target) {
    if (target.m_strNote == kNoNote) return target.m_strHost;
    return target.m_strHost + "(" + target.m_strNote + ")";
}

std::optional<std::string_view> LinePiece(std::string_view text, int index) {
    if (text.empty() || index < 0) return std::nullopt;
    for (; index > 0; --index) {
        const std::size_t feed = text.find('\n');
        if (feed == std::string_view::npos) return std::nullopt;
        text.remove_prefix(feed + 1);
    }
    return text.substr(0, text.find('\n'));
}

int FittedColumnWidth(int titleWidth, int sampleWidth, int borderWidth) {
    return Saturated(std::int64_t{std::max(titleWidth, sampleWidth)} + std::int64_t{8} * borderWidth);
}

}  // namespace lumetra
