// Every file lumetra-map reads or writes, named as the user gave it: each path
// goes through NativePath, the rule the saver applies to its own paths, and
// each failure comes back with the system's reason, taken where it happened.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "apps/lumetra-map/command_line.h"
#include "settings/saver_settings.h"
#include "targets/ping_target.h"
#include "targets/target_file.h"

namespace lumetra {
class CDib;
}

namespace lumetra::map_tool {

// Each line of the target file, parsed, as the saver's reader hands it on.
// Running out of memory is an error too: std::errc::not_enough_memory.
[[nodiscard]] std::error_code ReadTargetLines(const std::string& path, const TargetLineHandler& onLine);

// Appends the records the saver keeps from the target file to `targets`.
[[nodiscard]] std::error_code ReadTargets(const std::string& path, TargetList& targets);

// The whole file as bytes.
[[nodiscard]] std::error_code ReadText(const std::string& path, std::string& text);

// The saver's settings from the ini file at `path`, which must be readable.
[[nodiscard]] std::error_code ReadSettings(const std::string& path, SaverSettings& settings);

// Takes the numbers of `settings` that do not work into the dialog's range,
// as the saver does, and says each on stderr as the command's note.
void ClampSettings(const CommandSpec& spec, SaverSettings& settings, const std::string& file);

// Whether a new file can be put at `path`: asked before a long piece of
// work, so that a wrong name costs none of it. The file itself is not touched.
[[nodiscard]] std::error_code CheckCreatable(const std::string& path);

// Writes `bytes` to a new file beside `path` and renames it over `path` once
// it is whole (ReplaceFileWhole): a failed or interrupted run leaves any
// older file as it was, and a link at `path` is replaced, not followed.
[[nodiscard]] std::error_code ReplaceWithBytes(const std::string& path, std::string_view bytes);

// ReplaceWithBytes with `frame` as a BMP file.
[[nodiscard]] std::error_code ReplaceWithBmp(CDib& frame, const std::string& path);

// The target file installed with the tool, found from the tool's own folder.
[[nodiscard]] std::error_code FindBundledTargetFile(std::string& path);

}  // namespace lumetra::map_tool
