#include "apps/lumetra-map/tool_files.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <random>
#include <utility>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "framework/native_path.h"
#include "framework/program_folder.h"
#include "framework/replace_file.h"
#include "imaging/dib.h"
#include "settings/setting_limits.h"
#include "settings/settings_store.h"

namespace lumetra::map_tool {
namespace {

namespace fs = std::filesystem;

std::error_code SystemError(int cause) {
    return {cause != 0 ? cause : EIO, std::generic_category()};
}

// A new name beside `destination`, so that the rename stays on one file system.
fs::path TemporaryBeside(const fs::path& destination) {
    std::random_device random;
    std::string name = destination.filename().string() + '.' + std::to_string(random()) + ".tmp";
    return destination.parent_path() / name;
}

std::error_code Create(const fs::path& path, CFile& file) {
    return file.Open(path.string(), CFile::modeCreate | CFile::modeWrite) ? std::error_code()
                                                                          : SystemError(file.LastError());
}

std::error_code WriteBmpFile(CDib& frame, const fs::path& path) {
    CFile file;
    if (const std::error_code error = Create(path, file)) return error;
    try {
        frame.WriteBmp(&file);
        file.Close();
    } catch (const FileException& e) {
        return SystemError(e.Cause());
    }
    return {};
}

}  // namespace

std::error_code ReadTargetLines(const std::string& path, const TargetLineHandler& onLine) {
    try {
        return ReadTargetFile(NativePath(path).string(), onLine);
    } catch (const std::bad_alloc&) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
}

std::error_code ReadTargets(const std::string& path, TargetList& targets) {
    return ReadTargetLines(path, [&targets](std::size_t, ParsedLine parsed) {
        if (parsed.status == LineStatus::kAccepted) targets.push_back(std::move(parsed.target));
    });
}

std::error_code ReadText(const std::string& path, std::string& text) {
    CFile file;
    if (!file.Open(NativePath(path).string(), CFile::modeRead)) return SystemError(file.LastError());
    try {
        text.clear();
        char block[65536];
        while (const std::size_t got = file.Read(block, sizeof block)) text.append(block, got);
    } catch (const FileException& e) {
        return SystemError(e.Cause());
    } catch (const std::bad_alloc&) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
    return {};
}

std::error_code ReadSettings(const std::string& path, SaverSettings& settings) {
    // The saver reads a settings file it cannot open as an empty one; here
    // the user named it, so that is a mistake in the command.
    std::string text;
    if (const std::error_code error = ReadText(path, text)) return error;
    LoadSettings(settings, NativePath(path).string());
    return {};
}

void ClampSettings(const CommandSpec& spec, SaverSettings& settings, const std::string& file) {
    for (const ClampedSetting& clamped : ClampToUsable(settings)) Note(spec, ClampedInFileMessage(clamped, file));
}

std::error_code CheckCreatable(const std::string& path) {
    const fs::path destination = NativePath(path);
    std::error_code error;
    if (fs::is_directory(destination, error)) return std::make_error_code(std::errc::is_a_directory);
    const fs::path trial = TemporaryBeside(destination);
    {
        CFile file;
        if (const std::error_code created = Create(trial, file)) return created;
    }
    fs::remove(trial, error);
    return {};
}

std::error_code ReplaceWithBmp(CDib& frame, const std::string& path) {
    const fs::path destination = NativePath(path);
    const fs::path temporary = TemporaryBeside(destination);
    std::error_code error = WriteBmpFile(frame, temporary);
    if (!error) fs::rename(temporary, destination, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return error;
}

std::error_code FindBundledTargetFile(std::string& path) {
    std::error_code error;
    const fs::path folder = ProgramFolder(error);
    if (!error) path = (folder / LUMETRA_BUNDLED_TARGET_FILE).lexically_normal().string();
    return error;
}

}  // namespace lumetra::map_tool
