#include "view/latency_map_wnd_windows.h"

#include <memory>
#include <string>
#include <utility>

#include "framework/dc_windows.h"
#include "host/saver_host_windows.h"
#include "view/display_monitors_windows.h"

namespace lumetra {
namespace {

// The folder the program was started from: the bundled target file lies there.
std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

}  // namespace

const MessageEntry CLatencyMapWnd::kMessageEntries[] = {
    msg::OnTimer<&CLatencyMapWnd::OnTimer>(),
    msg::OnMessage<kWorkDoneMessage, &CLatencyMapWnd::OnWorkDone>(),
    msg::OnDestroy<&CLatencyMapWnd::OnDestroy>(),
};
const MessageMap CLatencyMapWnd::kMessageMap{&CScreenSaverWnd::kMessageMap, kMessageEntries};

CLatencyMapWnd::CLatencyMapWnd() {
    CRuntimeRandom::SeedWithTime();
    m_view.SetFolders({"", ExecutableFolder(), std::nullopt});
}

void CLatencyMapWnd::LoadSettings() {
    // A number that does not work is clamped quietly: the saver has no one to tell.
    static_cast<void>(m_view.LoadSettings());
}

void CLatencyMapWnd::SaveSettings() {
    m_view.SaveSettings();
}

Rect CLatencyMapWnd::ClientRect() const {
    const RECT client = GetClientRect();
    return {client.left, client.top, client.right, client.bottom};
}

void CLatencyMapWnd::OnStart() {
    if (m_hWnd == nullptr || m_view.IsStarted()) return;  // the configuration mode: settings and targets only
    HWND window = m_hWnd;
    m_worker.emplace(std::make_unique<CEchoProber>(), [window] { PostMessageA(window, kWorkDoneMessage, 0, 0); });
    // The full-screen window spans the monitors; a preview is one area.
    if (g_saverHost.bPreview == FALSE) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        m_view.SetMonitors(DisplayMonitors(), {origin.x, origin.y});
    }
    // The frame's own memory context is made compatible with the screen's.
    CDC screenCompatible(CreateCompatibleDC(nullptr));
    if (!m_view.Start(ClientRect(), &screenCompatible, m_random, *m_worker)) return;
    SetTimer(kMotionTimerId, kStartTimerPeriodMs);
    SetTimer(kProbeTimerId, kStartTimerPeriodMs);
}

void CLatencyMapWnd::OnTimer(UINT_PTR id) {
    if (m_worker) m_view.OnTimer(static_cast<unsigned>(id), ClientRect(), *m_worker, m_random);
    Invalidate(FALSE);
}

LRESULT CLatencyMapWnd::OnWorkDone() {
    while (std::optional<WorkResult> result = m_worker ? m_worker->Take() : std::nullopt) {
        if (const std::optional<int> period = m_view.OnWorkDone(std::move(*result))) {
            SetTimer(kProbeTimerId, static_cast<UINT>(*period));
        }
    }
    Invalidate(FALSE);
    return 0;
}

void CLatencyMapWnd::OnDraw(CDC* pDC) {
    for (const ShownMap& map : m_view.Maps()) {
        const CDC* picture = m_view.MapPicture(map).GetDC();
        if (picture == nullptr) continue;
        pDC->BitBlt(map.position.x, map.position.y, map.size.cx, map.size.cy, *picture, 0, 0, SRCCOPY);
    }
}

void CLatencyMapWnd::OnDestroy() {
    // A probe in flight is abandoned, not waited for: the run modes end the
    // process with ExitProcess, which stops that thread before anything is
    // destroyed. The timers end with the window; the snapshot and the
    // releases are the view's.
    m_worker.reset();
    static_cast<void>(m_view.Destroy());
}

}  // namespace lumetra
