#include "apps/lumetra-x11/hack_options.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "host/dismissal.h"
#include "resources/lumetra_version.h"
#include "settings/setting_limits.h"
#include "settings/settings_store.h"
#include "view/saver_files.h"

namespace lumetra::x11 {
namespace {

// The switches that choose where to draw, and the others of the program
// itself; the settings' switches come from kSaverOptions.
struct ModeSwitch {
    std::string_view name;
    DrawMode mode;
    std::string_view help;
};

constexpr ModeSwitch kModeSwitches[] = {
    {"-window", DrawMode::kOwnWindow, "a window of its own (the default); q, Escape or closing it ends the run"},
    {"-fullscreen", DrawMode::kFullScreen,
     "the whole screen; any key, button, loss of focus or mouse move of more than {threshold} pixels ends the "
     "run"},
    {"-root", DrawMode::kRoot,
     "the root window, or the window that -window-id or $XSCREENSAVER_WINDOW names, as a screen saver"},
};
constexpr std::string_view kWindowId = "-window-id";
constexpr std::string_view kWindowIdHelp = "the window with this id (decimal, or hexadecimal after 0x)";
constexpr std::string_view kDisplay = "-display";
constexpr std::string_view kDisplayHelp = "the X display to draw on (default: $DISPLAY)";
constexpr std::string_view kHelp = "-help";
constexpr std::string_view kHelpHelp = "show this help";
constexpr std::string_view kVersion = "-version";
constexpr std::string_view kVersionHelp = "show the version";
constexpr std::string_view kReplay = "-replay-results";
constexpr std::string_view kProbeLimit = "-probe-limit";

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

const SaverOption* SettingSwitch(std::string_view name) {
    const auto* found = std::find_if(kSaverOptions.begin(), kSaverOptions.end(), [name](const SaverOption& o) {
        return !o.commandSwitch.name.empty() && o.commandSwitch.name == name;
    });
    return found != kSaverOptions.end() ? &*found : nullptr;
}

const ModeSwitch* Mode(std::string_view name) {
    const auto* found = std::find_if(std::begin(kModeSwitches), std::end(kModeSwitches),
                                     [name](const ModeSwitch& m) { return m.name == name; });
    return found != std::end(kModeSwitches) ? found : nullptr;
}

// The help with the mouse threshold the dismissal rules use.
std::string WithThreshold(std::string_view help) {
    std::string text(help);
    constexpr std::string_view kMark = "{threshold}";
    if (const std::size_t at = text.find(kMark); at != std::string::npos)
        text.replace(at, kMark.size(), std::to_string(kMouseThreshold));
    return text;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// The mode, refusing a second one that contradicts the first. -root with
// -window-id is no contradiction: a hack's "draw as a saver" with the window
// to draw in, which wins (xscreensaver's preview runs "--root --window-id ID").
std::optional<std::string> SetMode(HackOptions& options, DrawMode mode, std::string_view name) {
    const auto refines = [](DrawMode a, DrawMode b) { return a == DrawMode::kRoot && b == DrawMode::kGivenWindow; };
    if (options.mode && refines(mode, *options.mode)) return std::nullopt;
    if (options.mode && *options.mode != mode && !refines(*options.mode, mode))
        return "choose one place to draw; " + std::string(name) + " is another";
    options.mode = mode;
    return std::nullopt;
}

std::optional<std::string> SetSetting(HackOptions& options, const SaverOption& option,
                                      std::optional<std::string_view> value) {
    const CommandSwitch& sw = option.commandSwitch;
    if (sw.valueName.empty()) {
        options.overrides.push_back({&option, sw.setTo});
    } else if (std::holds_alternative<TextField>(option.field)) {
        options.overrides.push_back({&option, 0, std::string(*value)});
    } else if (const std::optional<int> number = ParseInt(*value)) {
        std::optional<ClampedSetting> clamped;
        const std::optional<int> used = SwitchValue(option, *number, clamped);
        if (!used) return RefusedSwitchMessage(option, *value);
        if (clamped) options.notices.push_back(ClampedSwitchMessage(*clamped));
        options.overrides.push_back({&option, *used});
    } else {
        return std::string(sw.name) + " needs a whole number, not " + Quoted(*value);
    }
    return std::nullopt;
}

bool TakesValue(std::string_view name, const SaverOption* setting) {
    if (setting != nullptr) return !setting->commandSwitch.valueName.empty();
    return name == kWindowId || name == kDisplay || name == kReplay || name == kProbeLimit;
}

std::optional<std::string> TakeOne(HackOptions& options, std::string_view name, std::optional<std::string_view> value) {
    if (const SaverOption* setting = SettingSwitch(name)) return SetSetting(options, *setting, value);
    if (const ModeSwitch* mode = Mode(name)) {
        options.rootGiven = options.rootGiven || mode->mode == DrawMode::kRoot;
        return SetMode(options, mode->mode, name);
    }
    if (name == kHelp) {
        options.help = true;
    } else if (name == kVersion) {
        options.version = true;
    } else if (name == kDisplay) {
        options.display = std::string(*value);
    } else if (name == kReplay) {
        options.replayResults = std::string(*value);
    } else if (name == kWindowId) {
        const std::optional<std::uint64_t> id = ParseWindowId(*value);
        if (!id) return "-window-id needs a window id, not " + Quoted(*value);
        options.windowId = *id;
        return SetMode(options, DrawMode::kGivenWindow, name);
    } else if (name == kProbeLimit) {
        options.probeLimit = ParseInt(*value);
        if (!options.probeLimit || *options.probeLimit < 0) return "-probe-limit needs a count, not " + Quoted(*value);
    }
    return std::nullopt;
}

std::string HelpLine(std::string_view spelled, std::string_view help) {
    constexpr std::size_t kWidth = 20;
    std::string line = "  " + std::string(spelled);
    line.append(spelled.size() < kWidth ? kWidth - spelled.size() : 1, ' ');
    return line + std::string(help) + '\n';
}

}  // namespace

std::optional<std::uint64_t> ParseWindowId(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id, base);
    // X ids are 29-bit values; 0 is None.
    if (text.empty() || error != std::errc() || stop != end || id == 0 ||
        id > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return id;
}

std::optional<std::string> ParseHackOptions(std::span<const std::string_view> args, HackOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        if (name.starts_with("--")) name.remove_prefix(1);
        const SaverOption* setting = SettingSwitch(name);
        const bool known = setting != nullptr || Mode(name) != nullptr || TakesValue(name, nullptr) || name == kHelp ||
                           name == kVersion;
        if (!known) return "unknown option " + Quoted(args[i]);
        std::optional<std::string_view> value;
        if (TakesValue(name, setting)) {
            if (i + 1 >= args.size()) return std::string(name) + " needs a value";
            value = args[++i];
        }
        if (std::optional<std::string> problem = TakeOne(options, name, value)) return problem;
    }
    return std::nullopt;
}

void ApplyOverrides(const std::vector<SettingOverride>& overrides, SaverSettings& settings) {
    for (const SettingOverride& given : overrides) {
        if (const auto* number = std::get_if<IntField>(&given.option->field)) settings.*number->member = given.number;
        if (const auto* text = std::get_if<TextField>(&given.option->field)) settings.*text->member = given.text;
    }
}

std::vector<HelpGroup> HackHelpGroups() {
    HelpGroup where{"where to draw", {}};
    for (const ModeSwitch& mode : kModeSwitches)
        where.entries.push_back({std::string(mode.name), WithThreshold(mode.help)});
    where.entries.push_back({std::string(kWindowId) + " ID", std::string(kWindowIdHelp)});
    where.entries.push_back({std::string(kDisplay) + " NAME", std::string(kDisplayHelp)});
    HelpGroup settings{"options, over the settings of Lumetra.ini ($XDG_CONFIG_HOME or ~/.config)", {}};
    for (const SaverOption& option : kSaverOptions) {
        const CommandSwitch& sw = option.commandSwitch;
        if (sw.name.empty()) continue;
        std::string spelled(sw.name);
        if (!sw.valueName.empty()) (spelled += ' ') += sw.valueName;
        settings.entries.push_back({spelled, std::string(sw.help) + " (" + std::string(option.key) + ")"});
    }
    settings.entries.push_back({std::string(kHelp), std::string(kHelpHelp)});
    settings.entries.push_back({std::string(kVersion), std::string(kVersionHelp)});
    return {where, settings};
}

std::string HackEnding() {
    return "SIGTERM or SIGINT end the run like a dismissal, and then the program by that same signal.";
}

std::string HackSnapshotPlace() {
    return "The last frame goes to " + std::string(kSnapshotFileName) +
           ": under xscreensaver or with -root in $XDG_STATE_HOME/lumetra (default ~/.local/state/lumetra), "
           "else in the current folder (the settings folder when others may write there); SaveFinalBMP=0 in " +
           kSettingsFileName + " turns it off.";
}

std::string HackVersion() {
    return std::string(kProgramName) + " (Lumetra) " LUMETRA_VERSION_TEXT "\n";
}

std::string HackUsage() {
    std::string text = "usage: " + std::string(kProgramName) + " " + kHackSynopsis + "\n  " + kHackSummary + "\n";
    for (const HelpGroup& group : HackHelpGroups()) {
        text += std::string(group.title) + ":\n";
        for (const HelpEntry& entry : group.entries) text += HelpLine(entry.spelled, entry.help);
    }
    text += "  " + HackEnding() + "\n  " + HackSnapshotPlace() + "\n  exit status:";
    for (const ExitMeaning& status : kHackExitStatus) {
        text += (&status == kHackExitStatus.data() ? " " : ", ") + std::to_string(status.code) + " " +
                std::string(status.meaning);
    }
    return text + "\n";
}

std::variant<DrawTarget, std::string> ChooseDrawTarget(const HackOptions& options, const char* xscreensaverWindow) {
    const DrawMode asked = options.mode.value_or(DrawMode::kOwnWindow);
    if (asked == DrawMode::kGivenWindow) return DrawTarget{asked, options.windowId};
    const bool hacksWindowApplies = !options.mode || asked == DrawMode::kRoot;
    if (xscreensaverWindow == nullptr || *xscreensaverWindow == '\0' || !hacksWindowApplies)
        return DrawTarget{asked, 0};
    const std::optional<std::uint64_t> id = ParseWindowId(xscreensaverWindow);
    if (!id) return std::string(kXScreenSaverWindowVariable) + " holds no window id: " + Quoted(xscreensaverWindow);
    return DrawTarget{DrawMode::kGivenWindow, *id};
}

}  // namespace lumetra::x11
