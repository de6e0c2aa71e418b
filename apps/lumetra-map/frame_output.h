// The frame that render and probe write: drawn as the saver draws it and put
// in place of any older file only when whole.
#pragma once

#include <string>
#include <string_view>

#include "apps/lumetra-map/command_line.h"
#include "settings/saver_settings.h"
#include "targets/ping_target.h"
#include "view/frame_renderer.h"

namespace lumetra::map_tool {

// Draws the frame with `renderer` and writes it to `path` (ReplaceWithBmp).
// A failed write is said as the command's own; the result is its exit code.
int DrawFrameTo(const CommandSpec& spec, const std::string& path, const CFrameRenderer& renderer,
                const TargetList& targets, std::string_view region, const SaverSettings& settings,
                const PingTarget* current);

}  // namespace lumetra::map_tool
