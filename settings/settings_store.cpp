#include "settings/settings_store.h"

#include <array>
#include <optional>

#include "settings/private_profile.h"

namespace lumetra {

void LoadSettings(SaverSettings& settings, const std::string& iniPath) {
    // One snapshot of the file for every key, so that a save by another
    // process in between cannot mix two versions.
    const CProfileText profile = LoadProfile(iniPath).value_or(CProfileText());
    const auto find = [&profile](const char* key) { return profile.Find(kSettingsSection, key); };
    const auto readInt = [&find](const char* key, int& member) {
        if (const std::optional<std::string_view> value = find(key)) member = ParseProfileInt(*value, member);
    };

    settings.m_strTargetFile = CutToLimit(find("TargetFile").value_or(kDefaultTargetFile), kTargetFileBufferSize);
    readInt("MapMotion", settings.m_nMapMotion);
    readInt("PingPeriod", settings.m_nPingPeriod);
    readInt("PingTimeout", settings.m_nPingTimeout);
    readInt("DynamicRange", settings.m_bDynamicRange);
    readInt("ShowRange", settings.m_bShowRange);
    readInt("ShowData", settings.m_bShowData);
    readInt("SmoothColor", settings.m_bSmoothColor);
    readInt("ColorStyle", settings.m_nColorStyle);
    readInt("LearnTargets", settings.m_bLearnTargets);
    readInt("SaveFinalBMP", settings.m_bSaveFinalBMP);
}

void SaveSettings(const SaverSettings& settings, const std::string& iniPath) {
    // std::to_string formats an int exactly as "%d" does.
    const std::array<std::string, 8> values = {
        std::to_string(settings.m_nMapMotion),   std::to_string(settings.m_nPingPeriod),
        std::to_string(settings.m_nPingTimeout), std::to_string(settings.m_bDynamicRange),
        std::to_string(settings.m_bShowRange),   std::to_string(settings.m_bSmoothColor),
        std::to_string(settings.m_nColorStyle),  std::to_string(settings.m_bLearnTargets),
    };
    const std::array<ProfileEntry, 8> entries = {{
        {"MapMotion", values[0]},
        {"PingPeriod", values[1]},
        {"PingTimeout", values[2]},
        {"DynamicRange", values[3]},
        {"ShowRange", values[4]},
        {"SmoothColor", values[5]},
        {"ColorStyle", values[6]},
        {"LearnTargets", values[7]},
    }};
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
