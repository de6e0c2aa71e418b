#include "apps/lumetra-map/frame_output.h"

#include "apps/lumetra-map/tool_files.h"
#include "imaging/dib.h"

namespace lumetra::map_tool {

int DrawFrameTo(const CommandSpec& spec, const std::string& path, const CFrameRenderer& renderer,
                const TargetList& targets, std::string_view region, const SaverSettings& settings,
                const PingTarget* current) {
    CDib frame;
    renderer.CreateFrame(frame);
    renderer.RenderFrame(frame, targets, region, settings, current);
    if (const std::error_code error = ReplaceWithBmp(frame, path)) {
        return Fail(spec, kExitIncomplete, "writing '" + path + "' failed: " + error.message());
    }
    return kExitDone;
}

}  // namespace lumetra::map_tool
