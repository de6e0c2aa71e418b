#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "settings/settings_store.h"

namespace lumetra {
namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    // No HOME (started by a service): the account's entry knows it.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384U);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

std::filesystem::path ConfigFolder() {
    // Relative values are to be ignored, as the XDG base-directory rules say.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') return xdg;
    const std::filesystem::path home = HomeFolder();
    if (home.empty()) return {};
    return home / ".config";
}

}  // namespace

std::string SettingsFilePath() {
    const std::filesystem::path folder = ConfigFolder();
    if (folder.empty()) return kSettingsFileName;
    std::error_code error;
    // A folder made here is private to the user; if it cannot be made, saves fail quietly later.
    if (std::filesystem::create_directories(folder, error)) {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    }
    return (folder / kSettingsFileName).string();
}

}  // namespace lumetra
