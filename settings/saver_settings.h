// The saver's persisted options, and the one table that declares each of
// them: ini key, member, default, whether a save writes it and the
// command-line switch that overrides it. The defaults, loading, saving and
// the switches of the X11 saver all walk that table.
#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lumetra {

inline constexpr char kDefaultTargetFile[] = ".\\lumetra.txt";
// "TargetFile" is read into a buffer of this size: at most 1023 characters.
inline constexpr std::size_t kTargetFileBufferSize = 1024;

// Made with every option at its default from kSaverOptions. The `{}` only
// keeps a member that has no row from being left indeterminate.
struct SaverSettings {
    SaverSettings();

    std::string m_strTargetFile;  // path of the target file
    int m_nMapMotion{};           // drift bound, pixels per motion tick
    int m_nPingPeriod{};          // ms between probes
    int m_nPingTimeout{};         // ms an echo may take
    int m_nColorStyle{};          // 0 hops, 1 speed; stored only
    int m_bDynamicRange{};        // colour scale from the observed times
    int m_bShowRange{};           // the range legend
    int m_bSmoothColor{};         // off cuts the field into 8 bands
    int m_bLearnTargets{};        // stored only
    int m_bShowData{};            // each target's round-trip time
    int m_bSaveFinalBMP{};        // snapshot of the last frame on exit
    int m_nMapScale{};            // map drawn N times its size; kMapScaleFit: sized for the screen
    int m_bAllMonitors{};         // a map on every monitor, not the primary one alone
};

// The values the configuration dialog offers for a number, in the units the
// file stores.
struct IntRange {
    int min;
    int max;
};
inline constexpr IntRange kMapMotionRange{1, 3};          // pixels per motion tick
inline constexpr IntRange kPingPeriodRange{1000, 30000};  // whole seconds, 1 to 30
inline constexpr IntRange kPingTimeoutRange{100, 5000};   // tenths of a second, 1 to 50
// Each frame pixel as an N x N block on screen, or 0: the largest N that fits
// the monitor (see view/monitor_layout.h). The dialog offers 1 to 4 and 0;
// the file and lumetra-x11's switch take the whole range.
inline constexpr int kMapScaleFit = 0;
inline constexpr IntRange kMapScaleRange{kMapScaleFit, 8};

// The values that do what they say, wider than the dialog's where a hand
// edit may go further. A value outside them (from the file or a switch) is
// taken to the nearest end of the dialog's range (settings/setting_limits.h).
inline constexpr IntRange kMapMotionUsable = kMapMotionRange;  // the drift's bound: beyond 3 the frame leaves a trail
inline constexpr IntRange kPingPeriodUsable{1, INT_MAX};
inline constexpr IntRange kPingTimeoutUsable{1, 0xFFFF};  // the ICMP library waits the low 16 bits; 0 waits for nothing

// A number: a key missing from the file leaves the member as it is, so
// loading twice changes nothing. `range`: what the dialog offers, if it
// edits the number; `usable`: the values that work, if not every int does.
struct IntField {
    int SaverSettings::*member;
    int defaultValue;
    std::optional<IntRange> range = std::nullopt;
    std::optional<IntRange> usable = std::nullopt;
};

// A text: a key missing from the file gives the default, whatever the member
// held; a value is cut like a C buffer of `limit` bytes.
struct TextField {
    std::string SaverSettings::*member;
    std::string_view defaultValue;
    std::size_t limit;
};

// kNo: the option changes only when the file is edited by hand.
// kUnlessDefault: written when it differs from its default, or when the file
// holds the key already (so a change back to the default reaches it too);
// the file of a user who never chose it does not name it.
enum class Saved { kNo, kYes, kUnlessDefault };

// How a command line overrides the option, in the manner of X screen-saver
// hacks: "-ping-period 500" sets a number or a text, a switch without a value
// name ("-show-range") sets the number `setTo`. No name: no switch.
struct CommandSwitch {
    std::string_view name;
    std::string_view valueName;  // "MS", "N", "FILE"; empty for a flag
    int setTo;                   // what a flag sets
    std::string_view help;
};

struct SaverOption {
    std::string_view key;  // in the section "Lumetra"
    std::variant<IntField, TextField> field;
    Saved saved;
    CommandSwitch commandSwitch = {};
};

// In the order a load reads them; a save writes the saved ones in the same
// order. One row per option, so the table stays readable across.
// clang-format off
inline constexpr std::array<SaverOption, 13> kSaverOptions = {{
    {"TargetFile", TextField{&SaverSettings::m_strTargetFile, kDefaultTargetFile, kTargetFileBufferSize}, Saved::kNo,
        {"-targets", "FILE", 0, "the target file"}},
    {"MapMotion", IntField{&SaverSettings::m_nMapMotion, 3, kMapMotionRange, kMapMotionUsable}, Saved::kYes,
        {"-map-motion", "N", 0, "bound of the drift speed, pixels per motion tick"}},
    {"PingPeriod", IntField{&SaverSettings::m_nPingPeriod, 2000, kPingPeriodRange, kPingPeriodUsable}, Saved::kYes,
        {"-ping-period", "MS", 0, "milliseconds between two probes"}},
    {"PingTimeout", IntField{&SaverSettings::m_nPingTimeout, 600, kPingTimeoutRange, kPingTimeoutUsable}, Saved::kYes,
        {"-ping-timeout", "MS", 0, "milliseconds an echo may take"}},
    {"DynamicRange", IntField{&SaverSettings::m_bDynamicRange, 0}, Saved::kYes,
        {"-dynamic-range", "", 1, "the colour scale spans the observed round-trip times"}},
    {"ShowRange", IntField{&SaverSettings::m_bShowRange, 0}, Saved::kYes,
        {"-show-range", "", 1, "draw the range legend"}},
    {"ShowData", IntField{&SaverSettings::m_bShowData, 0}, Saved::kNo,
        {"-show-data", "", 1, "draw each target's round-trip time"}},
    {"SmoothColor", IntField{&SaverSettings::m_bSmoothColor, 1}, Saved::kYes,
        {"-no-smooth", "", 0, "cut the colour field into 8 bands"}},
    {"ColorStyle", IntField{&SaverSettings::m_nColorStyle, 1}, Saved::kYes},
    {"LearnTargets", IntField{&SaverSettings::m_bLearnTargets, 0}, Saved::kYes},
    {"SaveFinalBMP", IntField{&SaverSettings::m_bSaveFinalBMP, 1}, Saved::kNo},
    {"MapScale", IntField{&SaverSettings::m_nMapScale, 1, kMapScaleRange, kMapScaleRange}, Saved::kUnlessDefault,
        {"-scale", "N", 0, "draw the map N times its size, 1 to 8; 0 sizes it for the screen"}},
    {"AllMonitors", IntField{&SaverSettings::m_bAllMonitors, 0}, Saved::kUnlessDefault,
        {"-all-monitors", "", 1, "a map on every monitor, each drifting on its own"}},
}};
// clang-format on

inline SaverSettings::SaverSettings() {
    for (const SaverOption& option : kSaverOptions) {
        std::visit([this](const auto& field) { this->*field.member = field.defaultValue; }, option.field);
    }
}

}  // namespace lumetra
