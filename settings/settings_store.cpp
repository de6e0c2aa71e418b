#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <optional>

#include "settings/private_profile.h"

namespace lumetra {
namespace {

void LoadField(SaverSettings& settings, const IntField& field, std::optional<std::string_view> value) {
    if (value) settings.*field.member = ParseProfileInt(*value, settings.*field.member);
}

void LoadField(SaverSettings& settings, const TextField& field, std::optional<std::string_view> value) {
    settings.*field.member = CutToLimit(value.value_or(field.defaultValue), field.limit);
}

// std::to_string formats an int exactly as "%d" does.
std::string FieldText(const SaverSettings& settings, const IntField& field) {
    return std::to_string(settings.*field.member);
}

std::string FieldText(const SaverSettings& settings, const TextField& field) {
    return settings.*field.member;
}

constexpr auto kSavedCount =
    static_cast<std::size_t>(std::ranges::count(kSaverOptions, Saved::kYes, &SaverOption::saved));

}  // namespace

void LoadSettings(SaverSettings& settings, const std::string& iniPath) {
    // One snapshot of the file for every key, so that a save by another
    // process in between cannot mix two versions.
    const CProfileText profile = LoadProfile(iniPath).value_or(CProfileText());
    for (const SaverOption& option : kSaverOptions) {
        const std::optional<std::string_view> value = profile.Find(kSettingsSection, option.key);
        std::visit([&](const auto& field) { LoadField(settings, field, value); }, option.field);
    }
}

void SaveSettings(const SaverSettings& settings, const std::string& iniPath) {
    std::array<std::string, kSavedCount> values;
    std::array<ProfileEntry, kSavedCount> entries;
    std::size_t count = 0;
    for (const SaverOption& option : kSaverOptions) {
        if (option.saved == Saved::kNo) continue;
        values[count] = std::visit([&](const auto& field) { return FieldText(settings, field); }, option.field);
        entries[count] = {option.key, values[count]};
        ++count;
    }
    // Failures stay quiet: the members keep their values and the old file stays whole.
    static_cast<void>(WriteProfileValues(kSettingsSection, entries, iniPath));
}

void LoadSettings(SaverSettings& settings) {
    LoadSettings(settings, SettingsFilePath());
}

void SaveSettings(const SaverSettings& settings) {
    SaveSettings(settings, SettingsFilePath());
}

}  // namespace lumetra
