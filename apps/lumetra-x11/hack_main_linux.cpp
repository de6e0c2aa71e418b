// lumetra-x11: the saver's view on X11. It runs the portable view as the
// Windows saver window does: the motion timer every 110 ms, the probe timer
// 110 ms after the start and then one period after each probe, the probe on
// the view's worker thread in between, and the snapshot when the run ends. It
// ends on the mode's input, on the window's destruction, or on SIGTERM or
// SIGINT, whatever the network does meanwhile; after one of those signals
// it ends by that signal, as xscreensaver expects of its hacks. A saver's
// snapshot goes to the user's state folder (snapshot_place.h).
// Before X11's headers, whose macro None would clash with IcmpSocketKind::None.
#include "probe/echo_prober_linux.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iterator>
#include <list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "apps/lumetra-x11/hack_input.h"
#include "apps/lumetra-x11/hack_options.h"
#include "apps/lumetra-x11/hack_window_linux.h"
#include "apps/lumetra-x11/notice_line.h"
#include "apps/lumetra-x11/private_folder_linux.h"
#include "apps/lumetra-x11/replay_prober.h"
#include "apps/lumetra-x11/snapshot_place.h"
#include "apps/lumetra-x11/stop_signals_linux.h"
#include "apps/lumetra-x11/timer_schedule.h"
#include "apps/lumetra-x11/x_display_linux.h"
#include "apps/lumetra-x11/x_monitors_linux.h"
#include "framework/exceptions.h"
#include "framework/program_folder.h"
#include "settings/settings_store.h"
#include "view/frame_size.h"
#include "view/latency_map_view.h"
#include "view/probe_worker.h"
#include "view/wakeup_fd_linux.h"

namespace lumetra::x11 {
namespace {

void Say(const std::string& message) {
    const std::string line = std::string(kProgramName) + ": " + message + "\n";
    static_cast<void>(std::fwrite(line.data(), 1, line.size(), stderr));
}

// The view whose snapshot is still to be written if the display goes away.
CLatencyMapView* g_pRunningView = nullptr;

// Ends the process at once, without the destructors of static objects, which
// a probe still in flight on the worker (a name look-up cannot be cancelled)
// might otherwise meet.
[[noreturn]] void EndNow(int code) {
    static_cast<void>(std::fflush(nullptr));
    std::_Exit(code);
}

void WriteSnapshotOnConnectionLoss() {
    Say("lost the connection to the X display");
    if (g_pRunningView != nullptr) static_cast<void>(g_pRunningView->Destroy());
    EndNow(kExitCannotRun);  // Xlib would end it with this code anyway
}

// The folder of the bundled target file, found from the program's own.
std::string BundledDataFolder() {
    std::error_code error;
    const std::filesystem::path folder = ProgramFolder(error);
    if (error) return {};
    return (folder / LUMETRA_BUNDLED_DATA_DIR).lexically_normal().string();
}

// The prober: echoes, or for tests the results of a file.
std::unique_ptr<IEchoProber> MakeProber(const HackOptions& options, const CLatencyMapView& view) {
    if (options.replayResults.empty()) return std::make_unique<CEchoProber>();
    return std::make_unique<CReplayProber>(view.TargetFileReader(), options.replayResults);
}

// Whether echoes are wanted but this user may open no ICMP socket; said on
// standard error too.
bool IcmpRefused(const HackOptions& options) {
    std::string why;
    if (!options.replayResults.empty() || IcmpSocketsAvailable(&why)) return false;
    Say(IcmpNotAllowedMessage(why, kProgramName));
    return true;
}

// The one folder of a saver's snapshot (see snapshot_place.h); nothing for
// any other run, or when the user has no home to keep it in.
std::optional<std::string> SaverSnapshotFolder(const HackOptions& options) {
    if (!RunsAsSaver(options, std::getenv(kXScreenSaverWindowVariable))) return std::nullopt;
    return StateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

class CHackRun {
public:
    CHackRun(const HackOptions& options, DrawMode mode, CStopSignals& signals, CXConnection& connection,
             CHackWindow& window, CFrameImage& image)
        : m_options(options),
          m_signals(signals),
          m_connection(connection),
          m_window(window),
          m_image(image),
          m_mode(mode),
          m_dismissal(mode, window.PointerAtOpen()) {}

    // Shows `text` in a line below the frame's room for the whole run.
    void ShowNotice(std::string_view text) {
        CDib strip;
        DrawNotice(text, strip);
        m_notice = CFrameImage::Create(m_connection.Get(), m_window.VisualOf(), m_window.Depth(), strip.Width(),
                                       strip.Height());
        if (!m_notice) return;
        m_notice->Fill(strip);
        m_noticeSize = {strip.Width(), strip.Height()};
    }

    int Run() {
        CRuntimeRandom::SeedWithTime();
        const std::optional<std::string> snapshotFolder = SaverSnapshotFolder(m_options);
        m_view.SetFolders({"", BundledDataFolder(), std::nullopt, snapshotFolder});
        for (const ClampedSetting& clamped : m_view.LoadSettings())
            Say(ClampedInFileMessage(clamped, SettingsFilePath()));
        ApplyOverrides(m_options.overrides, m_view.Settings());
        if (snapshotFolder && m_view.Settings().m_bSaveFinalBMP != 0 && !MakePrivateFolder(*snapshotFolder))
            Say("cannot make the snapshot's folder '" + *snapshotFolder + "'");
        CProbeWorker worker(MakeProber(m_options, m_view), CWakeupFd::WakeOf(m_wakeup));
        // The saver's own full screen and the root span the screen's
        // monitors; xscreensaver gives each monitor a window of its own.
        if (m_mode == DrawMode::kFullScreen || m_mode == DrawMode::kRoot) {
            std::vector<Monitor> monitors = ScreenMonitors(m_connection.Get());
            for (Monitor& monitor : monitors) monitor.rect = AboveNotice(monitor.rect, NoticeHeight());
            m_view.SetMonitors(std::move(monitors), {0, 0});
        }
        m_view.Start(Room(), nullptr, m_random, worker);
        g_pRunningView = &m_view;
        CreatePictures();
        FillPictures();
        Paint();

        const Clock::time_point start = Clock::now();
        m_timers.Set(kMotionTimerId, kStartTimerPeriodMs, start);
        if (m_options.probeLimit.value_or(1) > 0) m_timers.Set(kProbeTimerId, kStartTimerPeriodMs, start);
        while (!m_bEnding) {
            HandleEvents();
            if (m_bEnding || m_signals.Arrived()) break;
            TakeResults(worker);
            if (const std::optional<unsigned> id = m_timers.TakeDue(Clock::now())) {
                OnTimer(*id, worker);
            } else {
                Wait();
            }
        }
        m_bAbandonedWork = worker.Stop();
        g_pRunningView = nullptr;
        static_cast<void>(m_view.Destroy());
        return kExitDone;
    }

    // Whether a probe was still in flight at the end and left to itself.
    bool AbandonedWork() const { return m_bAbandonedWork; }

private:
    // Each map's picture on the server, one per size on screen; a map of
    // the frame's size fills its picture through the run's own image.
    struct MapPixmap {
        Size size;
        std::unique_ptr<CFrameImage> image;
        std::optional<CServerPicture> picture;
    };

    MapPixmap* PixmapOf(Size size) {
        for (MapPixmap& pixmap : m_pixmaps) {
            if (pixmap.size == size) return &pixmap;
        }
        return nullptr;
    }

    void CreatePictures() {
        Display* display = m_connection.Get();
        for (const ShownMap& map : m_view.Maps()) {
            if (PixmapOf(map.size) != nullptr) continue;
            MapPixmap& pixmap = m_pixmaps.emplace_back();
            pixmap.size = map.size;
            if (map.size != m_view.FrameSize()) {
                pixmap.image =
                    CFrameImage::Create(display, m_window.VisualOf(), m_window.Depth(), map.size.cx, map.size.cy);
            }
            pixmap.picture.emplace(display, m_window.Id(), m_window.Depth(), map.size.cx, map.size.cy);
        }
    }

    // After every render: the only time pixels go to the server.
    void FillPictures() {
        for (const ShownMap& map : m_view.Maps()) {
            MapPixmap* pixmap = PixmapOf(map.size);
            const CDib& source = m_view.MapPicture(map);
            CFrameImage* image = pixmap->image ? pixmap->image.get() : &m_image;
            if (map.size != m_view.FrameSize() && pixmap->image == nullptr) continue;
            if (source.Width() != map.size.cx || source.Height() != map.size.cy) continue;
            image->Fill(source);
            pixmap->picture->Take(*image, m_window.Gc());
        }
    }

    // Where the frame drifts: above the notice line, when there is one.
    int NoticeHeight() const { return m_notice ? m_noticeSize.y : 0; }
    Rect Room() const { return AboveNotice(m_window.Client(), NoticeHeight()); }

    void Paint() {
        for (const ShownMap& map : m_view.Maps()) {
            if (const MapPixmap* pixmap = PixmapOf(map.size)) {
                pixmap->picture->CopyTo(m_window.Id(), m_window.Gc(), map.position.x, map.position.y);
            }
        }
        if (m_notice) {
            const Rect client = m_window.Client();
            m_notice->Put(m_window.Id(), m_window.Gc(), (client.right - m_noticeSize.x) / 2,
                          client.bottom - m_noticeSize.y);
        }
        XFlush(m_connection.Get());
    }

    void OnTimer(unsigned id, CProbeWorker& worker) {
        m_view.OnTimer(id, Room(), worker, m_random);
        Paint();
    }

    void TakeResults(CProbeWorker& worker) {
        m_wakeup->Clear();
        while (std::optional<WorkResult> result = worker.Take()) {
            const std::optional<int> period = m_view.OnWorkDone(std::move(*result));
            if (!period) continue;
            FillPictures();
            m_timers.Set(kProbeTimerId, *period, Clock::now());
            if (m_options.probeLimit && ++m_nProbes >= *m_options.probeLimit) m_timers.Kill(kProbeTimerId);
            Paint();
        }
    }

    void HandleEvents() {
        Display* display = m_connection.Get();
        while (!m_bEnding && XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            const WindowEvent meaning = m_window.Translate(event);
            if (meaning.gone) m_bEnding = true;
            if (meaning.input && m_dismissal.Ends(*meaning.input)) m_bEnding = true;
            if (meaning.repaint && !m_bEnding) Paint();
        }
    }

    // Until the next timer, an X event, a stop signal or a result.
    void Wait() {
        XFlush(m_connection.Get());
        int timeoutMs = -1;
        if (const std::optional<Clock::time_point> next = m_timers.NextDue()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
            timeoutMs = static_cast<int>(std::clamp<long long>(left, 0, 1'000'000));
        }
        pollfd watched[] = {{ConnectionNumber(m_connection.Get()), POLLIN, 0},
                            {m_signals.Fd(), POLLIN, 0},
                            {m_wakeup->Fd(), POLLIN, 0}};
        static_cast<void>(poll(watched, std::size(watched), timeoutMs));
    }

    const HackOptions& m_options;
    CStopSignals& m_signals;
    CXConnection& m_connection;
    CHackWindow& m_window;
    CFrameImage& m_image;
    DrawMode m_mode;
    std::unique_ptr<CFrameImage> m_notice;  // the line below the frame, when there is something to say
    Point m_noticeSize{};
    CDismissal m_dismissal;
    CLatencyMapView m_view;
    CRuntimeRandom m_random;
    CTimerSchedule m_timers;
    std::shared_ptr<CWakeupFd> m_wakeup = std::make_shared<CWakeupFd>();
    std::list<MapPixmap> m_pixmaps;  // a list: a picture on the server does not move
    int m_nProbes = 0;
    bool m_bEnding = false;
    bool m_bAbandonedWork = false;
};

int Main(std::span<const std::string_view> args) {
    // First of all, while the program may hold CAP_NET_RAW from its file:
    // the one raw socket its probes need, then no capability at all, before
    // a file is read or X is spoken to.
    if (!KeepIcmpSocketThenDropCapabilities(true)) {
        Say("cannot give up the capabilities of its file");
        return kExitCannotRun;
    }
    CStopSignals signals;
    HackOptions options;
    if (const std::optional<std::string> problem = ParseHackOptions(args, options)) {
        static_cast<void>(std::fputs(HackUsage().c_str(), stderr));
        Say(*problem);
        return kExitBadArguments;
    }
    if (options.help) {
        static_cast<void>(std::fputs(HackUsage().c_str(), stdout));
        return kExitDone;
    }
    if (options.version) {
        static_cast<void>(std::fputs(HackVersion().c_str(), stdout));
        return kExitDone;
    }
    for (const std::string& notice : options.notices) Say(notice);
    const auto chosen = ChooseDrawTarget(options, std::getenv(kXScreenSaverWindowVariable));
    if (const auto* problem = std::get_if<std::string>(&chosen)) {
        Say(*problem);
        return kExitBadArguments;
    }
    CXConnection connection(options.display);
    if (!connection) {
        Say("cannot open the X display '" + std::string(XDisplayName(options.display.c_str())) + "'");
        return kExitCannotRun;
    }
    CXConnection::OnConnectionLost(WriteSnapshotOnConnectionLoss);
    const DrawTarget target = std::get<DrawTarget>(chosen);
    auto opened = CHackWindow::Open(connection.Get(), target);
    if (const auto* problem = std::get_if<std::string>(&opened)) {
        Say(*problem);
        return kExitCannotRun;
    }
    CHackWindow& window = std::get<CHackWindow>(opened);
    const std::unique_ptr<CFrameImage> image =
        CFrameImage::Create(connection.Get(), window.VisualOf(), window.Depth(), kFrameWidth, kFrameHeight);
    if (!image) {
        Say("the window's visual is not TrueColor of 15 bits or more");
        return kExitCannotRun;
    }
    CHackRun run(options, target.mode, signals, connection, window, *image);
    if (IcmpRefused(options)) run.ShowNotice(kNoIcmpNotice);
    const int code = run.Run();
    // The snapshot is written: a SIGTERM or SIGINT now ends the process by itself.
    signals.EndByTakenSignal();
    if (run.AbandonedWork()) EndNow(code);
    return code;
}

}  // namespace
}  // namespace lumetra::x11

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    try {
        return lumetra::x11::Main(args);
    } catch (const std::exception& e) {
        lumetra::x11::Say(e.what());
    }
    return lumetra::x11::kExitCannotRun;
}
