// Runs the real `lumetra-map place` and `lumetra-map import` and checks what
// they print, what they write and how they exit. The parsing rules are the
// places library's (tests/places); here the command layer around them.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "targets/target_file.h"
#include "tests/places/bundled_file.h"
#include "tests/support/shell_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"

namespace lumetra {
namespace {

using test::BundledPosition;
using test::Lines;

// `lumetra-map COMMAND ARGS...`; its stdout and stderr pass through a folder
// of their own, so that a test sees every file that the tool leaves.
test::ToolRun Tool(const std::string& command, const std::vector<std::string>& args) {
    test::ToolCall call{.args = {command}};
    call.args.insert(call.args.end(), args.begin(), args.end());
    return test::RunTool(call, test::CTempFolder().Path());
}

TEST(LumetraMapPlace, PrintsThePositionOrSaysWhyThereIsNone) {
    const struct {
        std::vector<std::string> args;
        int exit;
        std::string out;
        std::string lastErr;  // the last line on stderr
    } cases[] = {
        {{"47.6553", "-122.3035"}, 0, BundledPosition("www.washington.edu"), ""},
        {{"+31.7705", "-106.5049"},
         0,
         BundledPosition("www.utep.edu"),
         "lumetra-map place: 31.7705, -106.5049: in the water at this scale; moved 1.0 pixels to land"},
        {{"21.3", "-157.8"}, 1, "", "lumetra-map place: 21.3, -157.8: outside the map of the lower 48"},
        {{"north", "-100"}, 2, "", "lumetra-map place: LAT is no number of degrees: \"north\""},
        {{"40"}, 2, "", "lumetra-map place: missing LON"},
    };
    for (const auto& c : cases) {
        const test::ToolRun run = Tool("place", c.args);
        EXPECT_EQ(run.nExit, c.exit) << c.args[0];
        EXPECT_EQ(run.out, c.out.empty() ? "" : c.out + "\n") << c.args[0];
        const std::vector<std::string> err = Lines(run.err);
        EXPECT_EQ(err.empty() ? "" : err.back(), c.lastErr) << c.args[0];
    }
}

// What the saver reads from a target file: host and position of each record.
std::vector<std::string> SaverReads(const std::string& path) {
    TargetList targets;
    std::string region;
    LoadTargetFile(path, targets, region);
    std::vector<std::string> read;
    for (const auto& t : targets)
        read.push_back(t->m_strHost + " " + std::to_string(t->m_nX) + "," + std::to_string(t->m_nY) + " " +
                       t->m_strRegion);
    return read;
}

// One page of the anchors API: in the US, in another country, without
// coordinates, outside the lower 48.
constexpr const char* kAnchors = R"({"count": 4, "results": [
  {"id": 11, "fqdn": "us-sea.anchors.example", "country": "US", "city": "Seattle",
   "geometry": {"type": "Point", "coordinates": [-122.3035, 47.6553]}},
  {"id": 12, "fqdn": "de-ber.anchors.example", "country": "DE", "geometry": {"coordinates": [13.4, 52.5]}},
  {"id": 13, "fqdn": "us-nyc.anchors.example", "country": "US"},
  {"id": 14, "fqdn": "us-hnl.anchors.example", "country": "US", "geometry": {"coordinates": [-157.8, 21.3]}}
]})";

TEST(LumetraMapImport, WritesTheRowsItCanPlaceAndNamesTheOthers) {
    const test::CTempFolder dir;
    const std::string csv = dir.Write("hosts.csv",
                                      "host,lat,lon,note\n"
                                      "www.washington.edu,47.6553,-122.3035,Seattle\n"
                                      ",40,-100,\n"
                                      "a.example,,-100,\n"
                                      "bad host,40,-100,\n"
                                      "b.example,21.3,-157.8,\n"
                                      "c.example,25.7215,-80.2793,\"Miami, FL\"\n");
    const std::string good = dir.Write("good.csv", "Host,Latitude,Longitude\nc.example,25.7215,-80.2793\n");
    const std::string anchors = dir.Write("anchors.json", kAnchors);
    const struct {
        std::vector<std::string> args;
        int exit;
        std::vector<std::string> err;
        std::vector<std::string> read;  // what the saver reads from the file written
    } cases[] = {
        {{"--csv", csv},
         1,
         {"3: no host", "4: no coordinates", "5: the host \"bad host\" is no valid host name or address",
          "6: b.example at 21.3, -157.8: outside the map of the lower 48",
          "lumetra-map import: 2 hosts placed, written to OUT, 4 rows left out"},
         {"www.washington.edu " + BundledPosition("www.washington.edu") + " USA",
          "c.example " + BundledPosition("www.miami.edu") + " USA"}},
        {{"--csv", good},
         0,
         {"lumetra-map import: 1 host placed, written to OUT"},
         {"c.example " + BundledPosition("www.miami.edu") + " USA"}},
        {{"--anchors", anchors},
         1,
         {"5: anchor 3 (id 13): no coordinates",
          "6: anchor 4 (id 14): us-hnl.anchors.example at 21.3, -157.8: outside the map of the lower 48",
          "lumetra-map import: 1 host placed, written to OUT, 2 rows left out, 1 anchor of other countries passed "
          "over"},
         {"us-sea.anchors.example " + BundledPosition("www.washington.edu") + " USA"}},
    };
    for (const auto& c : cases) {
        const std::string out = dir.File("out.txt");
        const test::ToolRun toStdout = Tool("import", c.args);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--out", out});
        const test::ToolRun toFile = Tool("import", args);

        std::vector<std::string> err = c.err;
        err.back().replace(err.back().find("OUT"), 3, out);
        EXPECT_EQ(toFile.nExit, c.exit) << c.args[1];
        EXPECT_EQ(Lines(toFile.err), err);
        EXPECT_EQ(toFile.out, "");
        EXPECT_EQ(SaverReads(out), c.read);
        EXPECT_EQ(toStdout.nExit, c.exit);
        EXPECT_EQ(toStdout.out, test::ReadAll(out)) << "standard output holds the same file";

        // A header that names the input, in comments: the saver drops no line.
        EXPECT_NE(Lines(toStdout.out)[0].find(c.args[1].substr(c.args[1].rfind('/') + 1)), std::string::npos);
        EXPECT_EQ(Tool("check", {out}).nExit, 0) << toStdout.out;
    }
}

TEST(LumetraMapImport, AnInputItCannotReadWritesNothing) {
    const test::CTempFolder dir;
    const std::string out = dir.Write("out.txt", "an older file");
    const std::string halfway = dir.Write("half.csv", "host,lat,lon\nwww.a.example,40,-100\n\"www.b.example,40,-100\n");
    const std::string missing = dir.File("missing.json");
    const std::string anchors = dir.Write("anchors.json", std::string(kAnchors).substr(0, 150));
    const struct {
        std::vector<std::string> args;
        std::string lastErr;
    } cases[] = {
        {{"--csv", halfway, "--out", out},
         "lumetra-map import: " + halfway + ":3: the text ends inside the quoted field that starts on line 3; " +
             "nothing written"},
        {{"--anchors", anchors, "--out", out}, "lumetra-map import: " + anchors + ":3: "},
        {{"--anchors", missing, "--out", out},
         "lumetra-map import: cannot read the RIPE Atlas anchors '" + missing + "': " + std::strerror(ENOENT)},
        {{"--out", out}, "lumetra-map import: give --csv FILE or --anchors FILE"},
        {{"--csv", dir.Write("ok.csv", "host,lat,lon\n"), "--out", dir.File("no/such/folder.txt")},
         "lumetra-map import: cannot write '" + dir.File("no/such/folder.txt") + "': " + std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        const test::ToolRun run = Tool("import", c.args);
        EXPECT_EQ(run.nExit, 2) << c.lastErr;
        EXPECT_EQ(run.out, "");
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(Lines(run.err).back().rfind(c.lastErr, 0), 0U) << run.err;
    }
    EXPECT_EQ(test::ReadAll(out), "an older file");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"anchors.json", "half.csv", "ok.csv", "out.txt"}))
        << "a file was left beside the output";
}

}  // namespace
}  // namespace lumetra
