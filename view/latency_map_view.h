// The saver's view without its window: the target list and the probe cycle,
// the frame with its drift and bounces, the renders and the snapshot. A front
// end (the Windows saver window, an X11 window) owns one and a probe worker,
// tells it the monitors under its window, calls Start when the window is
// created, forwards its two timers, the worker's results and its destruction,
// and paints each of Maps() with its MapPicture.
#pragma once

#include <functional>
#include <list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "imaging/canvas.h"
#include "imaging/dib.h"
#include "settings/saver_settings.h"
#include "settings/setting_limits.h"
#include "targets/ping_target.h"
#include "view/frame_motion.h"
#include "view/frame_renderer.h"
#include "view/map_motion.h"
#include "view/monitor_layout.h"
#include "view/probe_worker.h"
#include "view/random_source.h"
#include "view/target_cycle.h"
#include "view/target_probe.h"

namespace lumetra {

// The window's two timers. Both start at kStartTimerPeriodMs; the motion
// timer keeps it, the probe timer is set again after every probe to the
// period that ProbeNextTarget returns.
inline constexpr unsigned kMotionTimerId = 1;
inline constexpr unsigned kProbeTimerId = 2;
inline constexpr int kStartTimerPeriodMs = 110;

// Where the saver's files are looked for (see view/saver_files.h).
struct SaverFolders {
    std::string current;                  // first place of both files; "" = the process's current folder
    std::string executable;               // the target file when it is not in `current`
    std::optional<std::string> settings;  // the snapshot when `current` takes none; nothing = SettingsFolder()
    std::optional<std::string> snapshot = std::nullopt;  // the one folder of the snapshot instead of those two
};

class CLatencyMapView {
public:
    // Settings at their defaults, no targets, no current target, not started.
    // The random source is the owner's to seed.
    CLatencyMapView() = default;
    CLatencyMapView(const CLatencyMapView&) = delete;
    CLatencyMapView& operator=(const CLatencyMapView&) = delete;

    // The settings file: the user's own, or the one at `iniPath`. A number
    // that does not work is taken into the dialog's range (ClampToUsable);
    // what was changed comes back for a front end that tells its user.
    std::vector<ClampedSetting> LoadSettings();
    std::vector<ClampedSetting> LoadSettings(const std::string& iniPath);
    void SaveSettings() const;
    void SaveSettings(const std::string& iniPath) const;

    void SetFolders(SaverFolders folders) { m_folders = std::move(folders); }

    // Sets the region to "USA" and appends the records of the target file,
    // found by LocateTargetFile, to the list (which is not emptied first).
    void LoadTargetFile();
    // What LoadTargetFile reads, as a function to call off the
    // user-interface thread (finding the file asks the file system too), and
    // as a job for a probe worker.
    std::function<TargetList()> TargetFileReader() const;
    WorkJob TargetFileJob() const;
    // Deletes every target; the current target becomes none.
    void FreeTargetList();

    // The monitors the window spans, in virtual-screen coordinates, and the
    // window's top left corner among them; before Start. Without them (a
    // preview, a window of its own) the client area is the one map's area.
    void SetMonitors(std::vector<Monitor> monitors, Point windowOrigin);

    // The start, done once (false and nothing done on a later call): loads
    // the images, reads the target file, creates the frame (with a reference
    // drawing context, as a DIB section; null on Linux), places the maps in
    // `client` (MapAreas, PlaceMaps: a drift and then a position for each),
    // and renders the first frame. A missing or broken image resource throws
    // ResourceException.
    bool Start(const Rect& client, CDC* referenceDC, IRandomSource& random);
    // The same start for a front end with a worker: the target file is read
    // on `worker`, and its records join the list when that result comes to
    // OnWorkDone. Until then timer 2 probes nothing.
    bool Start(const Rect& client, CDC* referenceDC, IRandomSource& random, CProbeWorker& worker);

    // Timer 1: moves every map by its drift and bounces it off the edges of
    // its area; without monitors that area is `client` as it is now.
    void MoveFrame(const Rect& client, IRandomSource& random);

    // Timer 2 without a worker: moves to the next target of the region; when
    // there is one, probes it here, renders and returns the period (ms) to set
    // timer 2 to. With no target, nothing is probed and timer 2 keeps its
    // period.
    std::optional<int> ProbeNextTarget(IEchoProber& prober);

    // What every front end does when one of its two timers fires: timer 1
    // moves the frame, timer 2 starts the probe of the next target on
    // `worker`, unless a probe is in flight or the target file is still being
    // read. Then the front end repaints the frame at Position(); the frame
    // keeps moving while a probe is in flight.
    void OnTimer(unsigned timerId, const Rect& client, CProbeWorker& worker, IRandomSource& random);

    // A result of the worker. A probe's results go to the target it probed,
    // which becomes the current one, the frame is rendered and the period
    // (ms) to set timer 2 to again comes back: the next probe comes one
    // period after this probe and its render ended. The target file's records
    // join the list. Anything that comes after the destruction is dropped.
    std::optional<int> OnWorkDone(WorkResult result);

    // Recomputes the frame, with the current target's marker, and the scaled
    // pictures of the maps from it. Nothing before the start or after the
    // destruction.
    void RenderFrame();

    // The window is going: writes the snapshot when SaveFinalBMP is set
    // (rendered afresh from the results so far; see WriteSnapshot), then
    // releases the frame, the images and the targets, whether or not the
    // snapshot was written. A probe in flight does not count: the snapshot is
    // the frame as last rendered. Returns the snapshot's path, or nothing.
    std::optional<std::string> Destroy();

    bool IsStarted() const { return m_bNotStarted == 0; }
    const CDib& Frame() const { return m_dibFrame; }
    // The maps on screen, the primary monitor's first, and the picture each
    // shows: the frame itself at scale 1, else its scaled copy as of the
    // last render (empty until then).
    std::span<const ShownMap> Maps() const { return m_maps; }
    const CDib& MapPicture(const ShownMap& map) const;
    // The first map's corner and drift; the frame's size.
    Point Position() const { return m_maps.empty() ? Point{} : m_maps.front().position; }
    Size FrameSize() const { return m_sizeFrame; }
    Point Drift() const { return m_maps.empty() ? Point{} : m_maps.front().drift; }
    PingTarget* CurrentTarget() const { return m_posCurrent ? (*m_posCurrent)->get() : nullptr; }

    // The configuration dialog works on these while no window exists.
    SaverSettings& Settings() { return m_settings; }
    const SaverSettings& Settings() const { return m_settings; }
    TargetList& Targets() { return m_targets; }
    const TargetList& Targets() const { return m_targets; }
    const std::string& Region() const { return m_strRegion; }

private:
    // Timer 2: the probe of the next target, made for whoever runs it, and
    // that target kept as the one in flight; nothing when there is no target
    // or one is in flight.
    std::optional<WorkJob> BeginProbe();
    void StartWithoutTargets(const Rect& client, CDC* referenceDC, IRandomSource& random);
    void ScalePictures();

    // A map's picture when it is not the frame itself, by its size on screen.
    struct ScaledPicture {
        Size size;
        CDib dib;
    };

    TargetPosition m_posCurrent;
    TargetPosition m_posProbing;  // the target whose probe is in flight
    bool m_bReadingTargets = false;
    CDib m_dibFrame;
    // The kernel, the ramp, the outline and the icons: loaded by the start,
    // since a resource can fail to load and a view is made before any window.
    std::optional<CFrameRenderer> m_renderer;
    Size m_sizeFrame;
    std::vector<Monitor> m_monitors;
    Point m_ptWindowOrigin;
    std::vector<ShownMap> m_maps;
    std::list<ScaledPicture> m_pictures;  // a list: a CDib does not move
    SaverSettings m_settings;
    TargetList m_targets;
    std::string m_strRegion;
    int m_bNotStarted = 1;
    SaverFolders m_folders;
};

}  // namespace lumetra
