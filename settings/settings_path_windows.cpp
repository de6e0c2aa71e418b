#include <shlobj.h>
#include <windows.h>

#include <array>
#include <cstdlib>

#include "settings/settings_store.h"

namespace lumetra {
namespace {

// The per-user application-data folder: writable by its user, unlike the
// Windows folder where a bare ini name would land.
std::string AppDataFolder() {
    std::array<char, MAX_PATH> folder{};
    if (SUCCEEDED(
            SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder.data()))) {
        return folder.data();
    }
    if (const char* appData = std::getenv("APPDATA"); appData != nullptr && appData[0] != '\0') {
        CreateDirectoryA(appData, nullptr);  // already there in all but odd set-ups
        return appData;
    }
    return {};
}

}  // namespace

std::string SettingsFilePath() {
    std::string folder = AppDataFolder();
    if (folder.empty()) return kSettingsFileName;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + kSettingsFileName;
}

}  // namespace lumetra
