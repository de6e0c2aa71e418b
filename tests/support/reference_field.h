// The colour field exactly as defined: every pixel visits every target. Slow
// by design; the tests and the benchmark hold the real field against it.
#pragma once

#include <string_view>

#include "imaging/dib.h"
#include "settings/saver_settings.h"
#include "targets/ping_target.h"

namespace lumetra {

struct ReferenceRange {
    int low;
    int high;
};

// Fills every pixel of the 516 x 310 frame from the kernel and ramp images and
// returns the range's ends.
ReferenceRange ReferenceLatencyField(CDib& frame, const CDib& kernel, const CDib& ramp, const TargetList& targets,
                                     std::string_view region, const SaverSettings& settings);

// The ramp entry of the one pixel (x, y) of that field.
int ReferencePixelEntry(const CDib& kernel, const TargetList& targets, std::string_view region,
                        const SaverSettings& settings, int x, int y);

class CFrameRenderer;

// A whole frame the slow way: text attributes, the reference field, then the
// same overlays as the real renderer, with the renderer's images.
ReferenceRange ReferenceRenderFrame(const CFrameRenderer& renderer, CDib& frame, const TargetList& targets,
                                    std::string_view region, const SaverSettings& settings, const PingTarget* current);

}  // namespace lumetra
