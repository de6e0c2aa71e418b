// The view as a front end drives it: start, probe ticks, motion ticks and the
// destruction with its snapshot, against the golden frames' target file and
// settings, with scripted draws and a scripted prober (nothing is sent).
#include "view/latency_map_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "targets/results_file.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "tests/view/blocking_prober.h"
#include "tests/view/scripted_prober.h"
#include "tests/view/scripted_random.h"
#include "view/frame_size.h"
#include "view/saver_files.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using test::CScriptedProber;
using test::CScriptedRandom;

constexpr Rect kScreen{0, 0, 1024, 768};

fs::path Frames() {
    return fs::path(LUMETRA_TEST_DATA) / "frames";
}

// A current folder without a target file, the program's folder with the
// golden frames' targets as lumetra.txt, and a settings folder.
class MapView : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"cwd", "bin", "settings"}) fs::create_directory(m_root.Path() / folder);
        fs::copy_file(Frames() / "targets.txt", m_root.Path() / "bin" / "lumetra.txt");
        m_view.SetFolders({Folder("cwd"), Folder("bin"), Folder("settings")});
    }

    std::string Folder(const char* name) const { return (m_root.Path() / name).string(); }
    fs::path Snapshot(const char* folder = "cwd") const { return m_root.Path() / folder / kSnapshotFileName; }

    // The golden scene's results, as the prober will answer each target.
    void AnswerAsInTheScene(const std::string& resultsFile) {
        std::vector<PingTarget*> byIndex;
        for (auto& target : m_view.Targets()) byIndex.push_back(target.get());
        const ResultsReadout readout = ParseResults(test::ReadAll(Frames() / resultsFile), byIndex.size());
        ASSERT_EQ(readout.error, "");
        for (const ProbeResult& result : readout.results) {
            const PingTarget& target = *byIndex[result.nIndex];
            if (target.m_dwAddress != 0) {
                m_prober.byAddress[target.m_dwAddress] = result.nRoundTripMs;
            } else {
                m_prober.byName[target.m_strHost] = result.nRoundTripMs;
            }
        }
    }

    int CurrentIndex() {
        const PingTarget* current = m_view.CurrentTarget();
        int index = 0;
        for (const auto& target : m_view.Targets()) {
            if (target.get() == current) return index;
            ++index;
        }
        return -1;
    }

    test::CTempFolder m_root;
    CLatencyMapView m_view;
    CScriptedProber m_prober;
};

TEST_F(MapView, StartsOnceWithItsDriftPositionAndTheGoldenFirstFrame) {
    m_view.LoadSettings((Frames() / "settings-first.ini").string());
    EXPECT_FALSE(m_view.IsStarted());
    EXPECT_EQ(m_view.FrameSize(), (Size{0, 0}));

    CScriptedRandom random({2, 1, 100, 200});  // dy, dx, y, x
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    EXPECT_TRUE(m_view.IsStarted());
    EXPECT_EQ(random.Left(), 0U);
    EXPECT_EQ(m_view.Drift(), (Point{1, 2}));
    EXPECT_EQ(m_view.Position(), (Point{200, 100}));
    EXPECT_EQ(m_view.FrameSize(), (Size{kFrameWidth, kFrameHeight}));
    EXPECT_EQ(m_view.Targets().size(), 22U) << "the target file beside the program was not read";
    EXPECT_EQ(m_view.Region(), "USA");
    EXPECT_EQ(m_view.CurrentTarget(), nullptr);

    CScriptedRandom none({});
    EXPECT_FALSE(m_view.Start({0, 0, 640, 480}, nullptr, none));
    EXPECT_EQ(m_view.Position(), (Point{200, 100}));
    EXPECT_EQ(m_view.Targets().size(), 22U) << "a second start read the targets again";

    EXPECT_EQ(m_view.Destroy(), Snapshot().string());
    EXPECT_TRUE(test::ReadAll(Snapshot()) == test::ReadAll(Frames() / "first_frame.bmp"))
        << "not the golden first frame";
    EXPECT_TRUE(m_view.Frame().IsEmpty());
    EXPECT_TRUE(m_view.Targets().empty());
    EXPECT_EQ(m_view.CurrentTarget(), nullptr);
}

// The maps a front end paints: where each drifts, at which size, and the
// picture it copies, made by the render (a motion tick draws nothing new).
// Two monitors side by side, the window at the virtual screen's corner.
TEST_F(MapView, EachMapHasItsAreaSizeAndPicture) {
    const std::vector<Monitor> twoMonitors{{{-1024, 0, 0, 768}, false}, {{0, 0, 1280, 1024}, true}};
    struct Case {
        const char* name;
        int mapScale;
        int allMonitors;
        std::vector<Monitor> monitors;
        Rect client;
        std::vector<Rect> bounds;  // of each map, client coordinates
        Size size;                 // of each map
    } cases[] = {
        {"primary only", 1, 0, twoMonitors, {0, 0, 2304, 1024}, {{1024, 0, 2304, 1024}}, {516, 310}},
        {"every monitor",
         1,
         1,
         twoMonitors,
         {0, 0, 2304, 1024},
         {{1024, 0, 2304, 1024}, {0, 0, 1024, 768}},
         {516, 310}},
        {"twice the size", 2, 0, twoMonitors, {0, 0, 2304, 1024}, {{1024, 0, 2304, 1024}}, {1032, 620}},
        {"a preview", 1, 0, {}, {0, 0, 152, 112}, {{0, 0, 152, 112}}, {152, 91}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLatencyMapView view;
        view.SetFolders({Folder("cwd"), Folder("bin"), Folder("settings")});
        view.Settings().m_nMapScale = c.mapScale;
        view.Settings().m_bAllMonitors = c.allMonitors;
        view.SetMonitors(c.monitors, {-1024, 0});
        CScriptedRandom random({1, 1, 5, 7, 1, 1, 5, 7, 50, 1});
        ASSERT_TRUE(view.Start(c.client, nullptr, random));
        ASSERT_EQ(view.Maps().size(), c.bounds.size());
        for (std::size_t i = 0; i < c.bounds.size(); ++i) {
            const ShownMap& map = view.Maps()[i];
            EXPECT_EQ(map.bounds, c.bounds[i]);
            EXPECT_EQ(map.size, c.size);
            const CDib& picture = view.MapPicture(map);
            ASSERT_EQ((Size{picture.Width(), picture.Height()}), c.size);
            // Whole blocks: the frame's pixel (x, y) at (N x, N y) of the picture.
            const int n = c.size.cx / kFrameWidth;
            const std::uint8_t* frame = view.Frame().GetPixelAddress(300, 200);
            if (n > 0) {
                EXPECT_TRUE(std::equal(frame, frame + 3, picture.GetPixelAddress(n * 300 + n - 1, n * 200)));
            }
        }
        const std::vector<ShownMap> before(view.Maps().begin(), view.Maps().end());
        view.MoveFrame(c.client, random);
        const bool still = c.size.cx < kFrameWidth;
        EXPECT_EQ(view.Maps()[0].position == before[0].position, still) << "a still map moved, or a map did not";
        view.Destroy();
    }
}

TEST_F(MapView, ProbeTicksWalkTheRegionAndTheSnapshotIsTheGoldenProbedFrame) {
    m_view.LoadSettings((Frames() / "settings-probed.ini").string());
    CScriptedRandom random({1, 1, 0, 0});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    AnswerAsInTheScene("results-probed.txt");

    // Targets 0 to 19 are of the region, 20 ("EU") and 21 ("usa") are not.
    std::vector<int> visited;
    for (int tick = 0; tick < 28; ++tick) {
        EXPECT_EQ(m_view.ProbeNextTarget(m_prober), 2000) << "timer 2 is set to the probe period";
        visited.push_back(CurrentIndex());
    }
    std::vector<int> expected;
    for (int i = 0; i < 28; ++i) expected.push_back(i % 20);
    EXPECT_EQ(visited, expected);
    ASSERT_EQ(m_prober.calls.size(), 28U + 3U) << "three probes by name, each a look-up and an echo";
    for (const auto& call : m_prober.calls) {
        EXPECT_NE(call.host, "elsewhere.example.net");
        EXPECT_NE(call.host, "lowercase.example.net");
        if (call.what != "ResolveHostName") {
            EXPECT_EQ(call.timeoutMs, 600);
        }
    }

    // The snapshot is rendered afresh, with the marker of the last probed target (7).
    EXPECT_EQ(m_view.Destroy(), Snapshot().string());
    EXPECT_TRUE(test::ReadAll(Snapshot()) == test::ReadAll(Frames() / "probed.bmp")) << "not the golden probed frame";
}

TEST_F(MapView, WithoutTargetsTheProbeTimerKeepsItsPeriodAndNothingIsProbed) {
    fs::remove(m_root.Path() / "bin" / "lumetra.txt");
    CScriptedRandom random({1, 1, 0, 0});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    EXPECT_TRUE(m_view.Targets().empty());
    EXPECT_EQ(m_view.ProbeNextTarget(m_prober), std::nullopt);
    EXPECT_EQ(m_view.ProbeNextTarget(m_prober), std::nullopt);
    EXPECT_TRUE(m_prober.calls.empty());
}

TEST_F(MapView, ProbePeriodAndTimeoutComeFromTheSettings) {
    m_view.Settings().m_nPingPeriod = 2500;
    m_view.Settings().m_nPingTimeout = 150;
    CScriptedRandom random({1, 1, 0, 0});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    EXPECT_EQ(m_view.ProbeNextTarget(m_prober), 2500);
    ASSERT_EQ(m_prober.calls.size(), 1U);
    EXPECT_EQ(m_prober.calls[0].timeoutMs, 150);
    EXPECT_EQ(m_view.CurrentTarget()->m_nRoundTripMs, -1) << "the scripted prober answers nothing here";
}

TEST_F(MapView, SnapshotGoesToTheSettingsFolderWhenTheCurrentFolderTakesNone) {
    fs::remove(m_root.Path() / "cwd");
    m_root.Write("cwd", "a file where the current folder should be");
    CScriptedRandom random({1, 1, 0, 0});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    EXPECT_EQ(m_view.Destroy(), Snapshot("settings").string());
    EXPECT_EQ(test::ReadAll(Snapshot("settings")).size(), 479934U);
    EXPECT_TRUE(m_view.Targets().empty()) << "the targets were not released";
}

TEST_F(MapView, NoSnapshotWhenItIsSwitchedOffOrNoFolderTakesIt) {
    m_view.Settings().m_bSaveFinalBMP = 0;
    m_root.Write("cwd/lumetra.bmp", "an earlier run's snapshot");
    CScriptedRandom random({1, 1, 0, 0});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    EXPECT_EQ(m_view.Destroy(), std::nullopt);
    EXPECT_TRUE(test::ReadAll(Snapshot()) == "an earlier run's snapshot")
        << "switched off, yet the old one was touched";
    EXPECT_FALSE(fs::exists(Snapshot("settings")));

    CLatencyMapView nowhere;
    nowhere.SetFolders({Folder("cwd") + "/missing", Folder("bin"), Folder("settings") + "/missing"});
    CScriptedRandom again({1, 1, 0, 0});
    ASSERT_TRUE(nowhere.Start(kScreen, nullptr, again));
    EXPECT_EQ(nowhere.Destroy(), std::nullopt);
    EXPECT_TRUE(nowhere.Frame().IsEmpty()) << "the frame was not released";
    EXPECT_TRUE(nowhere.Targets().empty()) << "the targets were not released";
}

TEST_F(MapView, WhileAProbeIsInFlightTheFrameMovesNoOtherStartsAndTheSnapshotIsTheLastFrame) {
    m_view.LoadSettings((Frames() / "settings-first.ini").string());
    const auto gate = std::make_shared<test::CProbeGate>();
    CProbeWorker worker(std::make_unique<test::CBlockingProber>(gate), [] {});
    CScriptedRandom random({2, 1, 100, 200});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random, worker));
    EXPECT_TRUE(m_view.Targets().empty()) << "read on the caller's thread";
    std::optional<WorkResult> read = test::AwaitResult(worker);
    ASSERT_TRUE(read);
    EXPECT_EQ(m_view.OnWorkDone(std::move(*read)), std::nullopt);
    EXPECT_EQ(m_view.Targets().size(), 22U);

    m_view.OnTimer(kProbeTimerId, kScreen, worker, random);
    ASSERT_TRUE(gate->Await([&] { return gate->probes > 0; }));
    m_view.OnTimer(kMotionTimerId, kScreen, worker, random);
    EXPECT_EQ(m_view.Position(), (Point{201, 102}));
    m_view.OnTimer(kProbeTimerId, kScreen, worker, random);
    EXPECT_EQ(m_view.Destroy(), Snapshot().string());
    EXPECT_TRUE(test::ReadAll(Snapshot()) == test::ReadAll(Frames() / "first_frame.bmp"))
        << "not the frame as last rendered";

    gate->Change([&] { gate->open = true; });
    std::optional<WorkResult> late = test::AwaitResult(worker);
    ASSERT_TRUE(late);
    EXPECT_EQ(m_view.OnWorkDone(std::move(*late)), std::nullopt) << "a result taken after the destruction";
    EXPECT_FALSE(test::AwaitResult(worker, std::chrono::milliseconds(300)))
        << "a probe started while one was in flight";
}

TEST_F(MapView, NothingHappensBeforeTheStartOrAfterTheDestruction) {
    m_view.RenderFrame();
    EXPECT_EQ(m_view.ProbeNextTarget(m_prober), std::nullopt);
    EXPECT_EQ(m_view.Destroy(), std::nullopt) << "a snapshot before the start";
    EXPECT_FALSE(fs::exists(Snapshot()));

    CScriptedRandom random({1, 1, 0, 0});
    ASSERT_TRUE(m_view.Start(kScreen, nullptr, random));
    static_cast<void>(m_view.Destroy());
    m_view.RenderFrame();
    EXPECT_EQ(m_view.ProbeNextTarget(m_prober), std::nullopt);
    EXPECT_TRUE(m_prober.calls.empty());
}

}  // namespace
}  // namespace lumetra
