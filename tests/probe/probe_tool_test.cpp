// Runs the real `lumetra-map probe` inside the test network and checks its
// table, its progress and its exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "tests/net/testnet_client.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

using test::Lines;
using test::Quote;
using test::ReadAll;

using testnet::CTestNet;

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

    // `prefix` runs the tool through another program, e.g. as another user.
    // The frame goes to the test's folder unless the arguments say otherwise.
    ToolRun Run(std::vector<std::string> args, const std::string& prefix = "") const {
        if (std::find(args.begin(), args.end(), "--out") == args.end() && !prefix.starts_with("cd ")) {
            args.insert(args.end(), {"--out", (m_dir / "frame.bmp").string()});
        }
        const auto out = m_dir / "out";
        const auto err = m_dir / "err";
        std::string command = prefix + Quote(LUMETRA_MAP_BIN) + " probe";
        for (const std::string& arg : args) command += " " + Quote(arg);
        command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
        const int status = std::system(command.c_str());
        ToolRun run;
        run.nExit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Lines(ReadAll(out));
        run.err = ReadAll(err);
        return run;
    }

    std::string Dotted(const char* name) const { return testnet::Dotted(m_net->HostNamed(name).address); }

    std::optional<CTestNet> m_net;
    test::CTempFolder m_folder;
    const std::filesystem::path& m_dir = m_folder.Path();
};

// The round trip of a table row: its number of ms, or -1 for "timeout".
int RoundTripOf(const std::vector<std::string>& row) {
    if (row.empty()) return -2;
    if (row.back() == "timeout") return -1;
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

TEST_F(ProbeTool, TimeoutComesFromTheSettings) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("ms150.lumetra.test"), "ms150.lumetra.test", 100, 60));
    const ToolRun shortWait = Run({"--targets", targets, "--settings", Settings(100)});
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
        const ToolRun run = Run(args, "cd " + Quote(m_dir.string()) + " && ");
        EXPECT_EQ(run.nExit, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(m_net->Requests().size(), before);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "lumetra.bmp")) << "a frame after bad arguments";
}

TEST_F(ProbeTool, SaysOnceWhenThisUserMayNotSendEchoes) {
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 100, 60) +
                                     TargetLine(Dotted("ms50.lumetra.test"), "ms50.lumetra.test", 200, 60));
    const std::string settings = Settings(300);
    std::filesystem::permissions(m_dir, std::filesystem::perms::all);  // readable for the other user
    const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
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

// ImageMagick's view of one pixel as red, green and blue.
std::array<int, 3> MagickPixel(const std::filesystem::path& bmp, int x, int y) {
    const std::filesystem::path answer = bmp.parent_path() / "pixel.txt";
    const std::string command = "convert " + Quote(bmp.string()) + " -format '%[fx:int(255*p{" + std::to_string(x) +
                                "," + std::to_string(y) + "}.r)] %[fx:int(255*p{" + std::to_string(x) + "," +
                                std::to_string(y) + "}.g)] %[fx:int(255*p{" + std::to_string(x) + "," +
                                std::to_string(y) + "}.b)]' info: >" + Quote(answer.string());
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::array<int, 3> rgb = {-1, -1, -1};
    std::istringstream(ReadAll(answer)) >> rgb[0] >> rgb[1] >> rgb[2];
    return rgb;
}

TEST_F(ProbeTool, WritesTheFrameWithFastHostsRedAndSlowOnesViolet) {
    // Far enough apart that neither reaches the other's position. The range
    // follows the measured times, so the fastest host gets the red end of the
    // ramp and the slowest its violet end, however long each took.
    const std::string targets =
        WriteFile("targets.txt", TargetLine(Dotted("fast.lumetra.test"), "fast.lumetra.test", 200, 150) +
                                     TargetLine(Dotted("ms400.lumetra.test"), "ms400.lumetra.test", 420, 150));
    const ToolRun run = Run({"--targets", targets, "--settings", Settings(1000, "DynamicRange=1\r\n")},
                            "cd " + Quote(m_dir.string()) + " && ");
    ASSERT_EQ(run.nExit, 0) << run.err;
    ASSERT_EQ(run.out.size(), 4U);
    EXPECT_EQ(run.out[3], "2 of 2 targets answered");
    const std::filesystem::path frame = m_dir / "lumetra.bmp";  // the default name, in the current folder
    ASSERT_TRUE(std::filesystem::exists(frame)) << run.err;

    const std::string size = (m_dir / "size.txt").string();
    ASSERT_EQ(std::system(("identify -format '%w %h' " + Quote(frame.string()) + " >" + Quote(size)).c_str()), 0);
    EXPECT_EQ(ReadAll(size), "516 310");

    const std::array<int, 3> fast = MagickPixel(frame, 200, 150);
    EXPECT_GT(fast[0], 200);
    EXPECT_LT(fast[1], 80);
    EXPECT_LT(fast[2], 60);
    const std::array<int, 3> slow = MagickPixel(frame, 420, 150);
    EXPECT_LT(slow[1], 60);
    EXPECT_GT(slow[2], 200);
    EXPECT_GT(slow[0], 60) << "blue, not violet";
    EXPECT_LT(slow[0], 180);
}

}  // namespace
}  // namespace lumetra
