// Runs the real `lumetra-map probe` inside the test network and checks its
// table, its progress and its exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/net/testnet_client.h"
#include "tests/support/image_magick.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "view/frame_size.h"
#include "view/saver_files.h"

namespace lumetra {
namespace {

using test::Lines;
using test::Quote;
using test::ReadAll;

using testnet::CTestNet;

using test::ToolCall;

// How a run ended, with its table as lines.
struct ToolRun {
    int nExit = -1;
    std::vector<std::string> out;
    std::string err;
};

// Whitespace-separated words of a line.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Writes /proc/sys/net/ipv4/ping_group_range of this namespace and puts the
// old value back at the end.
class CPingGroupRange {
public:
    explicit CPingGroupRange(const std::string& range) : m_strOld(ReadAll(kPath)) { Write(range); }
    ~CPingGroupRange() { Write(m_strOld); }
    CPingGroupRange(const CPingGroupRange&) = delete;
    CPingGroupRange& operator=(const CPingGroupRange&) = delete;

private:
    static constexpr const char* kPath = "/proc/sys/net/ipv4/ping_group_range";
    static void Write(const std::string& range) {
        std::ofstream out(kPath);
        out << range;
    }
    std::string m_strOld;
};

class ProbeTool : public ::testing::Test {
protected:
    void SetUp() override {
        std::string whyNot;
        m_net = CTestNet::Join(&whyNot);
        if (!m_net) GTEST_SKIP() << whyNot;
    }

    std::string WriteFile(const std::string& name, const std::string& text) const {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // One target line: type, address field, host, info, note, "x,y", region.
    static std::string TargetLine(const std::string& address, const std::string& host, int x, int y,
                                  const std::string& region = "USA") {
        return "3\t" + address + "\t" + host + "\tinfo\t*\t" + std::to_string(x) + "," + std::to_string(y) + "\t" +
               region + "\n";
    }

    std::string Settings(int timeoutMs, const std::string& more = "") const {
        return WriteFile("Lumetra.ini", "[Lumetra]\r\nPingTimeout=" + std::to_string(timeoutMs) + "\r\n" + more);
    }

    // `lumetra-map probe` with these arguments, as `call` further says. The
    // frame goes to the test's folder unless the arguments or a folder to
    // run in say otherwise.
    ToolRun Run(const std::vector<std::string>& args, ToolCall call = {}) const {
        call.args = {"probe"};
        call.args.insert(call.args.end(), args.begin(), args.end());
        if (std::find(args.begin(), args.end(), "--out") == args.end() && call.setup.empty()) {
            call.args.insert(call.args.end(), {"--out", (m_dir / "frame.bmp").string()});
        }
        const test::ToolRun run = test::RunTool(call, m_dir);
        return {run.nExit, Lines(run.out), run.err};
    }

    // Runs in the test's folder, where the frame goes without --out.
    ToolCall InTheFolder() const { return {.setup = "cd " + Quote(m_dir.string())}; }

    std::string Dotted(const char* name) const { return testnet::Dotted(m_net->HostNamed(name).address); }

    std::optional<CTestNet> m_net;
    test::CTempFolder m_folder;
    const std::filesystem::path& m_dir = m_folder.Path();
};

// The round trip of a table row: its number of ms, or -1 for "timeout" and
// "unknown host".
int RoundTripOf(const std::vector<std::string>& row) {
    if (row.empty()) return -2;
    if (row.back() == "timeout") return -1;
    if (row.size() >= 2 && row[row.size() - 2] == "unknown" && row.back() == "host") return -1;
    if (row.back() != "ms" || row.size() < 2) return -2;
    return std::stoi(row[row.size() - 2]);
}

TEST_F(ProbeTool, ProbesTheRegionInListOrderWithTheSettingsTimeout) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 100, 60) +
                                     TargetLine(Dotted("ms400.lumetra.test"), "ms400.lumetra.test", 200, 60, "CAN") +
                                     TargetLine(Dotted("ms150.lumetra.test"), "ms150.lumetra.test", 300, 60) +
                                     TargetLine(Dotted("silent.lumetra.test"), "silent.lumetra.test", 400, 60) +
                                     TargetLine("byname", "ms50.lumetra.test", 100, 200) +
                                     TargetLine("byname", "nowhere.invalid", 200, 200));
    const std::uint32_t notOfRegion = m_net->HostNamed("ms400.lumetra.test").address;
    const int before = m_net->RequestsTo(notOfRegion);

    const ToolRun run = Run({"--targets", targets, "--settings", Settings(300)});
    ASSERT_EQ(run.nExit, 0) << run.err;
    ASSERT_EQ(run.out.size(), 7U) << "a header, five rows and the summary";
    EXPECT_EQ(Words(run.out[0]).front(), "host");
    const char* hosts[] = {"fast.lumetra.test", "ms150.lumetra.test", "silent.lumetra.test", "ms50.lumetra.test",
                           "nowhere.invalid"};
    const int delays[] = {0, 150, -1, 50, -1};
    for (int i = 0; i < 5; ++i) {
        const auto row = Words(run.out[static_cast<std::size_t>(i) + 1]);
        ASSERT_FALSE(row.empty());
        EXPECT_EQ(row[0], hosts[i]);
        const int rtt = RoundTripOf(row);
        if (delays[i] < 0) {
            EXPECT_EQ(rtt, -1) << run.out[static_cast<std::size_t>(i) + 1];
        } else {
            EXPECT_GE(rtt, delays[i]) << run.out[static_cast<std::size_t>(i) + 1];
            EXPECT_LE(rtt, delays[i] + 15) << run.out[static_cast<std::size_t>(i) + 1];
        }
        EXPECT_EQ(Occurrences(run.err, std::string(hosts[i]) + " ... "), 1) << "progress for " << hosts[i];
    }
    EXPECT_EQ(run.out[6], "3 of 5 targets answered");
    EXPECT_EQ(m_net->RequestsTo(notOfRegion), before) << "a target of another region was probed";
    EXPECT_NE(run.err.find("silent.lumetra.test ... timeout"), std::string::npos) << run.err;
}

TEST_F(ProbeTool, TellsANameThatDoesNotResolveFromAHostThatDoesNotAnswer) {
    struct Case {
        std::string address;
        std::string host;
        std::string result;
    };
    const std::vector<Case> cases = {
        {Dotted("silent.lumetra.test"), "silent.lumetra.test", "timeout"},
        {"byname", "silent.lumetra.test", "timeout"},
        {"byname", "nowhere.invalid", "unknown host"},
        {"byname", "ms50.lumetra.test", "ms"},
    };
    std::string lines;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        lines += TargetLine(cases[i].address, cases[i].host, 100 + 50 * static_cast<int>(i), 100);
    }
    const ToolRun run = Run({"--targets", WriteFile("targets.txt", lines), "--settings", Settings(200)});
    ASSERT_EQ(run.nExit, 0) << run.err;
    ASSERT_EQ(run.out.size(), cases.size() + 2) << run.err;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string& row = run.out[i + 1];
        EXPECT_TRUE(row.ends_with(" " + cases[i].result)) << row;
        EXPECT_NE(run.err.find(cases[i].host + " ... "), std::string::npos) << run.err;
    }
    EXPECT_NE(run.err.find("nowhere.invalid ... unknown host\n"), std::string::npos) << run.err;
    EXPECT_EQ(Occurrences(run.err, "unknown host"), 1) << run.err;
    EXPECT_EQ(run.out.back(), "1 of 4 targets answered");
}

TEST_F(ProbeTool, TimeoutComesFromTheSettings) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("ms150.lumetra.test"), "ms150.lumetra.test", 100, 60));
    // Named with a backslash, as the saver's paths are written: the same file.
    std::string settings = Settings(100);
    settings[settings.rfind('/')] = '\\';
    const ToolRun shortWait = Run({"--targets", targets, "--settings", settings});
    ASSERT_EQ(shortWait.nExit, 0) << shortWait.err;
    ASSERT_EQ(shortWait.out.size(), 3U);
    EXPECT_EQ(RoundTripOf(Words(shortWait.out[1])), -1);
    const ToolRun longWait = Run({"--targets", targets, "--settings", Settings(1000)});
    ASSERT_EQ(longWait.out.size(), 3U);
    EXPECT_GE(RoundTripOf(Words(longWait.out[1])), 150);
}

TEST_F(ProbeTool, BadArgumentsAndUnreadableFilesExitWithTwoAndProbeNothing) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 100, 60));
    const std::string settings = Settings(300);
    const std::size_t before = m_net->Requests().size();
    const std::vector<std::vector<std::string>> bad = {
        {"--targets"},
        {"--targets", targets, "--targets", targets},
        {"--bogus"},
        {targets},
        {"--targets", (m_dir / "missing.txt").string(), "--settings", settings},
        {"--targets", m_dir.string(), "--settings", settings},
        {"--targets", targets, "--settings", (m_dir / "missing.ini").string()},
        {"--targets", targets, "--settings", settings, "--out", (m_dir / "no" / "such" / "folder.bmp").string()},
        {"--targets", targets, "--settings", settings, "--out"},
    };
    for (const auto& args : bad) {
        const ToolRun run = Run(args, InTheFolder());
        EXPECT_EQ(run.nExit, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(m_net->Requests().size(), before);
    EXPECT_FALSE(std::filesystem::exists(m_dir / kSnapshotFileName)) << "a frame after bad arguments";
}

TEST_F(ProbeTool, SaysOnceWhenThisUserMayNotSendEchoes) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 100, 60) +
                                     TargetLine(Dotted("ms50.lumetra.test"), "ms50.lumetra.test", 200, 60));
    const std::string settings = Settings(300);
    std::filesystem::permissions(m_dir, std::filesystem::perms::all);  // readable for the other user
    const ToolCall nobody{.wrapper = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"}};
    const std::size_t before = m_net->Requests().size();
    {
        const CPingGroupRange closed("1 0");
        const ToolRun run = Run({"--targets", targets, "--settings", settings}, nobody);
        EXPECT_EQ(run.nExit, 1) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(Occurrences(run.err, "cannot send ICMP echoes"), 1) << run.err;
        EXPECT_EQ(Occurrences(run.err, "sysctl net.ipv4.ping_group_range=\"0 2147483647\""), 1) << run.err;
        EXPECT_EQ(Occurrences(run.err, "setcap cap_net_raw+ep lumetra-map"), 1) << run.err;
        EXPECT_EQ(Occurrences(run.err, "timeout"), 0) << run.err;
        EXPECT_FALSE(std::filesystem::exists(m_dir / "frame.bmp"));
    }
    EXPECT_EQ(m_net->Requests().size(), before);
    {
        // The first remedy, in this namespace only: the same user can probe.
        const CPingGroupRange open("0 2147483647");
        const ToolRun run = Run({"--targets", targets, "--settings", settings}, nobody);
        EXPECT_EQ(run.nExit, 0) << run.err;
        ASSERT_EQ(run.out.size(), 4U) << run.err;
        EXPECT_EQ(run.out[3], "2 of 2 targets answered");
        EXPECT_TRUE(std::filesystem::exists(m_dir / "frame.bmp"));
    }
}

TEST_F(ProbeTool, WritesTheFrameWithFastHostsRedAndSlowOnesViolet) {
    // Far enough apart that neither reaches the other's position. The range
    // follows the measured times, so the fastest host gets the red end of the
    // ramp and the slowest its violet end, however long each took.
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 200, 150) +
                                     TargetLine(Dotted("ms400.lumetra.test"), "ms400.lumetra.test", 420, 150));
    const ToolRun run = Run({"--targets", targets, "--settings", Settings(1000, "DynamicRange=1\r\n")}, InTheFolder());
    ASSERT_EQ(run.nExit, 0) << run.err;
    ASSERT_EQ(run.out.size(), 4U);
    EXPECT_EQ(run.out[3], "2 of 2 targets answered");
    const std::filesystem::path frame = m_dir / kSnapshotFileName;  // the default name, in the current folder
    ASSERT_TRUE(std::filesystem::exists(frame)) << run.err;

    EXPECT_EQ(test::Identify(frame.string(), "%w %h"),
              std::to_string(kFrameWidth) + " " + std::to_string(kFrameHeight));

    const std::array<int, 3> fast = test::MagickPixel(frame.string(), 200, 150);
    EXPECT_GT(fast[0], 200);
    EXPECT_LT(fast[1], 80);
    EXPECT_LT(fast[2], 60);
    const std::array<int, 3> slow = test::MagickPixel(frame.string(), 420, 150);
    EXPECT_LT(slow[1], 60);
    EXPECT_GT(slow[2], 200);
    EXPECT_GT(slow[0], 60) << "blue, not violet";
    EXPECT_LT(slow[0], 180);
}

// Files in `folder`, whatever their kind.
std::size_t FilesIn(const std::filesystem::path& folder) {
    const std::filesystem::directory_iterator files(folder);
    return static_cast<std::size_t>(std::distance(begin(files), end(files)));
}

struct Interruption {
    const char* what;
    const char* targets;
    int signal;
};

TEST_F(ProbeTool, AnInterruptedCycleEndsAtOnceAndLeavesTheOldFrameAsItWas) {
    // The silent host keeps the cycle waiting for its long timeout, the name
    // server that never answers for a look-up; the run is interrupted while
    // it waits.
    const std::string fast = TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 100, 60);
    WriteFile("silent.txt", fast + TargetLine(Dotted("silent.lumetra.test"), "silent.lumetra.test", 200, 60));
    WriteFile("name.txt", fast + TargetLine("byname", "hangs.lumetra.test", 200, 60));
    const testnet::CDeadNameServer deadNames(*m_net);
    const std::string settings = Settings(30000);
    const std::filesystem::path pictures = m_dir / "pictures";
    std::filesystem::create_directory(pictures);
    const std::filesystem::path frame = pictures / "frame.bmp";
    std::ofstream(frame, std::ios::binary) << "an older picture";
    const std::uint32_t silent = m_net->HostNamed("silent.lumetra.test").address;

    const Interruption cases[] = {{"an echo", "silent.txt", SIGINT},
                                  {"an echo", "silent.txt", SIGTERM},
                                  {"a name look-up that never answers", "name.txt", SIGINT},
                                  {"a name look-up that never answers", "name.txt", SIGTERM}};
    for (const Interruption& c : cases) {
        const auto sent = [&] { return m_net->RequestsTo(silent) + m_net->NameQueries(); };
        const int asked = sent();
        test::CToolProcess tool({.args = {"probe", "--targets", (m_dir / c.targets).string(), "--settings", settings,
                                          "--out", frame.string()}},
                                m_dir);
        for (int wait = 0; wait < 500 && sent() == asked; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_GT(sent(), asked) << "the cycle never reached " << c.what << ": " << tool.ErrSoFar();
        const auto at = std::chrono::steady_clock::now();
        tool.Signal(c.signal);
        const std::optional<test::ToolRun> run = tool.WaitAtMost(std::chrono::milliseconds(3000));
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - at).count();
        std::printf("lumetra-map probe, signal %d during %s: ended %lld ms after it\n", c.signal, c.what,
                    static_cast<long long>(ms));
        ASSERT_TRUE(run) << c.what << ": still running";
        EXPECT_LT(ms, 500) << c.what;
        EXPECT_EQ(run->nSignal, c.signal) << "the run ended before its interruption: " << run->err;
        EXPECT_EQ(ReadAll(frame), "an older picture");
        EXPECT_EQ(FilesIn(pictures), 1U) << "a file was left beside the frame";
    }

    // A whole run replaces the picture, and leaves nothing else beside it.
    const ToolRun whole =
        Run({"--targets", WriteFile("fast.txt", fast), "--settings", Settings(300), "--out", frame.string()});
    ASSERT_EQ(whole.nExit, 0) << whole.err;
    const std::string bmp = ReadAll(frame);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.size(), 54U + 516U * 3U * 310U);
    EXPECT_EQ(FilesIn(pictures), 1U);
}

TEST_F(ProbeTool, ABrokenBitmapResourceEndsWithAMessageAfterTheTable) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 100, 60));
    const std::filesystem::path frame = m_dir / "old.bmp";
    std::ofstream(frame, std::ios::binary) << "an older picture";
    const ToolRun run = Run({"--targets", targets, "--settings", Settings(300), "--out", frame.string()},
                            {.program = LUMETRA_MAP_BROKEN_KERNEL_BIN});
    EXPECT_EQ(run.nExit, 1) << run.err;
    ASSERT_EQ(run.out.size(), 3U) << run.err;
    EXPECT_EQ(run.out[2], "1 of 1 targets answered");
    EXPECT_NE(run.err.find("\nlumetra-map probe: a bitmap resource is missing or broken: "), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadAll(frame), "an older picture");
}

}  // namespace
}  // namespace lumetra
