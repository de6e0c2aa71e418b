#include "settings/setting_limits.h"

namespace lumetra {
namespace {

const IntField* NumberOf(const SaverOption& option) {
    return std::get_if<IntField>(&option.field);
}

// "is below 1" or "is above 65535".
std::string Bound(const ClampedSetting& clamped) {
    return clamped.given < clamped.usable.min ? "is below " + std::to_string(clamped.usable.min)
                                              : "is above " + std::to_string(clamped.usable.max);
}

}  // namespace

int UsableValue(const IntField& field, int value) {
    if (!field.usable || !field.range) return value;
    if (value < field.usable->min) return field.range->min;
    if (value > field.usable->max) return field.range->max;
    return value;
}

std::vector<ClampedSetting> ClampToUsable(SaverSettings& settings) {
    std::vector<ClampedSetting> clamped;
    for (const SaverOption& option : kSaverOptions) {
        const IntField* field = NumberOf(option);
        if (field == nullptr) continue;
        int& value = settings.*field->member;
        const int used = UsableValue(*field, value);
        if (used == value) continue;
        clamped.push_back({&option, value, used, *field->usable});
        value = used;
    }
    return clamped;
}

std::optional<int> SwitchValue(const SaverOption& option, int given, std::optional<ClampedSetting>& clamped) {
    clamped.reset();
    const IntField* field = NumberOf(option);
    if (field == nullptr || !field->usable) return given;
    if (given < field->usable->min) return std::nullopt;
    const int used = UsableValue(*field, given);
    if (used != given) clamped = ClampedSetting{&option, given, used, *field->usable};
    return used;
}

std::string ClampedInFileMessage(const ClampedSetting& clamped, std::string_view file) {
    return std::string(clamped.option->key) + '=' + std::to_string(clamped.given) + " in '" + std::string(file) + "' " +
           Bound(clamped) + "; using " + std::to_string(clamped.used) + " instead";
}

std::string ClampedSwitchMessage(const ClampedSetting& clamped) {
    return std::string(clamped.option->commandSwitch.name) + ' ' + std::to_string(clamped.given) + ' ' +
           Bound(clamped) + "; using " + std::to_string(clamped.used) + " instead";
}

std::string RefusedSwitchMessage(const SaverOption& option, std::string_view given) {
    const IntField* field = NumberOf(option);
    const int least = field != nullptr && field->usable ? field->usable->min : 0;
    return std::string(option.commandSwitch.name) + " needs a number of at least " + std::to_string(least) + ", not '" +
           std::string(given) + "'";
}

}  // namespace lumetra
