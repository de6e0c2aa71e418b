// Loading and saving the saver's settings in its ini file.
#pragma once

#include <cstddef>
#include <string>

#include "settings/saver_settings.h"

namespace lumetra {

inline constexpr char kSettingsFileName[] = "Lumetra.ini";
inline constexpr char kSettingsSection[] = "Lumetra";
inline constexpr char kDefaultTargetFile[] = ".\\lumetra.txt";
// "TargetFile" is read into a buffer of this size: at most 1023 characters.
inline constexpr std::size_t kTargetFileBufferSize = 1024;

// The ini file in the user's own configuration folder (created if missing):
// the application-data folder on Windows, $XDG_CONFIG_HOME or ~/.config on
// Linux. Just the file name when no such folder is known.
std::string SettingsFilePath();

// Reads every setting. A missing file, section or key leaves the member as it
// is, except "TargetFile", which then falls back to ".\lumetra.txt". Values
// are taken as they are, without checks.
void LoadSettings(SaverSettings& settings, const std::string& iniPath);
void LoadSettings(SaverSettings& settings);

// Writes the eight settings the dialog edits, in one replacement of the file.
// "TargetFile", "ShowData" and "SaveFinalBMP" are never written. A file that
// cannot be written is left as it was, without a word.
void SaveSettings(const SaverSettings& settings, const std::string& iniPath);
void SaveSettings(const SaverSettings& settings);

}  // namespace lumetra
