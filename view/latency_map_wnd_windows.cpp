#include "view/latency_map_wnd_windows.h"

#include <string>

#include "framework/dc_windows.h"

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
    if (m_hWnd == nullptr) return;  // the configuration mode: settings and targets only
    // The frame's own memory context is made compatible with the screen's.
    CDC screenCompatible(CreateCompatibleDC(nullptr));
    if (!m_view.Start(ClientRect(), &screenCompatible, m_random)) return;
    SetTimer(kMotionTimerId, kStartTimerPeriodMs);
    SetTimer(kProbeTimerId, kStartTimerPeriodMs);
}

void CLatencyMapWnd::OnTimer(UINT_PTR id) {
    if (const std::optional<int> period = m_view.OnTimer(static_cast<unsigned>(id), ClientRect(), m_prober, m_random)) {
        SetTimer(kProbeTimerId, static_cast<UINT>(*period));
    }
    Invalidate(FALSE);
}

void CLatencyMapWnd::OnDraw(CDC* pDC) {
    const CDC* frame = m_view.Frame().GetDC();
    if (frame == nullptr) return;
    const Point position = m_view.Position();
    const Size size = m_view.FrameSize();
    pDC->BitBlt(position.x, position.y, size.cx, size.cy, *frame, 0, 0, SRCCOPY);
}

void CLatencyMapWnd::OnDestroy() {
    // The timers end with the window; the snapshot and the releases are the view's.
    static_cast<void>(m_view.Destroy());
}

}  // namespace lumetra
