// `lumetra-map render` as a user runs it: the real binary, its BMP compared
// with the golden frames byte for byte and read back by ImageMagick, and its
// answers to bad arguments.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/image_magick.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "tests/view/golden_scenes.h"
#include "view/frame_size.h"

namespace lumetra {
namespace {

using test::Quote;

namespace fs = std::filesystem;

fs::path Frames() {
    return fs::path(LUMETRA_TEST_DATA) / "frames";
}

class RenderTool : public ::testing::Test {
protected:
    // `lumetra-map render` with these arguments, or another build of the tool.
    test::ToolRun Run(const std::vector<std::string>& args, const std::string& program = LUMETRA_MAP_BIN) const {
        test::ToolCall call{.args = {"render"}, .program = program};
        call.args.insert(call.args.end(), args.begin(), args.end());
        return test::RunTool(call, m_dir);
    }

    fs::path Write(const std::string& name, const std::string& text) const {
        fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::vector<std::string> BaseArgs(const fs::path& out) const {
        return {"--targets",  (Frames() / "targets.txt").string(),
                "--results",  (Frames() / "results-probed.txt").string(),
                "--settings", (Frames() / "settings-probed.ini").string(),
                "--out",      out.string()};
    }

    test::CTempFolder m_folder;
    const fs::path& m_dir = m_folder.Path();
};

TEST_F(RenderTool, GoldenScenesComeOutByteForByte) {
    const std::vector<GoldenScene> scenes = ReadGoldenScenes();
    ASSERT_EQ(scenes.size(), 3U);
    for (const GoldenScene& scene : scenes) {
        const fs::path out = m_dir / (scene.name + ".bmp");
        std::vector<std::string> args{
            "--targets",  (Frames() / "targets.txt").string(),  "--results", (Frames() / scene.results).string(),
            "--settings", (Frames() / scene.settings).string(), "--out",     out.string()};
        if (scene.current) args.insert(args.end(), {"--current", std::to_string(*scene.current)});
        const test::ToolRun outcome = Run(args);
        ASSERT_EQ(outcome.nExit, 0) << scene.name << ": " << outcome.err;
        EXPECT_NE(outcome.out.find("wrote"), std::string::npos);
        const std::string golden = test::ReadAll(Frames() / (scene.name + ".bmp"));
        ASSERT_FALSE(golden.empty()) << scene.name;
        EXPECT_TRUE(test::ReadAll(out) == golden) << scene.name << " differs from its golden frame";
    }
}

TEST_F(RenderTool, ImageMagickReadsTheWorkedExample) {
    // One type 1 target with 100 ms at (200, 150) under the default range:
    // ramp entry 32 there, entry 128 on the land far from it, black outside.
    const fs::path targets = Write("one.txt", "1\t192.0.2.1\tone.example\tinfo\t*\t200,150\tUSA\n");
    const fs::path results = Write("one-results.txt", "0 100\n");
    const fs::path settings = Write("legend.ini", "[Lumetra]\nShowRange=1\n");
    const fs::path out = m_dir / "one.bmp";
    const test::ToolRun outcome = Run({"--targets", targets.string(), "--results", results.string(), "--settings",
                                       settings.string(), "--out", out.string()});
    ASSERT_EQ(outcome.nExit, 0) << outcome.err;
    EXPECT_EQ(test::MagickPixel(out.string(), 200, 150), (std::array{255, 146, 0}));
    EXPECT_EQ(test::MagickPixel(out.string(), 420, 150), (std::array{0, 255, 53}));
    EXPECT_EQ(test::MagickPixel(out.string(), 0, 0), (std::array{0, 0, 0}));
    EXPECT_EQ(test::MagickPixel(out.string(), 510, 40), test::MagickPixel(out.string(), 511, 40));
    EXPECT_EQ(test::MagickPixel(out.string(), 510, 288), (std::array{105, 0, 255}));  // legend, slow end at the bottom
    EXPECT_EQ(test::MagickPixel(out.string(), 512, 161), (std::array{0, 255, 53}));   // entry 128 in the middle
    EXPECT_EQ(test::Identify(out.string(), "%w %h %z"),
              std::to_string(kFrameWidth) + " " + std::to_string(kFrameHeight) + " 8");
}

TEST_F(RenderTool, ALinkAtTheOutputIsReplacedAndWhatItPointsToKeepsItsBytes) {
    const fs::path victim = Write("victim.txt", "a file of the user's");
    const fs::path out = m_dir / "lumetra.bmp";
    fs::create_symlink(victim, out);
    const test::ToolRun outcome = Run(BaseArgs(out));
    ASSERT_EQ(outcome.nExit, 0) << outcome.err;
    EXPECT_EQ(test::ReadAll(victim), "a file of the user's");
    EXPECT_FALSE(fs::is_symlink(out));
    EXPECT_EQ(test::ReadAll(out).size(), 479934U) << "not a whole frame";
}

TEST_F(RenderTool, NumbersOfTheSettingsThatDoNotWorkAreClampedWithANote) {
    const fs::path settings = Write("bad.ini", "[Lumetra]\nPingTimeout=0\nMapMotion=9\nPingPeriod=-1\n");
    std::vector<std::string> args = BaseArgs(m_dir / "x.bmp");
    args[5] = settings.string();
    const test::ToolRun outcome = Run(args);
    EXPECT_EQ(outcome.nExit, 0) << outcome.err;
    EXPECT_EQ(outcome.err,
              "lumetra-map render: MapMotion=9 in '" + settings.string() + "' is above 3; using 3 instead\n" +
                  "lumetra-map render: PingPeriod=-1 in '" + settings.string() + "' is below 1; using 1000 instead\n" +
                  "lumetra-map render: PingTimeout=0 in '" + settings.string() + "' is below 1; using 100 instead\n");
}

TEST_F(RenderTool, MissingRequiredOptions) {
    const fs::path out = m_dir / "x.bmp";
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::string targets = (Frames() / "targets.txt").string();
    const std::string results = (Frames() / "results-probed.txt").string();
    for (const Case& c : {Case{{}, "missing --targets"}, Case{{"--targets", targets}, "missing --results"},
                          Case{{"--targets", targets, "--results", results}, "missing --out"},
                          Case{{"--results", results, "--out", out.string()}, "missing --targets"}}) {
        const test::ToolRun outcome = Run(c.args);
        EXPECT_EQ(outcome.nExit, 2) << c.message;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("usage: lumetra-map render"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(RenderTool, UnknownRepeatedAndValuelessOptions) {
    const fs::path out = m_dir / "x.bmp";
    std::vector<std::string> unknown = BaseArgs(out);
    unknown.push_back("--colour");
    unknown.push_back("red");
    test::ToolRun outcome = Run(unknown);
    EXPECT_EQ(outcome.nExit, 2);
    EXPECT_NE(outcome.err.find("unknown option '--colour'"), std::string::npos) << outcome.err;

    std::vector<std::string> twice = BaseArgs(out);
    twice.insert(twice.end(), {"--out", out.string()});
    outcome = Run(twice);
    EXPECT_EQ(outcome.nExit, 2);
    EXPECT_NE(outcome.err.find("--out is given twice"), std::string::npos) << outcome.err;

    std::vector<std::string> valueless = BaseArgs(out);
    valueless.push_back("--current");
    outcome = Run(valueless);
    EXPECT_EQ(outcome.nExit, 2);
    EXPECT_NE(outcome.err.find("--current needs a value"), std::string::npos) << outcome.err;

    std::vector<std::string> stray = BaseArgs(out);
    stray.push_back("extra.bmp");
    outcome = Run(stray);
    EXPECT_EQ(outcome.nExit, 2);
    EXPECT_NE(outcome.err.find("unknown option 'extra.bmp'"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(RenderTool, UnreadableFiles) {
    const fs::path out = m_dir / "x.bmp";
    const std::string missing = (m_dir / "no-such-file.txt").string();
    struct Case {
        std::size_t argument;  // index of the value to replace in BaseArgs
        const char* message;
    };
    for (const Case& c : {Case{1, "cannot read the target file"}, Case{3, "cannot read the results file"},
                          Case{5, "cannot read the settings file"}}) {
        std::vector<std::string> args = BaseArgs(out);
        args[c.argument] = missing;
        const test::ToolRun outcome = Run(args);
        EXPECT_EQ(outcome.nExit, 2) << c.message;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("no-such-file.txt"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(RenderTool, MalformedResultsNameTheirLine) {
    const fs::path out = m_dir / "x.bmp";
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : {Case{"0 10\n\n1 x\n", "line 3: RTT 'x' is not a 32-bit integer"},
                          Case{"# note\n-1 10\n", "line 2: INDEX '-1' is not a number from 0 up"},
                          Case{"0 10 10 10\n", "line 1: expected INDEX RTT [SECOND], found 4 fields"},
                          Case{"0\n", "line 1: expected INDEX RTT [SECOND], the round-trip time is missing"},
                          Case{"0 2147483648\n", "line 1: RTT '2147483648' is not a 32-bit integer"},
                          Case{"0 10 1.5\n", "line 1: SECOND '1.5' is not a 32-bit integer"},
                          Case{"0 1\n99 10\n", "line 2: INDEX 99 is out of range: the target file has 22 records"},
                          Case{"3 1\n3 2\n", "line 2: INDEX 3 already has a result on line 1"}}) {
        std::vector<std::string> args = BaseArgs(out);
        args[3] = Write("bad.txt", c.text).string();
        const test::ToolRun outcome = Run(args);
        EXPECT_EQ(outcome.nExit, 2) << c.text;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("bad.txt"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(RenderTool, CurrentMustNameARecord) {
    const fs::path out = m_dir / "x.bmp";
    for (const auto& [value, message] : std::vector<std::pair<std::string, std::string>>{
             {"22", "--current 22 is out of range: the target file has 22 records"},
             {"-1", "--current needs a target index from 0 up, not '-1'"},
             {"two", "--current needs a target index from 0 up, not 'two'"}}) {
        std::vector<std::string> args = BaseArgs(out);
        args.insert(args.end(), {"--current", value});
        const test::ToolRun outcome = Run(args);
        EXPECT_EQ(outcome.nExit, 2) << value;
        EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(RenderTool, OutputThatCannotBeCreated) {
    const test::ToolRun outcome = Run(BaseArgs(m_dir / "no-such-dir" / "x.bmp"));
    EXPECT_EQ(outcome.nExit, 2);
    EXPECT_NE(outcome.err.find("cannot create"), std::string::npos) << outcome.err;
}

TEST_F(RenderTool, ABrokenBitmapResourceEndsWithAMessageAndLeavesTheOldFrame) {
    const fs::path out = Write("x.bmp", "an older picture");
    const test::ToolRun outcome = Run(BaseArgs(out), LUMETRA_MAP_BROKEN_KERNEL_BIN);
    EXPECT_EQ(outcome.nSignal, 0) << outcome.err;
    EXPECT_EQ(outcome.nExit, 1) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("lumetra-map render: a bitmap resource is missing or broken: bad packed bitmap", 0), 0U)
        << outcome.err;
    EXPECT_EQ(test::Lines(outcome.err).size(), 1U) << outcome.err;
    EXPECT_EQ(test::ReadAll(out), "an older picture");
}

TEST_F(RenderTool, PathsWithBackslashesAreReadAndWrittenAsTheSaverReadsThem) {
    // The saver's paths are written for Windows; every file of the tool,
    // read or written, takes the same rule.
    fs::create_directories(m_dir / "in");
    for (const char* name : {"targets.txt", "results-probed.txt", "settings-probed.ini"}) {
        fs::copy_file(Frames() / name, m_dir / "in" / name);
    }
    const std::string in = (m_dir / "in").string() + "\\";
    const test::ToolRun outcome =
        Run({"--targets", in + "targets.txt", "--results", in + "results-probed.txt", "--settings",
             in + "settings-probed.ini", "--current", "7", "--out", in + "frame.bmp"});
    ASSERT_EQ(outcome.nExit, 0) << outcome.err;
    EXPECT_TRUE(test::ReadAll(m_dir / "in" / "frame.bmp") == test::ReadAll(Frames() / "probed.bmp"));
}

TEST_F(RenderTool, TargetsNotNamedHaveNoResult) {
    // Only record 13 has a result: with ShowData its label is the only one.
    const fs::path out = m_dir / "one.bmp";
    std::vector<std::string> args = BaseArgs(out);
    args[3] = Write("one.txt", "13 8\n").string();
    args[5] = Write("labels.ini", "[Lumetra]\nShowData=1\nDynamicRange=1\nShowRange=1\n").string();
    const test::ToolRun outcome = Run(args);
    ASSERT_EQ(outcome.nExit, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("range 8ms to 9ms"), std::string::npos) << outcome.out;
}

}  // namespace
}  // namespace lumetra
