// The command line of lumetra-x11, in the manner of X screen-saver hacks: where
// to draw (-window, -fullscreen, -root, -window-id ID, or the window that
// xscreensaver names in XSCREENSAVER_WINDOW) and the switches of the settings
// table that override Lumetra.ini. No X11 here, so every rule is tested
// natively.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/saver_settings.h"

namespace lumetra::x11 {

inline constexpr char kProgramName[] = "lumetra-x11";
// The variable through which xscreensaver hands its hacks their window.
inline constexpr char kXScreenSaverWindowVariable[] = "XSCREENSAVER_WINDOW";

enum class DrawMode {
    kOwnWindow,    // -window: a window of its own; q, Escape or the window manager's close end it
    kFullScreen,   // -fullscreen: the saver's own dismissal rules end it
    kRoot,         // -root: the root window
    kGivenWindow,  // -window-id ID or XSCREENSAVER_WINDOW: a window someone else made
};

// A switch of the settings table with the value it was given: `number` for
// a number or a flag, `text` for a text.
struct SettingOverride {
    const SaverOption* option;
    int number = 0;
    std::string text = {};
};

struct HackOptions {
    std::optional<DrawMode> mode;  // as asked; nothing: no mode switch was given
    bool rootGiven = false;        // -root, also when -window-id names the window
    std::uint64_t windowId = 0;    // with -window-id
    std::string display;           // -display; empty: $DISPLAY
    bool help = false;
    bool version = false;                    // -version: say the version and end
    std::vector<SettingOverride> overrides;  // in the order given; a later one wins
    std::vector<std::string> notices;        // a switch's value clamped to what works, said on stderr
    // For tests only, and left out of the help: probe results replayed from
    // this file (the format of `lumetra-map render --results`) instead of
    // echoes, and no more probes after this many.
    std::string replayResults;
    std::optional<int> probeLimit;
};

// Reads the arguments after the program name. "--name" is taken as "-name".
// The first problem, if any, comes back as a message. A number below the
// values that work ("-ping-timeout 0") is a problem; one above them is
// clamped (setting_limits.h) with a notice.
std::optional<std::string> ParseHackOptions(std::span<const std::string_view> args, HackOptions& options);

// Sets the overridden members, after the settings file has been read.
void ApplyOverrides(const std::vector<SettingOverride>& overrides, SaverSettings& settings);

inline constexpr char kHackSynopsis[] = "[-window | -fullscreen | -root | -window-id ID] [-display NAME] [OPTION...]";
inline constexpr char kHackSummary[] =
    "Lumetra's latency map, drifting over a black screen, as an X11 screen-saver hack.";

// The program's exit statuses, and what each means. A run that SIGTERM or
// SIGINT ended has none: it ends by that signal, as xscreensaver expects.
enum HackExit : int { kExitDone = 0, kExitCannotRun = 1, kExitBadArguments = 2 };
struct ExitMeaning {
    HackExit code;
    std::string_view meaning;
};
inline constexpr std::array<ExitMeaning, 3> kHackExitStatus = {{
    {kExitDone, "done"},
    {kExitCannotRun, "no display or no window to draw in"},
    {kExitBadArguments, "bad arguments"},
}};

// One option as the help and the manual page show it: "-window-id ID" and
// what it does.
struct HelpEntry {
    std::string spelled;
    std::string help;
};
struct HelpGroup {
    std::string_view title;
    std::vector<HelpEntry> entries;
};
// Every option the help lists, by group, from the mode switches and the
// settings table.
std::vector<HelpGroup> HackHelpGroups();
// How a run ends, in one sentence.
std::string HackEnding();
// Where the snapshot goes and how to turn it off, in one sentence.
std::string HackSnapshotPlace();
// What -version says.
std::string HackVersion();

// The help: usage, modes, the table's switches, the exit status.
std::string HackUsage();

// Where to draw.
struct DrawTarget {
    DrawMode mode = DrawMode::kOwnWindow;
    std::uint64_t windowId = 0;  // for kGivenWindow
};

// The mode asked for, with XSCREENSAVER_WINDOW (null when unset) taken as
// xscreensaver means it: the window to draw in, for a hack started without a
// mode or with -root. -window-id, -window and -fullscreen are the user's own
// choice and win over it. An unreadable variable is a message.
std::variant<DrawTarget, std::string> ChooseDrawTarget(const HackOptions& options, const char* xscreensaverWindow);

// A window id as X programs write them: decimal, or hexadecimal after "0x".
std::optional<std::uint64_t> ParseWindowId(std::string_view text);

}  // namespace lumetra::x11
