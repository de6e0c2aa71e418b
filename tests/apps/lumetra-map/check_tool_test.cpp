// Runs the real `lumetra-map check` on files written here and checks what it
// prints and how it exits.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "targets/target_file.h"
#include "tests/support/install_build.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"

namespace lumetra {
namespace {

using test::Lines;
using test::ReadAll;

using namespace std::string_literals;
using test::CTempFolder;

struct CheckRun {
    int nExit = -1;
    std::vector<std::string> out;  // stdout lines
    std::vector<std::string> err;  // stderr lines
};

CheckRun RunCheck(const std::vector<std::string>& args, test::ToolCall call = {}) {
    const CTempFolder scratch;
    call.args.insert(call.args.begin(), "check");
    call.args.insert(call.args.end(), args.begin(), args.end());
    const test::ToolRun run = test::RunTool(call, scratch.Path());
    return {run.nExit, Lines(run.out), Lines(run.err)};
}

std::string Packed(unsigned a, unsigned b, unsigned c, unsigned d) {
    return std::to_string(a + b * 256U + c * 65536U + d * 16777216U);
}

// The tool's record line, built from the record the saver's reader made.
std::string Listed(const PingTarget& t) {
    return std::to_string(t.m_nType) + "\t" + std::to_string(t.m_dwAddress) + "\t" + t.m_strAddress + "\t" +
           t.m_strHost + "\t" + t.m_strInfo + "\t" + t.m_strNote + "\t" + std::to_string(t.m_nX) + "\t" +
           std::to_string(t.m_nY) + "\t" + t.m_strRegion;
}

TEST(LumetraMapCheck, ListsEveryRecordAndExitsZero) {
    CTempFolder dir;
    const std::string file = dir.Write("t.txt",
                                       "; hosts\n"
                                       "3\t10.1.2.3\tone.example\tcampus\t*\t120,85\tUSA\r\n"
                                       "\n"
                                       "  9\tbyname\ttwo.example\tinfo\tnote\t-4, 200\tusa\n"
                                       "7x\t300.-1.0.1zz\tthree\ti\tn\t0,0\tUSA");
    const CheckRun run = RunCheck({file});
    EXPECT_EQ(run.nExit, 0);
    EXPECT_EQ(run.err, std::vector<std::string>{});
    EXPECT_EQ(run.out, (std::vector<std::string>{
                           "3\t" + Packed(10, 1, 2, 3) + "\t10.1.2.3\tone.example\tcampus\t*\t120\t85\tUSA",
                           "6\t0\tbyname\ttwo.example\tinfo\tnote\t-4\t200\tusa",
                           "7\t" + Packed(44, 255, 0, 1) + "\t300.-1.0.1zz\tthree\ti\tn\t0\t0\tUSA",
                       }));
}

TEST(LumetraMapCheck, NamesEveryDroppedLineAndExitsOne) {
    CTempFolder dir;
    const std::string file = dir.Write("t.txt",
                                       "3\t10.1.2.3\thost\tinfo\t*\t120,85\tUSA\n"
                                       "; comment\n"
                                       "3\t10.1.2.3\thost\n"
                                       "1\ta\tb\tc\td\t5,6\tUSA\n"
                                       "3\t10.1.2.3\thost\t\t*\t120,85\tUSA\n"
                                       "3\t10.1.2.3\thost\tinfo\t*\t120 ,85\tUSA\n");
    const CheckRun run = RunCheck({file});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.out, (std::vector<std::string>{
                           "3\t" + Packed(10, 1, 2, 3) + "\t10.1.2.3\thost\tinfo\t*\t120\t85\tUSA",
                           "1\t0\ta\tb\tc\td\t5\t6\tUSA",
                       }));
    EXPECT_EQ(run.err, (std::vector<std::string>{"3: too few fields (3 of 7)", "5: position does not read as x,y",
                                                 "6: position does not read as x,y"}));
}

TEST(LumetraMapCheck, AnUnreadableFileExitsTwoWithTheSystemsReason) {
    CTempFolder dir;
    const std::string missing = (dir.Path() / "missing.txt").string();
    const CheckRun run = RunCheck({missing});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_TRUE(run.out.empty());
    ASSERT_EQ(run.err.size(), 1U);
    EXPECT_NE(run.err[0].find(missing), std::string::npos) << run.err[0];
    EXPECT_NE(run.err[0].find(std::strerror(ENOENT)), std::string::npos) << run.err[0];

    const CheckRun folder = RunCheck({dir.Path().string()});
    EXPECT_EQ(folder.nExit, 2);
    ASSERT_EQ(folder.err.size(), 1U);
    EXPECT_NE(folder.err[0].find(std::strerror(EISDIR)), std::string::npos) << folder.err[0];
}

TEST(LumetraMapCheck, BadArgumentsShowTheUsageAndExitTwo) {
    CTempFolder dir;
    const std::string file = dir.Write("t.txt", "1\ta\tb\tc\td\t5,6\tUSA\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{file, file}, std::vector<std::string>{"--bogus"},
          std::vector<std::string>{"-x", file}}) {
        const CheckRun run = RunCheck(args);
        EXPECT_EQ(run.nExit, 2);
        EXPECT_TRUE(run.out.empty());
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err[0].rfind("usage: lumetra-map check", 0), 0U) << run.err[0];
    }
}

// What `check` lists for the target file at `path`, read as the saver does.
std::vector<std::string> ListingOf(const std::string& path) {
    TargetList targets;
    std::string region;
    LoadTargetFile(path, targets, region);
    std::vector<std::string> listing;
    for (const auto& target : targets) listing.push_back(Listed(*target));
    return listing;
}

TEST(LumetraMapCheck, WithoutAFileReadsTheBundledTargetFile) {
    const std::vector<std::string> bundled = ListingOf(LUMETRA_SOURCE_DIR "/resources/lumetra.txt");
    ASSERT_FALSE(bundled.empty());
    const CTempFolder elsewhere;
    const CheckRun run = RunCheck({}, {.setup = "cd " + test::Quote(elsewhere.Path().string())});
    EXPECT_EQ(run.out, bundled);
    EXPECT_EQ(run.nExit, run.err.empty() ? 0 : 1);
}

TEST(LumetraMapCheck, AnInstalledToolReadsTheTargetFileInstalledWithIt) {
    const CTempFolder prefix;
    // The build tree's record of a user's own install survives the test's.
    const std::string manifest = std::string(LUMETRA_BINARY_DIR) + "/install_manifest.txt";
    const bool hadManifest = std::filesystem::exists(manifest);
    const std::string before = test::ReadAll(manifest);
    const test::CommandResult install = test::InstallBuild(LUMETRA_CMAKE, LUMETRA_BINARY_DIR, prefix.Path().string());
    ASSERT_TRUE(install.ok) << install.output;
    EXPECT_EQ(std::filesystem::exists(manifest), hadManifest);
    EXPECT_EQ(test::ReadAll(manifest), before);
    const std::filesystem::path installed = prefix.Path() / "share" / "lumetra" / "lumetra.txt";
    ASSERT_EQ(ListingOf(installed.string()), ListingOf(LUMETRA_SOURCE_DIR "/resources/lumetra.txt"));

    // Whatever lies there is what the installed tool reads, from any folder.
    std::ofstream(installed, std::ios::binary) << "2\t9.8.7.6\tinstalled.example\ti\tn\t1,2\tUSA\n";
    const CTempFolder elsewhere;
    test::ToolCall call{.args = {"check"}, .setup = "cd " + test::Quote(elsewhere.Path().string())};
    call.program = (prefix.Path() / "bin" / "lumetra-map").string();
    const test::ToolRun run = test::RunTool(call, elsewhere.Path());
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(Lines(run.out), ListingOf(installed.string()));
    EXPECT_NE(run.out.find("installed.example"), std::string::npos) << run.out;

    // Without its installed file it says which file it looked for.
    std::filesystem::remove(installed);
    const test::ToolRun missing = test::RunTool(call, elsewhere.Path());
    EXPECT_EQ(missing.nExit, 2);
    EXPECT_NE(missing.err.find(installed.string()), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find(std::strerror(ENOENT)), std::string::npos) << missing.err;
}

TEST(LumetraMapCheck, ListsExactlyWhatTheSaverReads) {
    std::mt19937 random(77);
    const std::string special = "\t\t\t\n\r\0;.,- 0123456789"s;
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        const auto r = random();
        text += r % 2 == 0 ? special[(r >> 8) % special.size()] : static_cast<char>(r >> 16);
        if (i % 1000 == 0) text += "\n2\t9.8.7.6\th" + std::to_string(i) + "\ti\tn\t1,2\tUSA\n";
    }
    CTempFolder dir;
    const std::string file = dir.Write("garbage.bin", text);
    TargetList targets;
    std::string region;
    LoadTargetFile(file, targets, region);
    std::size_t dropped = 0;
    const std::error_code error = ReadTargetFile(file, [&dropped](std::size_t, ParsedLine parsed) {
        dropped += parsed.status == LineStatus::kTooFewFields || parsed.status == LineStatus::kBadPosition ? 1 : 0;
    });
    ASSERT_FALSE(error);
    ASSERT_GE(targets.size(), 200U);

    const CheckRun run = RunCheck({file});
    std::vector<std::string> expected;
    for (const auto& target : targets) expected.push_back(Listed(*target));
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err.size(), dropped);
    EXPECT_EQ(run.nExit, dropped == 0 ? 0 : 1);
}

TEST(LumetraMapCheck, RunningOutOfMemoryIsAnErrorNotASilentDrop) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#else
    CTempFolder dir;
    const auto path = dir.Path() / "big.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "1\ta\tbig\t";
        const std::string chunk(1U << 20, 'x');
        for (int i = 0; i < 64; ++i) out << chunk;
        out << "\t*\t1,2\tUSA\n";
    }
    // 48 MB of address space: the tool starts, the 64 MB line does not fit.
    const CheckRun run = RunCheck({path.string()}, {.setup = "ulimit -v 49152"});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_TRUE(run.out.empty());
    ASSERT_EQ(run.err.size(), 1U);
    EXPECT_NE(run.err[0].find("out of memory"), std::string::npos) << run.err[0];
#endif
}

// What every command shares: its usage on request, its answer to an option it
// does not know, and its exit status when stdout cannot take its output.
TEST(LumetraMapTool, EveryCommandShowsItsUsageOnRequest) {
    const CTempFolder scratch;
    for (const std::string command : {"check", "probe", "render"}) {
        const test::ToolRun help = test::RunTool({.args = {command, "--help"}}, scratch.Path());
        EXPECT_EQ(help.nExit, 0) << command;
        EXPECT_EQ(help.err, "") << command;
        EXPECT_EQ(help.out.rfind("usage: lumetra-map " + command, 0), 0U) << help.out;
        EXPECT_NE(help.out.find("exit status: 0 done\n"), std::string::npos) << help.out;

        const test::ToolRun bad = test::RunTool({.args = {command, "--colour", "red"}}, scratch.Path());
        EXPECT_EQ(bad.nExit, 2) << command;
        EXPECT_EQ(bad.out, "") << command;
        EXPECT_EQ(bad.err.rfind("usage: lumetra-map " + command, 0), 0U) << bad.err;
        EXPECT_EQ(Lines(bad.err).back(), "lumetra-map " + command + ": unknown option '--colour'");

        const test::ToolRun overview = test::RunTool({.args = {"--help"}}, scratch.Path());
        EXPECT_EQ(overview.nExit, 0);
        EXPECT_NE(overview.out.find("\n  " + command + " "), std::string::npos) << overview.out;
    }
}

TEST(LumetraMapTool, OutputThatStdoutCannotTakeExitsOne) {
    const CTempFolder dir;
    const std::string targets = dir.Write("t.txt", "1\ta\tb\tc\td\t5,6\tUSA\n");
    const std::string results = dir.Write("r.txt", "0 10\n");
    const std::string settings = dir.Write("s.ini", "[Lumetra]\n");
    const std::string frame = (dir.Path() / "frame.bmp").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", targets},
          std::vector<std::string>{"render", "--targets", targets, "--results", results, "--settings", settings,
                                   "--out", frame}}) {
        const test::ToolRun run = test::RunTool({.args = args, .setup = "exec >/dev/full"}, dir.Path());
        EXPECT_EQ(run.nExit, 1) << args[0];
        EXPECT_EQ(run.err, "lumetra-map " + args[0] + ": writing to standard output failed\n");
    }
    EXPECT_TRUE(std::filesystem::exists(frame)) << "the frame is written all the same";
}

}  // namespace
}  // namespace lumetra
