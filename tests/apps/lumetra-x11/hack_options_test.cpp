// lumetra-x11's command line: the switches of the settings table, the modes,
// the window xscreensaver names, and the configuration description that
// xscreensaver's settings program reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "apps/lumetra-x11/hack_manual.h"
#include "apps/lumetra-x11/hack_options.h"
#include "framework/manual_page.h"
#include "tests/settings/support.h"
#include "tests/support/files.h"

namespace lumetra::x11 {
namespace {

std::optional<std::string> Parse(const std::vector<std::string_view>& args, HackOptions& options) {
    return ParseHackOptions(args, options);
}

// The settings that a file gave, after the overrides of `args`.
SaverSettings Overridden(const std::vector<std::string_view>& args, SaverSettings fromFile = {}) {
    HackOptions options;
    const std::optional<std::string> problem = Parse(args, options);
    EXPECT_FALSE(problem) << *problem;
    ApplyOverrides(options.overrides, fromFile);
    return fromFile;
}

void SetMember(SaverSettings& settings, const IntField& field, int number, const std::string&) {
    settings.*field.member = number;
}
void SetMember(SaverSettings& settings, const TextField& field, int, const std::string& text) {
    settings.*field.member = text;
}

TEST(HackOptions, EachSwitchOfTheTableSetsItsOwnMemberOnly) {
    for (const SaverOption& option : kSaverOptions) {
        const CommandSwitch& sw = option.commandSwitch;
        if (sw.name.empty()) continue;
        std::vector<std::string_view> args = {sw.name};
        if (!sw.valueName.empty()) args.push_back("2");  // a number that works for each of them
        SaverSettings expected;
        std::visit([&](const auto& field) { SetMember(expected, field, sw.valueName.empty() ? sw.setTo : 2, "2"); },
                   option.field);
        EXPECT_TRUE(test::Same(Overridden(args), expected)) << sw.name;
    }
}

TEST(HackOptions, OverridesGoOverTheFileAndTheLastOneWins) {
    SaverSettings fromFile;
    fromFile.m_nPingPeriod = 7000;
    fromFile.m_nPingTimeout = 900;
    const SaverSettings got = Overridden({"--ping-timeout", "100", "-ping-timeout", "300", "-show-range"}, fromFile);
    EXPECT_EQ(got.m_nPingPeriod, 7000);
    EXPECT_EQ(got.m_nPingTimeout, 300);
    EXPECT_EQ(got.m_bShowRange, 1);
}

struct LimitCase {
    std::vector<std::string_view> args;
    std::optional<int> set;  // what the switch sets; nothing: refused
    const char* said;        // the refusal or the notice; "" for none
};

TEST(HackOptions, NumbersBelowWhatWorksAreRefusedAndAboveItClamped) {
    const LimitCase cases[] = {
        // The rule itself is the settings'; here what the command line makes of it.
        {{"-ping-timeout", "0"}, std::nullopt, "-ping-timeout needs a number of at least 1, not '0'"},
        {{"-ping-timeout", "65536"}, 5000, "-ping-timeout 65536 is above 65535; using 5000 instead"},
        {{"-ping-timeout", "65535"}, 65535, ""},
    };
    for (const LimitCase& c : cases) {
        HackOptions options;
        const std::optional<std::string> problem = Parse(c.args, options);
        EXPECT_EQ(problem.value_or(""), c.set ? "" : c.said) << c.args[0] << ' ' << c.args[1];
        if (!c.set) continue;
        ASSERT_EQ(options.overrides.size(), 1U);
        EXPECT_EQ(options.overrides[0].number, *c.set) << c.args[0] << ' ' << c.args[1];
        EXPECT_EQ(options.notices, *c.said ? std::vector<std::string>{c.said} : std::vector<std::string>{});
    }
}

struct ModeCase {
    std::vector<std::string_view> args;
    std::optional<DrawMode> mode;
    std::uint64_t windowId;
};

TEST(HackOptions, ModesAndWindowIds) {
    const ModeCase cases[] = {
        {{}, std::nullopt, 0},
        {{"-window"}, DrawMode::kOwnWindow, 0},
        {{"-fullscreen"}, DrawMode::kFullScreen, 0},
        {{"--root"}, DrawMode::kRoot, 0},
        {{"-root", "-root"}, DrawMode::kRoot, 0},
        {{"-window-id", "0x1a00003"}, DrawMode::kGivenWindow, 0x1a00003},
        {{"-window-id", "4194307"}, DrawMode::kGivenWindow, 4194307},
        {{"-window-id", "0XFF"}, DrawMode::kGivenWindow, 255},
        // xscreensaver's preview: the given window wins over the root, in either order.
        {{"--root", "--window-id", "0x1a00003"}, DrawMode::kGivenWindow, 0x1a00003},
        {{"-window-id", "12", "-root"}, DrawMode::kGivenWindow, 12},
    };
    for (const ModeCase& c : cases) {
        HackOptions options;
        const std::optional<std::string> problem = Parse(c.args, options);
        ASSERT_FALSE(problem) << *problem;
        EXPECT_EQ(options.mode, c.mode) << testing::PrintToString(c.args);
        EXPECT_EQ(options.windowId, c.windowId) << testing::PrintToString(c.args);
    }
}

struct BadCase {
    std::vector<std::string_view> args;
    std::string message;
};

TEST(HackOptions, BadArgumentsAreNamed) {
    const BadCase cases[] = {
        {{"-bogus"}, "unknown option '-bogus'"},
        {{"lumetra.txt"}, "unknown option 'lumetra.txt'"},
        {{"-ping-period"}, "-ping-period needs a value"},
        {{"-ping-period", "fast"}, "-ping-period needs a whole number, not 'fast'"},
        {{"-ping-period", "2000ms"}, "-ping-period needs a whole number, not '2000ms'"},
        {{"-ping-timeout", "99999999999"}, "-ping-timeout needs a whole number, not '99999999999'"},
        {{"-map-motion", ""}, "-map-motion needs a whole number, not ''"},
        {{"-root", "-window"}, "choose one place to draw; -window is another"},
        {{"-fullscreen", "-window-id", "7"}, "choose one place to draw; -window-id is another"},
        {{"-window", "-window-id", "7"}, "choose one place to draw; -window-id is another"},
        {{"-window-id", "7", "-fullscreen"}, "choose one place to draw; -fullscreen is another"},
        {{"-window-id", "0"}, "-window-id needs a window id, not '0'"},
        {{"-window-id", "0x"}, "-window-id needs a window id, not '0x'"},
        {{"-window-id", "0x1g"}, "-window-id needs a window id, not '0x1g'"},
        {{"-window-id", "0x100000000"}, "-window-id needs a window id, not '0x100000000'"},
        {{"-probe-limit", "-1"}, "-probe-limit needs a count, not '-1'"},
    };
    for (const BadCase& c : cases) {
        HackOptions options;
        EXPECT_EQ(Parse(c.args, options).value_or("accepted"), c.message) << testing::PrintToString(c.args);
    }
}

TEST(HackOptions, HelpListsEveryTableSwitchButNoTestOption) {
    HackOptions options;
    ASSERT_FALSE(Parse({"--help", "--version"}, options));
    EXPECT_TRUE(options.help);
    EXPECT_TRUE(options.version);
    const std::string usage = HackUsage();
    for (const SaverOption& option : kSaverOptions) {
        if (option.commandSwitch.name.empty()) continue;
        std::string spelled(option.commandSwitch.name);
        if (!option.commandSwitch.valueName.empty()) (spelled += ' ') += option.commandSwitch.valueName;
        EXPECT_NE(usage.find("  " + spelled + " "), std::string::npos) << spelled;
        EXPECT_NE(usage.find(option.commandSwitch.help), std::string::npos) << spelled;
    }
    for (const char* mode : {"-window ", "-fullscreen ", "-root ", "-window-id ID", "-display NAME", "-version "}) {
        EXPECT_NE(usage.find(mode), std::string::npos) << mode;
    }
    EXPECT_EQ(usage.find("replay"), std::string::npos);
    EXPECT_EQ(usage.find("probe-limit"), std::string::npos);
}

TEST(HackOptions, TheManualPageDescribesEveryOptionOfTheHelp) {
    const std::string manual = HackManual();
    for (const HelpGroup& group : HackHelpGroups()) {
        for (const HelpEntry& entry : group.entries) {
            const std::string name = entry.spelled.substr(0, entry.spelled.find(' '));
            EXPECT_NE(manual.find("\\fB" + RoffEscaped(name) + "\\fR"), std::string::npos) << name;
            EXPECT_NE(manual.find(RoffEscaped(entry.help)), std::string::npos) << name;
        }
    }
}

struct TargetCase {
    std::vector<std::string_view> args;
    const char* variable;  // XSCREENSAVER_WINDOW, or null
    DrawMode mode;
    std::uint64_t windowId;
};

TEST(HackOptions, XScreenSaverWindowIsUsedUnlessTheUserChoseAnother) {
    const TargetCase cases[] = {
        {{}, nullptr, DrawMode::kOwnWindow, 0},
        {{}, "", DrawMode::kOwnWindow, 0},
        {{}, "0x2c00007", DrawMode::kGivenWindow, 0x2c00007},
        {{"-root"}, nullptr, DrawMode::kRoot, 0},
        {{"-root"}, "0x2c00007", DrawMode::kGivenWindow, 0x2c00007},
        {{"-window"}, "0x2c00007", DrawMode::kOwnWindow, 0},
        {{"-fullscreen"}, "0x2c00007", DrawMode::kFullScreen, 0},
        {{"-window-id", "12"}, "0x2c00007", DrawMode::kGivenWindow, 12},
        {{"-root", "-window-id", "12"}, "0x2c00007", DrawMode::kGivenWindow, 12},
    };
    for (const TargetCase& c : cases) {
        HackOptions options;
        ASSERT_FALSE(Parse(c.args, options));
        const auto chosen = ChooseDrawTarget(options, c.variable);
        ASSERT_TRUE(std::holds_alternative<DrawTarget>(chosen)) << std::get<std::string>(chosen);
        const DrawTarget target = std::get<DrawTarget>(chosen);
        const std::string where = testing::PrintToString(c.args) + " with " + (c.variable ? c.variable : "(unset)");
        EXPECT_EQ(target.mode, c.mode) << where;
        EXPECT_EQ(target.windowId, c.windowId) << where;
    }
    HackOptions none;
    const auto broken = ChooseDrawTarget(none, "window");
    ASSERT_TRUE(std::holds_alternative<std::string>(broken));
    EXPECT_EQ(std::get<std::string>(broken), "XSCREENSAVER_WINDOW holds no window id: 'window'");
}

// The controls of lumetra-x11.xml by the switch they hand the program (through
// xscreensaver's attributes arg="-x %", arg-set="-x" and arg-unset="-x"):
// the element's name and its attributes.
// The options of a <select> come together under their switch, with the
// value each hands over ("-scale 2" gives 2) in `values`.
struct XmlControl {
    std::string element;
    std::map<std::string, std::string> attributes;
    std::vector<int> values = {};
};
std::map<std::string, XmlControl> ControlsOfTheDescription() {
    const std::string xml = test::ReadAll(std::string(LUMETRA_SOURCE_DIR) + "/apps/lumetra-x11/lumetra-x11.xml");
    const std::regex element(R"re(<(command|number|boolean|file|option)\b([^>]*)/>)re");
    const std::regex attribute(R"re(([a-z_-]+)="([^"]*)")re");
    std::map<std::string, XmlControl> controls;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), element); it != std::sregex_iterator(); ++it) {
        XmlControl control{(*it)[1].str(), {}};
        const std::string body = (*it)[2].str();
        for (auto a = std::sregex_iterator(body.begin(), body.end(), attribute); a != std::sregex_iterator(); ++a)
            control.attributes[(*a)[1].str()] = (*a)[2].str();
        for (const char* name : {"arg", "arg-set", "arg-unset"}) {
            if (!control.attributes.contains(name)) continue;
            const std::string& arg = control.attributes[name];
            const std::string sw = arg.substr(0, arg.find(' '));
            if (control.element != "option") {
                controls[sw] = control;
                continue;
            }
            controls[sw].element = "select";
            controls[sw].values.push_back(std::stoi(arg.substr(arg.find(' ') + 1)));
        }
    }
    return controls;
}

// Every switch of the settings table stands in the description with the
// table's default and the dialog's range, and the description offers nothing
// else but the -root that xscreensaver runs the hack with.
TEST(HackOptions, TheXScreenSaverDescriptionMatchesTheSettingsTable) {
    std::map<std::string, XmlControl> controls = ControlsOfTheDescription();
    ASSERT_TRUE(controls.contains("-root"));
    EXPECT_EQ(controls["-root"].element, "command");
    controls.erase("-root");
    for (const SaverOption& option : kSaverOptions) {
        const CommandSwitch& sw = option.commandSwitch;
        if (sw.name.empty()) continue;
        const std::string name(sw.name);
        ASSERT_TRUE(controls.contains(name)) << name << " is not in the description";
        XmlControl control = controls[name];
        controls.erase(name);
        if (std::holds_alternative<TextField>(option.field)) {
            EXPECT_EQ(control.element, "file") << name;
            continue;
        }
        const IntField& field = std::get<IntField>(option.field);
        if (sw.valueName.empty()) {
            // A check box hands the switch over when it leaves its default state.
            EXPECT_EQ(control.element, "boolean") << name;
            EXPECT_NE(field.defaultValue, sw.setTo) << name;
            EXPECT_EQ(control.attributes.contains("arg-set"), sw.setTo != 0) << name;
            continue;
        }
        ASSERT_TRUE(field.range) << name << " has no range for the description's control";
        if (control.element == "select") {
            // The option that hands nothing over stands for the default.
            for (const int value : control.values) {
                EXPECT_NE(value, field.defaultValue) << name;
                EXPECT_GE(value, field.range->min) << name;
                EXPECT_LE(value, field.range->max) << name;
            }
            continue;
        }
        EXPECT_EQ(control.element, "number") << name;
        EXPECT_EQ(control.attributes["default"], std::to_string(field.defaultValue)) << name;
        EXPECT_EQ(control.attributes["low"], std::to_string(field.range->min)) << name;
        EXPECT_EQ(control.attributes["high"], std::to_string(field.range->max)) << name;
    }
    for (const auto& [name, control] : controls) ADD_FAILURE() << name << " is in the description, not in the table";
}

}  // namespace
}  // namespace lumetra::x11
