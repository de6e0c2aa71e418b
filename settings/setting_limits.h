// Numbers that do what they say: a PingTimeout of 0 would send no probe and
// report a timeout, a PingPeriod of 0 would probe without pause, a MapMotion
// outside the dialog's slider would stall or smear the frame. The table
// (kSaverOptions) declares for each number the values that work; here they
// are enforced, the same way in every program.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/saver_settings.h"

namespace lumetra {

// A number that lay outside the values that work, and the one used instead:
// the nearest end of what the dialog offers.
struct ClampedSetting {
    const SaverOption* option;
    int given;
    int used;
    IntRange usable;  // the values that work, one of whose ends `given` passed
};

// `value` when it works for `field`, else the nearest end of the dialog's range.
int UsableValue(const IntField& field, int value);

// Takes every number of `settings` that does not work to the nearest end of
// the dialog's range; returns what it changed, in the table's order.
std::vector<ClampedSetting> ClampToUsable(SaverSettings& settings);

// For the command line: the value a switch sets, or nothing when it lies
// below the values that work (such a switch is refused: "-ping-timeout 0"
// asks for something that cannot be done). A value above them is clamped
// and comes back in `clamped`.
std::optional<int> SwitchValue(const SaverOption& option, int given, std::optional<ClampedSetting>& clamped);

// One line for the user, without a trailing newline:
// "PingTimeout=0 in 'FILE' is below 1; using 100 instead".
std::string ClampedInFileMessage(const ClampedSetting& clamped, std::string_view file);
// "-ping-timeout 70000 is above 65535; using 5000 instead".
std::string ClampedSwitchMessage(const ClampedSetting& clamped);
// "-ping-timeout needs a number of at least 1, not '0'".
std::string RefusedSwitchMessage(const SaverOption& option, std::string_view given);

}  // namespace lumetra
