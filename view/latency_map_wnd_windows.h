// CLatencyMapWnd: the saver's window object on Windows. It only forwards: the
// view (view/latency_map_view.h) holds the targets, the frame, the drift and
// the settings and makes every decision; the window gives it the client
// rectangle, its two timers, the probe worker's results and a screen to copy
// the frame to.
#pragma once

#include <windows.h>

#include <optional>

#include "host/saver_bases_windows.h"
#include "view/latency_map_view.h"
#include "view/probe_worker.h"
#include "view/random_source.h"
#include "view/target_probe.h"

namespace lumetra {

// A probe worker tells its window that results are waiting with this message.
inline constexpr UINT kWorkDoneMessage = WM_APP + 1;

class CLatencyMapWnd : public CScreenSaverWnd {
public:
    // Seeds the random generator with the time; the settings are at their defaults.
    CLatencyMapWnd();

    void OnDraw(CDC* pDC) override;
    void OnStart() override;
    void SaveSettings() override;
    void LoadSettings() override;

    // The configuration dialog edits the settings and lists the targets here.
    CLatencyMapView& View() { return m_view; }

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

private:
    void OnTimer(UINT_PTR id);
    LRESULT OnWorkDone();
    void OnDestroy();
    Rect ClientRect() const;

    CLatencyMapView m_view;
    CRuntimeRandom m_random;
    std::optional<CProbeWorker> m_worker;  // from the start to the destruction

    static const MessageEntry kMessageEntries[];
};

}  // namespace lumetra
