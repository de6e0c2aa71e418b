#include "view/latency_map_view.h"

#include <exception>

#include "settings/settings_store.h"
#include "targets/target_file.h"
#include "view/frame_size.h"
#include "view/saver_files.h"

namespace lumetra {

std::vector<ClampedSetting> CLatencyMapView::LoadSettings() {
    lumetra::LoadSettings(m_settings);
    return ClampToUsable(m_settings);
}

std::vector<ClampedSetting> CLatencyMapView::LoadSettings(const std::string& iniPath) {
    lumetra::LoadSettings(m_settings, iniPath);
    return ClampToUsable(m_settings);
}

void CLatencyMapView::SaveSettings() const {
    lumetra::SaveSettings(m_settings);
}

void CLatencyMapView::SaveSettings(const std::string& iniPath) const {
    lumetra::SaveSettings(m_settings, iniPath);
}

void CLatencyMapView::LoadTargetFile() {
    const std::string path = LocateTargetFile(m_settings.m_strTargetFile, m_folders.current, m_folders.executable);
    lumetra::LoadTargetFile(path, m_targets, m_strRegion);
}

void CLatencyMapView::FreeTargetList() {
    m_posCurrent.reset();
    lumetra::FreeTargetList(m_targets);
}

bool CLatencyMapView::Start(const Rect& client, CDC* referenceDC, IRandomSource& random) {
    if (m_bNotStarted == 0) return false;
    m_sizeFrame = {kFrameWidth, kFrameHeight};
    m_bNotStarted = 0;
    m_renderer.emplace();
    LoadTargetFile();
    m_renderer->CreateFrame(m_dibFrame, referenceDC);
    m_ptDrift = DrawDrift(m_settings.m_nMapMotion, random);
    m_ptPos = DrawPosition(client, m_sizeFrame, random);
    RenderFrame();
    return true;
}

void CLatencyMapView::MoveFrame(const Rect& client, IRandomSource& random) {
    lumetra::MoveFrame(m_ptPos, m_ptDrift, m_sizeFrame, client, m_settings.m_nMapMotion, random);
}

std::optional<int> CLatencyMapView::ProbeNextTarget(IEchoProber& prober) {
    AdvanceTarget(m_targets, m_strRegion, m_posCurrent);
    PingTarget* current = CurrentTarget();
    if (current == nullptr) return std::nullopt;
    static_cast<void>(ProbeTarget(*current, m_settings.m_nPingTimeout, prober));
    RenderFrame();
    return m_settings.m_nPingPeriod;
}

std::optional<int> CLatencyMapView::OnTimer(unsigned timerId, const Rect& client, IEchoProber& prober,
                                            IRandomSource& random) {
    if (timerId == kMotionTimerId) MoveFrame(client, random);
    // The next probe comes one period after this probe and its render ended.
    if (timerId == kProbeTimerId) return ProbeNextTarget(prober);
    return std::nullopt;
}

void CLatencyMapView::RenderFrame() {
    if (!m_renderer || m_dibFrame.IsEmpty()) return;
    m_renderer->RenderFrame(m_dibFrame, m_targets, m_strRegion, m_settings, CurrentTarget());
}

std::optional<std::string> CLatencyMapView::Destroy() {
    std::optional<std::string> snapshot;
    if (m_settings.m_bSaveFinalBMP != 0 && m_renderer) {
        try {
            RenderFrame();
            const std::string settingsFolder = m_folders.settings ? *m_folders.settings : SettingsFolder();
            snapshot = WriteSnapshot(m_dibFrame, SnapshotPaths(SnapshotFolders(m_folders.current, settingsFolder)));
        } catch (const std::exception&) {
            // Whatever stopped the snapshot, the saver still lets go of its images and targets.
        }
    }
    m_dibFrame.Free();
    m_renderer.reset();
    FreeTargetList();
    return snapshot;
}

}  // namespace lumetra
