#include "view/saver_files.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "framework/native_path.h"
#include "framework/replace_file.h"
#include "settings/settings_store.h"

namespace lumetra {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Paths stay 8-bit strings, as the settings and the target reader take them.
std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (IsSeparator(folder.back())) return folder + name;
    return folder + static_cast<char>(std::filesystem::path::preferred_separator) + name;
}

bool IsAnchored(const std::string& path) {
    const std::filesystem::path native = NativePath(path);
    return native.has_root_name() || native.has_root_directory();
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(NativePath(path), error);
}

}  // namespace

std::string LocateTargetFile(const std::string& targetFile, const std::string& currentFolder,
                             const std::string& executableFolder) {
    if (IsAnchored(targetFile)) return targetFile;
    std::string first = InFolder(currentFolder, targetFile);
    if (IsFile(first) || executableFolder.empty()) return first;
    std::string beside = InFolder(executableFolder, targetFile);
    return IsFile(beside) ? beside : first;
}

std::string SettingsFolder() {
    const std::string settings = SettingsFilePath();
    const auto end = std::find_if(settings.rbegin(), settings.rend(), IsSeparator);
    return std::string(settings.begin(), end.base());
}

std::vector<std::string> SnapshotPaths(const std::vector<std::string>& folders) {
    std::vector<std::string> paths;
    for (const std::string& folder : folders) {
        std::string path = InFolder(folder, kSnapshotFileName);
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::string> SnapshotFolders(const std::string& current, const std::string& settings) {
    if (KeepsOthersOut(current)) return {current, settings};
    return {settings};
}

std::optional<std::string> WriteSnapshot(CDib& frame, const std::vector<std::string>& paths) {
    try {
        const std::string bytes = frame.BmpFileBytes();
        if (bytes.empty()) return std::nullopt;
        for (const std::string& path : paths) {
            if (!ReplaceFileWhole(path, bytes)) return path;
        }
    } catch (const std::exception&) {
        // No memory for the file's bytes: the saver ends without a snapshot.
    }
    return std::nullopt;
}

}  // namespace lumetra
