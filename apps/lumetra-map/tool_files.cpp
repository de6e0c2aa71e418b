#include "apps/lumetra-map/tool_files.h"

#include <cerrno>
#include <filesystem>
#include <new>
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

}  // namespace

std::error_code ReadTargetLines(const std::string& path, const TargetLineHandler& onLine) {
    try {
        return ReadTargetFile(PathText(NativePath(path)), onLine);
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
    if (!file.Open(PathText(NativePath(path)), CFile::modeRead)) return SystemError(file.LastError());
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
    LoadSettings(settings, PathText(NativePath(path)));
    return {};
}

void ClampSettings(const CommandSpec& spec, SaverSettings& settings, const std::string& file) {
    for (const ClampedSetting& clamped : ClampToUsable(settings)) Note(spec, ClampedInFileMessage(clamped, file));
}

std::error_code CheckCreatable(const std::string& path) {
    const fs::path destination = NativePath(path);
    std::error_code error;
    if (fs::is_directory(destination, error)) return std::make_error_code(std::errc::is_a_directory);
    return CheckReplaceable(PathText(destination));
}

std::error_code ReplaceWithBytes(const std::string& path, std::string_view bytes) {
    return ReplaceFileWhole(PathText(NativePath(path)), bytes);
}

std::error_code ReplaceWithBmp(CDib& frame, const std::string& path) {
    try {
        return ReplaceWithBytes(path, frame.BmpFileBytes());
    } catch (const std::bad_alloc&) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
}

std::error_code FindBundledTargetFile(std::string& path) {
    std::error_code error;
    const fs::path folder = ProgramFolder(error);
    if (!error) path = PathText((folder / LUMETRA_BUNDLED_TARGET_FILE).lexically_normal());
    return error;
}

}  // namespace lumetra::map_tool
