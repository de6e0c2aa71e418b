// The drawing part of the view's render: text attributes, the colour field
// and the overlays, as one function of the view's state. The saver, the tests
// and lumetra-map all render through it.
#pragma once

#include <string_view>

#include "imaging/dib.h"
#include "imaging/image_list.h"
#include "settings/saver_settings.h"
#include "targets/ping_target.h"
#include "view/frame_size.h"
#include "view/latency_field.h"

namespace lumetra {

class CFrameRenderer {
public:
    // Loads the kernel (134) and ramp (135) images and the outline (131) and
    // icon (129) image lists from the resources. Throws ResourceException when
    // the kernel or the ramp is missing or not of its fixed size.
    CFrameRenderer();

    // 516 x 310, 24 bits per pixel; with a reference drawing context (Windows)
    // as a DIB section in a memory context of its own.
    void CreateFrame(CDib& frame, CDC* referenceDC = nullptr) const;

    // Recomputes every pixel of the frame (516 x 310, 24 bits; anything else
    // throws std::invalid_argument). A frame without pixel storage (its DIB
    // section could not be made) is left alone. current: the target whose
    // marker is drawn, or null.
    void RenderFrame(CDib& frame, const TargetList& targets, std::string_view region, const SaverSettings& settings,
                     const PingTarget* current) const;

    // The value range of the last render, as the legend printed it.
    int LastLow() const { return m_nLastLow; }
    int LastHigh() const { return m_nLastHigh; }
    FieldWidth LastFieldWidth() const { return m_lastWidth; }

    const CDib& Kernel() const { return m_dibKernel; }
    const CDib& Ramp() const { return m_dibRamp; }
    const CImageList& MapOutline() const { return m_ilMap; }
    const CImageList& Icons() const { return m_ilIcons; }

private:
    CDib m_dibKernel;
    CDib m_dibRamp;
    CImageList m_ilMap;
    CImageList m_ilIcons;
    RampColors m_rampColors{};
    // The field's planes are reused by every render.
    mutable CLatencyField m_field;
    mutable int m_nLastLow = 0;
    mutable int m_nLastHigh = 1;
    mutable FieldWidth m_lastWidth = FieldWidth::Bits32;
};

}  // namespace lumetra
