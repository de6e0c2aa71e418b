// lumetra-x11 as a user and as xscreensaver run it: on an Xvfb server of the
// test's own, inside the test network with hosts of known delays. The
// screen is read back with ImageMagick's `import`, input is sent with
// xdotool, and the Windows saver's golden frames are the reference for
// every pixel.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "tests/apps/lumetra-x11/x_test_session.h"
#include "tests/net/testnet_client.h"
#include "tests/support/image_magick.h"
#include "tests/support/install_build.h"
#include "tests/support/run_command.h"
#include "tests/support/shell_text.h"
#include "tests/support/tool_run.h"
#include "tests/view/golden_scenes.h"
#include "view/frame_renderer.h"
#include "view/frame_size.h"
#include "view/saver_files.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::CPicture;
using test::CToolProcess;
using test::CXClient;
using test::CXvfb;
using test::Quote;
using test::ToolCall;
using test::ToolRun;

constexpr int kNobody = 65534;
// The command that runs the rest as nobody, without root's groups.
std::vector<std::string> AsNobody() {
    return {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
}

// Polls `done` every 50 ms until it holds or `limit` has passed.
bool WaitFor(const std::function<bool()>& done, milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(milliseconds(50));
    }
    return true;
}

std::uint32_t Packed(const test::Rgb& pixel) {
    return std::uint32_t{pixel.r} << 16 | std::uint32_t{pixel.g} << 8 | pixel.b;
}

// The ramp entry of every colour the field can show.
const std::unordered_map<std::uint32_t, int>& RampEntries() {
    static const std::unordered_map<std::uint32_t, int> entries = [] {
        const CFrameRenderer renderer;
        const CDib& ramp = renderer.Ramp();
        std::unordered_map<std::uint32_t, int> byColour;
        for (int i = ramp.Width() - 1; i >= 0; --i) {
            const std::uint8_t* bgr = ramp.GetPixelAddress(i, 0);
            byColour[Packed({bgr[2], bgr[1], bgr[0]})] = i;
        }
        return byColour;
    }();
    return entries;
}

// The ramp entry a pixel of the field shows, or -1.
int RampIndexOf(const test::Rgb& pixel) {
    const auto found = RampEntries().find(Packed(pixel));
    return found != RampEntries().end() ? found->second : -1;
}

// The bottom line of a picture, where a notice shows.
CPicture BottomLine(const CPicture& picture) {
    constexpr int kNoticeHeight = 21;
    CPicture line{picture.width, std::min(picture.height, kNoticeHeight), {}};
    line.pixels.assign(picture.pixels.end() - line.width * line.height, picture.pixels.end());
    return line;
}

// How many pixels of the bottom line have the notice's grey.
int NoticePixels(const CPicture& picture) {
    const std::vector<test::Rgb> line = BottomLine(picture).pixels;
    return static_cast<int>(std::count(line.begin(), line.end(), test::Rgb{192, 192, 192}));
}

// How many pixels of the picture are of the colour field.
int FieldPixels(const CPicture& picture) {
    return static_cast<int>(std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                          [](const test::Rgb& p) { return RampIndexOf(p) >= 0; }));
}

class X11Hack : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_net = testnet::CTestNet::Join(&s_strSkip);
        if (s_net) s_xvfb = std::make_unique<CXvfb>();
        if (s_xvfb && s_xvfb->Name().empty()) s_strSkip = s_xvfb->Problem();
    }
    static void TearDownTestSuite() {
        s_xvfb.reset();
        s_net.reset();
    }

    void SetUp() override {
        if (!s_net || s_xvfb->Name().empty()) GTEST_SKIP() << s_strSkip;
        std::mt19937_64 random(std::random_device{}());
        m_dir = fs::temp_directory_path() / ("lumetra-x11-" + std::to_string(random()));
        fs::create_directories(m_dir / "config");
        // Open to the unprivileged user of some cases, who writes its snapshot
        // here: sticky, as /tmp is, or the saver would not trust the folder.
        fs::permissions(m_dir, fs::perms::all | fs::perms::sticky_bit);
        fs::permissions(m_dir / "config", fs::perms::all);
        m_x = std::make_unique<CXClient>(s_xvfb->Name());
        ASSERT_TRUE(*m_x) << "cannot open " << s_xvfb->Name();
    }
    void TearDown() override {
        m_x.reset();
        std::error_code ignored;
        if (!m_dir.empty()) fs::remove_all(m_dir, ignored);
    }

    std::string WriteFile(const std::string& name, const std::string& text) const {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        fs::permissions(path, fs::perms::all);
        return path.string();
    }

    std::string Dotted(const char* name) const { return testnet::Dotted(s_net->HostNamed(name).address); }

    // The fast host on the left of the map, the slow one on the right.
    std::string FastAndSlowTargets() const {
        return WriteFile("targets.txt", "3\t" + Dotted("fast.lumetra.test") + "\tfast\tinfo\t*\t100,150\tUSA\n" +
                                            "3\t" + Dotted("ms400.lumetra.test") + "\tslow\tinfo\t*\t420,150\tUSA\n");
    }

    // The program on the test's display, in the test's folder, with the
    // settings of the test's config folder.
    std::unique_ptr<CToolProcess> Start(std::vector<std::string> args, std::vector<std::string> wrapper = {},
                                        const std::string& program = LUMETRA_X11_BIN,
                                        const std::string& display = "") const {
        ToolCall call;
        call.program = program;
        call.args = std::move(args);
        call.wrapper = std::move(wrapper);
        call.setup = "cd " + Quote(m_dir.string()) +
                     " && export DISPLAY=" + Quote(display.empty() ? s_xvfb->Name() : display) +
                     " XDG_CONFIG_HOME=" + Quote((m_dir / "config").string()) +
                     " XDG_STATE_HOME=" + Quote((m_dir / "state").string()) + " && unset XSCREENSAVER_WINDOW";
        return std::make_unique<CToolProcess>(call, m_dir);
    }

    // SIGTERM, then the end by that signal, which must come within a few seconds.
    static ToolRun Terminate(CToolProcess& process) {
        process.Signal(SIGTERM);
        std::optional<ToolRun> run = process.WaitAtMost(milliseconds(5000));
        if (!run) {
            ADD_FAILURE() << "SIGTERM did not end it";
            return {};
        }
        EXPECT_EQ(run->nSignal, SIGTERM) << "not ended by the signal; exit " << run->nExit << ": " << run->err;
        return *run;
    }

    CPicture Shot(Window window) const { return m_x->Screenshot(window, (m_dir / "shot.ppm").string()); }
    CPicture Snapshot() const { return test::PictureOfBmp((m_dir / kSnapshotFileName).string()); }

    // Waits until the window shows the map: most of the frame is field.
    // A third of the map's pixels show the field: `mapPixels`, the whole
    // frame's unless the window shows it scaled down.
    bool Draws(Window window, int mapPixels = kFrameWidth * kFrameHeight) const {
        return WaitFor([&] { return FieldPixels(Shot(window)) > mapPixels / 3; }, milliseconds(5000));
    }

    static std::optional<testnet::CTestNet> s_net;
    static std::string s_strSkip;
    static std::unique_ptr<CXvfb> s_xvfb;
    fs::path m_dir;
    std::unique_ptr<CXClient> m_x;
};

std::optional<testnet::CTestNet> X11Hack::s_net;
std::string X11Hack::s_strSkip;
std::unique_ptr<CXvfb> X11Hack::s_xvfb;

TEST_F(X11Hack, DrawsTheProbedHostsInAGivenWindowAndItsSnapshotIsTheLastFrame) {
    // A window the size of the frame holds it still at (0, 0), so the
    // screenshot is the frame itself.
    const Window window = m_x->MakeWindow(kFrameWidth, kFrameHeight);
    const std::uint32_t fast = s_net->HostNamed("fast.lumetra.test").address;
    const std::uint32_t slow = s_net->HostNamed("ms400.lumetra.test").address;
    const int fastBefore = s_net->RequestsTo(fast);
    const int slowBefore = s_net->RequestsTo(slow);
    auto hack = Start({"-window-id", std::to_string(window), "-targets", FastAndSlowTargets(), "-ping-period", "100",
                       "-ping-timeout", "500", "-probe-limit", "2"});
    ASSERT_TRUE(WaitFor([&] { return s_net->RequestsTo(slow) > slowBefore; }, milliseconds(5000))) << hack->ErrSoFar();
    EXPECT_EQ(s_net->RequestsTo(fast), fastBefore + 1);
    // The slow reply, then its render; with two probes the frame no longer changes.
    CPicture shown;
    ASSERT_TRUE(WaitFor(
        [&] {
            const CPicture before = Shot(window);
            std::this_thread::sleep_for(milliseconds(200));
            shown = Shot(window);
            // Entry 128 is the field before any result.
            return shown == before && RampIndexOf(shown.At(420, 170)) != 128;
        },
        milliseconds(5000)));
    ASSERT_EQ(shown.width, kFrameWidth);
    const int fastEntry = RampIndexOf(shown.At(100, 170));
    const int slowEntry = RampIndexOf(shown.At(420, 170));
    EXPECT_GE(fastEntry, 0);
    EXPECT_LT(fastEntry, 64) << "near the fast host the field is from the red end of the ramp";
    EXPECT_GE(slowEntry, 192) << "near the slow host the field is from the violet end of the ramp";

    const ToolRun run = Terminate(*hack);
    EXPECT_EQ(run.err, "");
    const CPicture snapshot = Snapshot();
    ASSERT_EQ(snapshot.width, kFrameWidth) << "no snapshot";
    EXPECT_TRUE(snapshot == shown) << "the snapshot is not the frame last shown";
    EXPECT_EQ(s_net->RequestsTo(slow), slowBefore + 1) << "probed beyond its limit";
}

TEST_F(X11Hack, TheFrameDriftsAcrossALargerWindow) {
    const Window window = m_x->MakeWindow(800, 600);
    auto hack = Start({"-window-id", std::to_string(window), "-targets", FastAndSlowTargets(), "-map-motion", "3"});
    ASSERT_TRUE(Draws(window)) << hack->ErrSoFar();
    const auto first = Shot(window).NonBlackBox();
    std::this_thread::sleep_for(milliseconds(700));
    const auto second = Shot(window).NonBlackBox();
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second) << "the frame did not move";
    for (const auto& box : {*first, *second}) {
        // The whole frame, less its black border rows, and nothing else.
        EXPECT_LE(box[2], kFrameWidth);
        EXPECT_LE(box[3], kFrameHeight);
        EXPECT_GT(box[2], kFrameWidth - 40);
        EXPECT_GT(box[3], kFrameHeight - 40);
    }
    Terminate(*hack);
}

struct GoldenRun {
    GoldenScene scene;
    int probes;  // probes until the scene's current target is marked, with every result in
};

// The scenes whose marked target the probe cycle reaches: a full cycle of
// the region for every result, then on to the marked one.
std::vector<GoldenRun> ReachableScenes() {
    TargetList targets;
    std::ifstream in(std::string(LUMETRA_TEST_DATA) + "/frames/targets.txt");
    std::vector<bool> ofRegion;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == ';') continue;
        ofRegion.push_back(line.ends_with("\tUSA"));
    }
    const int cycle = static_cast<int>(std::count(ofRegion.begin(), ofRegion.end(), true));
    std::vector<GoldenRun> runs;
    for (const GoldenScene& scene : ReadGoldenScenes()) {
        if (!scene.current) {
            runs.push_back({scene, 0});
        } else if (ofRegion.at(*scene.current)) {
            const auto before = std::count(ofRegion.begin(), ofRegion.begin() + *scene.current, true);
            runs.push_back({scene, cycle + static_cast<int>(before) + 1});
        }
    }
    return runs;
}

TEST_F(X11Hack, ShowsAndSavesTheGoldenFramesPixelForPixelWithAndWithoutSharedMemory) {
    const std::vector<GoldenRun> runs = ReachableScenes();
    ASSERT_GE(runs.size(), 2U);
    CXvfb withoutShm({"-extension", "MIT-SHM"});
    ASSERT_FALSE(withoutShm.Name().empty()) << withoutShm.Problem();
    CXClient plainClient(withoutShm.Name());
    ASSERT_TRUE(plainClient);
    const std::string frames = std::string(LUMETRA_TEST_DATA) + "/frames/";
    for (CXClient* client : {m_x.get(), &plainClient}) {
        for (const GoldenRun& golden : runs) {
            const std::string what = golden.scene.name + " on " + client->DisplayName();
            fs::copy_file(frames + golden.scene.settings, m_dir / "config" / "Lumetra.ini",
                          fs::copy_options::overwrite_existing);
            const CPicture expected = test::PictureOfBmp(frames + golden.scene.name + ".bmp");
            ASSERT_EQ(expected.width, kFrameWidth) << what;
            const Window window = client->MakeWindow(kFrameWidth, kFrameHeight);
            auto hack = Start(
                {"-window-id", std::to_string(window), "-targets", frames + "targets.txt", "-replay-results",
                 frames + golden.scene.results, "-probe-limit", std::to_string(golden.probes), "-ping-period", "10"},
                {}, LUMETRA_X11_BIN, client->DisplayName());
            const auto shot = [&] { return client->Screenshot(window, (m_dir / "shot.ppm").string()); };
            EXPECT_TRUE(WaitFor([&] { return shot() == expected; }, milliseconds(5000)))
                << what << ": the window never showed the golden frame";
            Terminate(*hack);
            EXPECT_TRUE(test::ReadWholeFile((m_dir / kSnapshotFileName).string()) ==
                        test::ReadWholeFile(frames + golden.scene.name + ".bmp"))
                << what << ": the snapshot is not the golden file";
            client->DestroyWindow(window);
        }
    }
}

TEST_F(X11Hack, SaysOnceThatNoIcmpIsAllowedAndKeepsDrawing) {
    // In this network namespace no group may open ICMP datagram sockets, and
    // nobody has no CAP_NET_RAW.
    std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "1 0";
    const Window window = m_x->MakeWindow(800, 600);
    auto hack = Start({"-window-id", std::to_string(window), "-targets", FastAndSlowTargets(), "-ping-period", "100"},
                      AsNobody());
    ASSERT_TRUE(Draws(window)) << hack->ErrSoFar();
    // The line at the bottom, and the frame drifting above it only.
    for (int shot = 0; shot < 6; ++shot) {
        const CPicture picture = Shot(window);
        EXPECT_GT(NoticePixels(picture), 500) << "no notice line";
        EXPECT_EQ(FieldPixels(BottomLine(picture)), 0) << "the frame over the line";
        std::this_thread::sleep_for(milliseconds(100));  // a few probe periods in all
    }
    const ToolRun run = Terminate(*hack);
    const std::string first = "lumetra-x11: cannot send ICMP echoes: this user may open neither";
    EXPECT_TRUE(run.err.starts_with(first)) << run.err;
    EXPECT_EQ(run.err.find(first, 1), std::string::npos) << "said more than once: " << run.err;
    EXPECT_NE(run.err.find("setcap cap_net_raw+ep lumetra-x11"), std::string::npos) << run.err;
    struct stat owner {};
    ASSERT_EQ(stat((m_dir / kSnapshotFileName).c_str(), &owner), 0) << "no snapshot";
    EXPECT_EQ(owner.st_uid, static_cast<uid_t>(kNobody));
}

TEST_F(X11Hack, TheSnapshotReplacesALinkAndAvoidsAFolderThatOthersMayWrite) {
    const fs::path victim = WriteFile("victim.txt", "a file of the user's");
    fs::create_symlink(victim, m_dir / kSnapshotFileName);
    WriteFile("config/Lumetra.ini", "[Lumetra]\nMapMotion=9\n");
    const Window window = m_x->MakeWindow(kFrameWidth, kFrameHeight);
    const std::vector<std::string> args = {"-window-id", std::to_string(window), "-targets", FastAndSlowTargets()};
    auto hack = Start(args);
    ASSERT_TRUE(Draws(window)) << hack->ErrSoFar();
    ToolRun run = Terminate(*hack);
    EXPECT_EQ(run.err, "lumetra-x11: MapMotion=9 in '" + (m_dir / "config" / "Lumetra.ini").string() +
                           "' is above 3; using 3 instead\n");
    EXPECT_EQ(test::ReadAll(victim), "a file of the user's");
    EXPECT_FALSE(fs::is_symlink(m_dir / kSnapshotFileName));
    EXPECT_EQ(Snapshot().width, kFrameWidth) << "no whole snapshot";

    // Anyone may put names in this folder now: the snapshot goes to the settings folder.
    fs::permissions(m_dir, fs::perms::all);
    const std::string before = test::ReadAll(m_dir / kSnapshotFileName);
    hack = Start(args);
    ASSERT_TRUE(Draws(window)) << hack->ErrSoFar();
    Terminate(*hack);
    EXPECT_TRUE(test::ReadAll(m_dir / kSnapshotFileName) == before) << "written in a folder open to others";
    EXPECT_EQ(test::PictureOfBmp((m_dir / "config" / kSnapshotFileName).string()).width, kFrameWidth);
}

TEST_F(X11Hack, ACapabilityOfItsFileServesItsRawSocketAndIsGoneBeforeItDraws) {
    std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "1 0";  // no datagram sockets: raw or nothing
    const fs::path copy = m_dir / "bin" / "lumetra-x11";
    fs::create_directories(copy.parent_path());
    fs::copy_file(LUMETRA_X11_BIN, copy);
    ASSERT_EQ(std::system(("setcap cap_net_raw+ep " + Quote(copy.string())).c_str()), 0);
    const std::uint32_t fast = s_net->HostNamed("fast.lumetra.test").address;
    const int before = s_net->RequestsTo(fast);
    const Window window = m_x->MakeWindow(800, 600);
    auto hack = Start({"-window-id", std::to_string(window), "-targets", FastAndSlowTargets(), "-ping-period", "100"},
                      AsNobody(), copy.string());
    ASSERT_TRUE(Draws(window)) << hack->ErrSoFar();
    std::ifstream status("/proc/" + std::to_string(hack->Pid()) + "/status");
    std::map<std::string, std::string> sets;
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Cap")) sets[line.substr(0, line.find(':'))] = line.substr(line.find_last_of('\t') + 1);
    }
    EXPECT_EQ(sets["CapPrm"], "0000000000000000");
    EXPECT_EQ(sets["CapEff"], "0000000000000000");
    EXPECT_EQ(sets["CapAmb"], "0000000000000000");
    EXPECT_TRUE(WaitFor([&] { return s_net->RequestsTo(fast) >= before + 2; }, milliseconds(3000)))
        << "no probes through the kept socket";
    EXPECT_LT(NoticePixels(Shot(window)), 100) << "a notice although it probes";
    const ToolRun run = Terminate(*hack);
    EXPECT_EQ(run.err, "") << "said it could not probe";
}

// An action of the test against a running full-screen or own window.
struct EndCase {
    const char* what;
    const char* mode;
    std::function<void(CXClient&, Window)> act;
    bool ends;
};

// xdotool on the display of $DISPLAY.
void Xdotool(const std::string& command) {
    EXPECT_EQ(std::system(("xdotool " + command + " >/dev/null 2>&1").c_str()), 0) << "xdotool " << command;
}

TEST_F(X11Hack, EachWindowOfItsOwnEndsOnItsOwnInput) {
    setenv("DISPLAY", s_xvfb->Name().c_str(), 1);
    const auto xdotool = [](const std::string& command) { return [command](CXClient&, Window) { Xdotool(command); }; };
    const auto other = [](CXClient& x, Window) { x.Focus(x.MakeWindow(50, 50)); };
    const auto close = [](CXClient& x, Window w) { x.AskToClose(w); };
    const EndCase cases[] = {
        {"a key", "-fullscreen", xdotool("key a"), true},
        {"a button", "-fullscreen", xdotool("click 1"), true},
        {"a 5-pixel move", "-fullscreen", xdotool("mousemove_relative -- 3 2"), true},
        {"a 4-pixel move", "-fullscreen", xdotool("mousemove_relative -- 3 1"), false},
        {"the focus going to another window", "-fullscreen", other, true},
        {"q", "-window", xdotool("key q"), true},
        {"Escape", "-window", xdotool("key Escape"), true},
        {"another key", "-window", xdotool("key a"), false},
        {"a far move", "-window", xdotool("mousemove_relative -- 40 40"), false},
        {"the window manager's close", "-window", close, true},
    };
    for (const EndCase& c : cases) {
        const std::string what = std::string(c.mode) + ", " + c.what;
        Xdotool("mousemove 400 300");
        auto hack = Start({c.mode, "-targets", FastAndSlowTargets(), "-ping-period", "30000"});
        std::optional<Window> window;
        ASSERT_TRUE(WaitFor([&] { return (window = m_x->Find("Lumetra")).has_value(); }, milliseconds(5000)))
            << what << ": no window";
        // A window manager would give the own window the keyboard; the full
        // screen takes it itself.
        if (std::string(c.mode) == "-window") m_x->Focus(*window);
        ASSERT_TRUE(WaitFor([&] { return m_x->Focused() == *window; }, milliseconds(5000))) << what;
        ASSERT_TRUE(Draws(*window)) << what;
        c.act(*m_x, *window);
        std::optional<ToolRun> run = hack->WaitAtMost(milliseconds(c.ends ? 3000 : 700));
        EXPECT_EQ(run.has_value(), c.ends) << what;
        if (run) {
            EXPECT_EQ(run->nExit, 0) << what << ": " << run->err;
        } else {
            Terminate(*hack);
        }
        EXPECT_TRUE(fs::exists(m_dir / kSnapshotFileName)) << what << ": no snapshot";
        fs::remove(m_dir / kSnapshotFileName);
    }
}

// The end of a run that waits on the network or on its target file.
struct PromptEndCase {
    const char* what;
    const char* mode;
    const char* targets;  // a file of the test's folder
    int signal;           // the signal that ends it, 0 for a key
};

TEST_F(X11Hack, EndsWithinHalfASecondWhateverTheNetworkOrTheTargetFileDoes) {
    setenv("DISPLAY", s_xvfb->Name().c_str(), 1);
    const testnet::CDeadNameServer deadNames(*s_net);
    const std::string silent = "3\t" + Dotted("silent.lumetra.test") + "\tsilent\tinfo\t*\t300,150\tUSA\n";
    WriteFile("silent.txt", silent);
    WriteFile("name.txt", "3\tname\thangs.lumetra.test\tinfo\t*\t100,150\tUSA\n" + silent);
    ASSERT_EQ(mkfifo((m_dir / "fifo.txt").c_str(), 0666), 0);
    const std::uint32_t silentAddress = s_net->HostNamed("silent.lumetra.test").address;
    const PromptEndCase cases[] = {
        {"a key during a name look-up that never answers", "-fullscreen", "name.txt", 0},
        {"SIGTERM during a name look-up that never answers", "-root", "name.txt", SIGTERM},
        {"a key during an echo that is never answered", "-fullscreen", "silent.txt", 0},
        {"SIGINT during an echo that is never answered", "-root", "silent.txt", SIGINT},
        {"a key with a FIFO without a writer as the target file", "-fullscreen", "fifo.txt", 0},
    };
    for (const PromptEndCase& c : cases) {
        const std::string what = std::string(c.mode) + ", " + c.what;
        const auto sent = [&] { return s_net->NameQueries() + s_net->RequestsTo(silentAddress); };
        const int sentBefore = sent();
        Xdotool("mousemove 400 300");
        auto hack = Start({c.mode, "-targets", (m_dir / c.targets).string(), "-ping-timeout", "5000"});
        std::optional<Window> window = m_x->Root();
        if (std::string(c.mode) == "-fullscreen") {
            ASSERT_TRUE(WaitFor([&] { return (window = m_x->Find("Lumetra")) && m_x->Focused() == *window; },
                                milliseconds(5000)))
                << what << ": no window with the focus";
        }
        ASSERT_TRUE(Draws(*window)) << what;
        // The first probe comes 110 ms after the start and waits for ever; from a FIFO comes none.
        if (c.targets != std::string("fifo.txt")) {
            ASSERT_TRUE(WaitFor([&] { return sent() > sentBefore; }, milliseconds(3000))) << what << ": no probe";
        }
        const auto first = Shot(*window).NonBlackBox();
        std::this_thread::sleep_for(milliseconds(400));
        EXPECT_NE(first, Shot(*window).NonBlackBox()) << what << ": the frame stood still";

        const auto asked = std::chrono::steady_clock::now();
        c.signal != 0 ? hack->Signal(c.signal) : Xdotool("key a");
        const std::optional<ToolRun> run = hack->WaitAtMost(milliseconds(3000));
        const auto ms = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - asked).count();
        std::printf("lumetra-x11 %s: ended %lld ms after the %s\n", what.c_str(), static_cast<long long>(ms),
                    c.signal != 0 ? "signal" : "key press");
        ASSERT_TRUE(run) << what << ": still running";
        EXPECT_EQ(run->nSignal, c.signal) << what << ": exit " << run->nExit << ": " << run->err;
        EXPECT_EQ(run->nExit, c.signal != 0 ? -1 : 0) << what;
        EXPECT_LT(ms, 500) << what;
        // A saver on the root window keeps its snapshot in the user's state folder.
        const fs::path snapshot =
            (c.mode == std::string("-root") ? m_dir / "state/lumetra" : m_dir) / kSnapshotFileName;
        EXPECT_EQ(test::Identify(snapshot.string(), "%w %h"), "516 310") << what;
        EXPECT_EQ(fs::file_size(snapshot), 479934U) << what;
        fs::remove(snapshot);
    }
}

TEST_F(X11Hack, AGivenWindowThatIsDestroyedEndsTheRunWithASnapshot) {
    const Window window = m_x->MakeWindow(600, 400);
    auto hack = Start({"-window-id", std::to_string(window), "-targets", FastAndSlowTargets()});
    ASSERT_TRUE(Draws(window)) << hack->ErrSoFar();
    m_x->DestroyWindow(window);
    const std::optional<ToolRun> run = hack->WaitAtMost(milliseconds(3000));
    ASSERT_TRUE(run) << "still running without its window";
    EXPECT_EQ(run->nExit, 0) << run->err;
    EXPECT_EQ(Snapshot().width, kFrameWidth);
}

TEST_F(X11Hack, DrawsOnTheRootWindow) {
    auto hack = Start({"-root", "-targets", FastAndSlowTargets()});
    ASSERT_TRUE(Draws(m_x->Root())) << hack->ErrSoFar();
    const auto box = Shot(m_x->Root()).NonBlackBox();
    ASSERT_TRUE(box);
    EXPECT_LE((*box)[2], kFrameWidth);
    Terminate(*hack);
}

struct RefusalCase {
    std::vector<std::string> args;
    int exit;
    std::string message;
};

TEST_F(X11Hack, RefusesWhatItCannotDrawIn) {
    const RefusalCase cases[] = {
        {{"-display", ":999"}, 1, "lumetra-x11: cannot open the X display ':999'\n"},
        {{"-window-id", "0x7ffffff"}, 1, "lumetra-x11: there is no window 0x7ffffff on this display\n"},
        {{"-window", "-root"}, 2, "lumetra-x11: choose one place to draw; -root is another\n"},
        {{"-ping-timeout", "0"}, 2, "lumetra-x11: -ping-timeout needs a number of at least 1, not '0'\n"},
    };
    for (const RefusalCase& c : cases) {
        const ToolRun run = Start(c.args)->Wait();
        EXPECT_EQ(run.nExit, c.exit) << testing::PrintToString(c.args);
        EXPECT_TRUE(run.err.ends_with(c.message)) << run.err;
        EXPECT_FALSE(fs::exists(m_dir / kSnapshotFileName)) << "a snapshot without a run";
    }
}

// xscreensaver refuses to run as root: it runs as nobody, with a home of its
// own in the test's folder, and probes through ICMP datagram sockets.
TEST_F(X11Hack, RunsAsTheHackOfARealXScreenSaver) {
    std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "0 2147483647";
    const fs::path home = m_dir / "home";
    fs::create_directories(home);
    const std::string targets = FastAndSlowTargets();
    WriteFile("home/.xscreensaver",
              "timeout: 0:30:00\nlock: False\nmode: one\nselected: 0\nsplash: False\n"
              "fade: False\nunfade: False\n"
              "programs: " +
                  std::string(LUMETRA_X11_BIN) + " -root -targets " + targets + " -ping-period 200\n");
    ASSERT_EQ(chown(home.c_str(), kNobody, kNobody), 0);
    const std::string inHome = "cd " + Quote(home.string()) + " && export HOME=" + Quote(home.string()) +
                               " DISPLAY=" + Quote(s_xvfb->Name()) +
                               " XDG_CONFIG_HOME=" + Quote((home / ".config").string()) + " && unset XDG_STATE_HOME";
    ToolCall daemon;
    daemon.program = "xscreensaver";
    const fs::path log = home / "xscreensaver.log";  // its verbose log
    daemon.args = {"-no-splash", "-log", log.string()};
    daemon.setup = inHome;
    daemon.wrapper = AsNobody();
    CToolProcess xscreensaver(daemon, m_dir);
    std::string asNobody;
    for (const std::string& word : AsNobody()) asNobody += word + " ";
    const auto command = [&](const std::string& what) {
        return std::system((inHome + " && " + asNobody + "xscreensaver-command " + what + " >/dev/null 2>&1").c_str());
    };
    ASSERT_TRUE(WaitFor([&] { return command("-version") == 0; }, milliseconds(10000))) << xscreensaver.ErrSoFar();

    const std::uint32_t fast = s_net->HostNamed("fast.lumetra.test").address;
    const int before = s_net->RequestsTo(fast);
    ASSERT_EQ(command("-activate"), 0);
    // Its window covers the screen; the frame shows on it and the hack probes.
    EXPECT_TRUE(Draws(m_x->Root())) << xscreensaver.ErrSoFar();
    EXPECT_TRUE(WaitFor([&] { return s_net->RequestsTo(fast) > before; }, milliseconds(5000)))
        << "the hack sent no echo";
    const auto box = Shot(m_x->Root()).NonBlackBox();
    ASSERT_TRUE(box);
    EXPECT_GT((*box)[2], kFrameWidth - 40);

    // The next hack of the cycle: xscreensaver ends this one by SIGTERM and
    // lives on to say how it ended. Its snapshot is in the user's state folder.
    ASSERT_EQ(command("-cycle"), 0);
    EXPECT_TRUE(WaitFor(
        [&] { return test::ReadAll(log).find("lumetra-x11) exited normally with SIGTERM") != std::string::npos; },
        milliseconds(5000)))
        << test::ReadAll(log);
    const fs::path state = home / ".local/state/lumetra";
    EXPECT_EQ(test::PictureOfBmp((state / kSnapshotFileName).string()).width, kFrameWidth);
    EXPECT_EQ(fs::status(state).permissions(), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(home / kSnapshotFileName));
    fs::remove(state / kSnapshotFileName);
    ASSERT_EQ(command("-deactivate"), 0);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(state / kSnapshotFileName); }, milliseconds(5000)))
        << "no snapshot after the deactivation";

    // The preview of xscreensaver-settings: its very command line, in its window.
    const Window preview = m_x->MakeWindow(400, 300);
    fs::create_directories(home / ".config");
    WriteFile("home/.config/Lumetra.ini", "[Lumetra]\nTargetFile=" + targets + "\n");
    ToolCall previewCall;
    previewCall.program = LUMETRA_X11_BIN;
    previewCall.args = {"--root", "--window-id", std::to_string(preview)};
    previewCall.setup = inHome;
    previewCall.wrapper = AsNobody();
    CToolProcess previewRun(previewCall, m_dir);
    // Smaller than the frame, as the settings' pane is: the whole map scaled down to 400 x 240.
    EXPECT_TRUE(Draws(preview, 400 * 240)) << previewRun.ErrSoFar();
    Terminate(previewRun);
    EXPECT_TRUE(fs::exists(state / kSnapshotFileName)) << "the preview's snapshot elsewhere";

    xscreensaver.Signal(SIGTERM);
    EXPECT_TRUE(xscreensaver.WaitAtMost(milliseconds(5000)));
    EXPECT_EQ(test::ReadAll(log).find("abnormal"), std::string::npos) << test::ReadAll(log);
}

TEST_F(X11Hack, InstallsWhereXScreenSaverLooksAndFindsItsBundledTargets) {
    const fs::path prefix = m_dir / "usr";
    const test::CommandResult install = test::InstallBuild(LUMETRA_CMAKE, LUMETRA_BINARY_DIR, prefix.string());
    ASSERT_TRUE(install.ok) << install.output;
    const fs::path installed = prefix / "libexec/xscreensaver/lumetra-x11";
    EXPECT_TRUE(fs::exists(installed));
    EXPECT_TRUE(fs::exists(prefix / "share/xscreensaver/config/lumetra-x11.xml"));
    EXPECT_TRUE(fs::exists(prefix / "share/lumetra/lumetra.txt"));

    // One probe, answered by no one: the marker of the first host of the
    // region shows which target file was read.
    const Window window = m_x->MakeWindow(kFrameWidth, kFrameHeight);
    const auto snapshotOf = [&](const std::string& program, std::vector<std::string> targets) {
        std::vector<std::string> args = {"-window-id", std::to_string(window), "-replay-results",
                                         "/dev/null",  "-probe-limit",         "1"};
        args.insert(args.end(), targets.begin(), targets.end());
        auto hack = Start(args, {}, program);
        std::this_thread::sleep_for(milliseconds(700));
        Terminate(*hack);
        CPicture snapshot = Snapshot();
        fs::remove(m_dir / kSnapshotFileName);
        return snapshot;
    };
    const CPicture bundled = snapshotOf(installed.string(), {});
    ASSERT_EQ(bundled.width, kFrameWidth);
    EXPECT_TRUE(bundled ==
                snapshotOf(LUMETRA_X11_BIN, {"-targets", std::string(LUMETRA_SOURCE_DIR) + "/resources/lumetra.txt"}))
        << "the installed program did not read the bundled target file";
    EXPECT_FALSE(bundled == snapshotOf(LUMETRA_X11_BIN, {"-targets", (m_dir / "none.txt").string()}))
        << "a frame without targets looks the same: the check proves nothing";
}

}  // namespace
}  // namespace lumetra
