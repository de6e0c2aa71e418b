// Loading and saving the saver's settings in its ini file.
#pragma once

#include <string>

#include "settings/saver_settings.h"

namespace lumetra {

inline constexpr char kSettingsFileName[] = "Lumetra.ini";
inline constexpr char kSettingsSection[] = "Lumetra";

// The ini file in the user's own configuration folder (created if missing):
// the application-data folder on Windows, $XDG_CONFIG_HOME or ~/.config on
// Linux. Just the file name when no such folder is known.
std::string SettingsFilePath();

// Reads every option of kSaverOptions. A missing file, section or key leaves
// a number as it is and gives a text its default. Values are taken as they
// are, without checks.
void LoadSettings(SaverSettings& settings, const std::string& iniPath);
void LoadSettings(SaverSettings& settings);

// Writes the saved options (the ones the dialog edits) in one replacement of
// the file, those saved kUnlessDefault only when chosen or named already;
// the others are never written. A file that cannot be written is
// left as it was, without a word.
void SaveSettings(const SaverSettings& settings, const std::string& iniPath);
void SaveSettings(const SaverSettings& settings);

}  // namespace lumetra
