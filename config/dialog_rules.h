// What the configuration dialog shows and stores, decided without a window:
// the sliders' units and ranges, the texts of the two labels over the
// sliders, the entries of the map-size list, the host column of the target
// list, the pieces of a text cut at line feeds, and the width of a list
// column.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/saver_settings.h"
#include "targets/ping_target.h"

namespace lumetra {

// A slider that edits a setting in steps of `unit` setting units.
struct SliderScale {
    int unit;  // setting units (ms for the times) per slider step
    int min;   // the slider's range
    int max;
};

// The slider over `range` in steps of `unit`.
constexpr SliderScale ScaleOver(IntRange range, int unit) {
    return {unit, range.min / unit, range.max / unit};
}
inline constexpr SliderScale kMotionScale = ScaleOver(kMapMotionRange, 1);       // MapMotion as it is
inline constexpr SliderScale kPeriodScale = ScaleOver(kPingPeriodRange, 1000);   // PingPeriod in whole seconds
inline constexpr SliderScale kTimeoutScale = ScaleOver(kPingTimeoutRange, 100);  // PingTimeout in tenths of a second

// The "Map size" list, in its order: each entry's text and the MapScale it
// stands for.
struct MapSizeChoice {
    std::string_view text;
    int mapScale;
};
inline constexpr std::array<MapSizeChoice, 5> kMapSizeChoices = {{
    {"Actual size", 1},
    {"2x", 2},
    {"3x", 3},
    {"4x", 4},
    {"Fit to screen", kMapScaleFit},
}};

// The entry that shows `mapScale`, taken into kMapScaleRange as the saver
// takes it; a scale the list does not offer (5 to 8, from the file) shows
// as the largest one it does.
int MapSizeIndex(int mapScale);
// The MapScale of entry `index`; the default when no entry is chosen.
int MapScaleOfIndex(int index);

// The position that shows `value`: divided by the unit, truncated toward
// zero. The slider itself clamps it into its range.
constexpr int SliderPosition(const SliderScale& scale, int value) {
    return value / scale.unit;
}
// The setting a position stands for; saturates instead of overflowing.
int SettingFromPosition(const SliderScale& scale, int position);

// Where the keyboard focus is, as far as the labels over the sliders care.
enum class SliderFocus { kMotion, kPeriod, kTimeout, kElsewhere };

struct SliderLabels {
    std::string left;   // over the slow end
    std::string right;  // over the fast end
};

// The motion slider shows its range; the period and timeout sliders show
// their value in milliseconds on the left; anything else shows nothing.
SliderLabels LabelsForFocus(SliderFocus focus, int periodPosition, int timeoutPosition);

// The target list's second column: the host name, then the note in
// parentheses, with no blank between, unless the note is "*" (none).
std::string HostColumnText(const PingTarget& target);

// Piece `index` of `text` cut at line feeds ("a\nb" has the pieces "a" and
// "b"); nothing for a negative index or beyond the last piece. An empty text
// has no pieces.
std::optional<std::string_view> LinePiece(std::string_view text, int index);

// A list column wide enough for its title and its sample text (widths in
// pixels), with room for eight borders of `borderWidth`.
int FittedColumnWidth(int titleWidth, int sampleWidth, int borderWidth);

}  // namespace lumetra
