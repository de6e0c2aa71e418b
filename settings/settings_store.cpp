#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

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

constexpr auto kSavedCount = static_cast<std::size_t>(
    std::ranges::count_if(kSaverOptions, [](const SaverOption& option) { return option.saved != Saved::kNo; }));

bool AtDefault(const SaverSettings& settings, const SaverOption& option) {
    return std::visit([&](const auto& field) { return settings.*field.member == field.defaultValue; }, option.field);
}

// `file`: the settings file as it is now, if it could be read.
bool Writes(const SaverOption& option, const SaverSettings& settings, const std::optional<CProfileText>& file) {
    switch (option.saved) {
        case Saved::kNo: return false;
        case Saved::kYes: return true;
        case Saved::kUnlessDefault:
            return !AtDefault(settings, option) || (file && file->Find(kSettingsSection, option.key));
    }
    return false;
}

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
    const std::optional<CProfileText> file = LoadProfile(iniPath);
    std::array<std::string, kSavedCount> values;
    std::array<ProfileEntry, kSavedCount> entries;
    std::size_t count = 0;
    for (const SaverOption& option : kSaverOptions) {
        if (!Writes(option, settings, file)) continue;
        values[count] = std::visit([&](const auto& field) { return FieldText(settings, field); }, option.field);
        entries[count] = {option.key, values[count]};
        ++count;
    }
    // Failures stay quiet: the members keep their values and the old file stays whole.
    static_cast<void>(WriteProfileValues(kSettingsSection, std::span(entries.data(), count), iniPath));
}

void LoadSettings(SaverSettings& settings) {
    LoadSettings(settings, SettingsFilePath());
}

void SaveSettings(const SaverSettings& settings) {
    SaveSettings(settings, SettingsFilePath());
}

}  // namespace lumetra
