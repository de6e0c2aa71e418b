#include "view/latency_map_view.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <variant>

#include "imaging/dib_scale.h"
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
    m_strRegion = kRegionUsa;
    m_targets.splice(m_targets.end(), TargetFileReader()());
}

std::function<TargetList()> CLatencyMapView::TargetFileReader() const {
    return [file = m_settings.m_strTargetFile, folders = m_folders] {
        TargetList targets;
        std::string region;
        lumetra::LoadTargetFile(LocateTargetFile(file, folders.current, folders.executable), targets, region);
        return targets;
    };
}

WorkJob CLatencyMapView::TargetFileJob() const {
    return [read = TargetFileReader()](IEchoProber&) -> WorkResult { return TargetsRead{read()}; };
}

void CLatencyMapView::FreeTargetList() {
    m_posCurrent.reset();
    m_posProbing.reset();
    lumetra::FreeTargetList(m_targets);
}

bool CLatencyMapView::Start(const Rect& client, CDC* referenceDC, IRandomSource& random) {
    if (m_bNotStarted == 0) return false;
    m_bNotStarted = 0;
    m_renderer.emplace();
    LoadTargetFile();
    StartWithoutTargets(client, referenceDC, random);
    return true;
}

bool CLatencyMapView::Start(const Rect& client, CDC* referenceDC, IRandomSource& random, CProbeWorker& worker) {
    if (m_bNotStarted == 0) return false;
    m_bNotStarted = 0;
    m_renderer.emplace();
    m_strRegion = kRegionUsa;
    m_bReadingTargets = true;
    worker.Post(TargetFileJob());
    StartWithoutTargets(client, referenceDC, random);
    return true;
}

void CLatencyMapView::SetMonitors(std::vector<Monitor> monitors, Point windowOrigin) {
    m_monitors = std::move(monitors);
    m_ptWindowOrigin = windowOrigin;
}

// The first frame needs no target: none has a result yet.
void CLatencyMapView::StartWithoutTargets(const Rect& client, CDC* referenceDC, IRandomSource& random) {
    m_sizeFrame = {kFrameWidth, kFrameHeight};
    m_renderer->CreateFrame(m_dibFrame, referenceDC);
    const Point o = m_ptWindowOrigin;
    const Rect window{client.left + o.x, client.top + o.y, client.right + o.x, client.bottom + o.y};
    const std::vector<MapArea> areas =
        MapAreas(m_monitors, window, m_settings.m_nMapScale, m_settings.m_bAllMonitors != 0);
    m_maps = PlaceMaps(areas, m_settings.m_nMapMotion, random);
    RenderFrame();
}

void CLatencyMapView::MoveFrame(const Rect& client, IRandomSource& random) {
    // A window of its own or xscreensaver's may be resized: its one map
    // bounces off the edges it has now, as the single frame always did.
    if (m_monitors.empty() && m_maps.size() == 1) m_maps.front().bounds = client;
    MoveMaps(m_maps, m_settings.m_nMapMotion, random);
}

std::optional<WorkJob> CLatencyMapView::BeginProbe() {
    if (m_posProbing || m_bReadingTargets) return std::nullopt;
    TargetPosition next = m_posCurrent;
    AdvanceTarget(m_targets, m_strRegion, next);
    if (!next) return std::nullopt;
    m_posProbing = next;
    return ProbeJob(***next, m_settings.m_nPingTimeout);
}

std::optional<int> CLatencyMapView::ProbeNextTarget(IEchoProber& prober) {
    std::optional<WorkJob> probe = BeginProbe();
    if (!probe) return std::nullopt;
    return OnWorkDone((*probe)(prober));
}

void CLatencyMapView::OnTimer(unsigned timerId, const Rect& client, CProbeWorker& worker, IRandomSource& random) {
    if (timerId == kMotionTimerId) MoveFrame(client, random);
    if (timerId != kProbeTimerId) return;
    if (std::optional<WorkJob> probe = BeginProbe()) worker.Post(std::move(*probe));
}

std::optional<int> CLatencyMapView::OnWorkDone(WorkResult result) {
    if (auto* read = std::get_if<TargetsRead>(&result)) {
        if (m_bReadingTargets) m_targets.splice(m_targets.end(), read->targets);
        m_bReadingTargets = false;
        return std::nullopt;
    }
    if (!m_posProbing) return std::nullopt;
    m_posCurrent = std::exchange(m_posProbing, std::nullopt);
    CopyProbeResults(std::get<ProbeDone>(result).probed, ***m_posCurrent);
    RenderFrame();
    return m_settings.m_nPingPeriod;
}

void CLatencyMapView::RenderFrame() {
    if (!m_renderer || m_dibFrame.IsEmpty()) return;
    m_renderer->RenderFrame(m_dibFrame, m_targets, m_strRegion, m_settings, CurrentTarget());
    ScalePictures();
}

// Made here, once per render, so that a motion tick only copies pictures.
void CLatencyMapView::ScalePictures() {
    std::vector<Size> made;  // maps of one size share their picture
    for (const ShownMap& map : m_maps) {
        if (map.size == m_sizeFrame || std::find(made.begin(), made.end(), map.size) != made.end()) continue;
        made.push_back(map.size);
        auto same = [&map](const ScaledPicture& p) { return p.size == map.size; };
        auto it = std::find_if(m_pictures.begin(), m_pictures.end(), same);
        if (it == m_pictures.end()) {
            it = m_pictures.emplace(m_pictures.end());
            it->size = map.size;
        }
        // The pictures' memory contexts are made like the frame's own; a
        // large one at 32 bits, which screens copy without converting.
        if (map.scale > 1) {
            ScaleUpByBlocks(m_dibFrame, map.scale, it->dib, m_dibFrame.GetDC(), 32);
        } else {
            ScaleByAreaAverage(m_dibFrame, map.size.cx, map.size.cy, it->dib, m_dibFrame.GetDC());
        }
    }
}

const CDib& CLatencyMapView::MapPicture(const ShownMap& map) const {
    if (map.size == m_sizeFrame) return m_dibFrame;
    for (const ScaledPicture& picture : m_pictures) {
        if (picture.size == map.size) return picture.dib;
    }
    static const CDib kNone;
    return kNone;
}

std::optional<std::string> CLatencyMapView::Destroy() {
    std::optional<std::string> snapshot;
    if (m_settings.m_bSaveFinalBMP != 0 && m_renderer) {
        try {
            RenderFrame();
            const std::string settingsFolder = m_folders.settings ? *m_folders.settings : SettingsFolder();
            const std::vector<std::string> folders = m_folders.snapshot
                                                         ? std::vector{*m_folders.snapshot}
                                                         : SnapshotFolders(m_folders.current, settingsFolder);
            snapshot = WriteSnapshot(m_dibFrame, SnapshotPaths(folders));
        } catch (const std::exception&) {
            // Whatever stopped the snapshot, the saver still lets go of its images and targets.
        }
    }
    m_pictures.clear();
    m_dibFrame.Free();
    m_renderer.reset();
    m_bReadingTargets = false;
    FreeTargetList();
    return snapshot;
}

}  // namespace lumetra
