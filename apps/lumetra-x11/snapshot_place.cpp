#include "apps/lumetra-x11/snapshot_place.h"

#include <string_view>

namespace lumetra::x11 {
namespace {

constexpr std::string_view kFolderName = "lumetra";

bool Absolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

}  // namespace

std::optional<std::string> StateFolder(const char* xdgStateHome, const char* home) {
    if (Absolute(xdgStateHome)) return std::string(xdgStateHome) + "/" + std::string(kFolderName);
    if (Absolute(home)) return std::string(home) + "/.local/state/" + std::string(kFolderName);
    return std::nullopt;
}

bool RunsAsSaver(const HackOptions& options, const char* xscreensaverWindow) {
    return options.rootGiven || (xscreensaverWindow != nullptr && xscreensaverWindow[0] != '\0');
}

}  // namespace lumetra::x11
