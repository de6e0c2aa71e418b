#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "places/host_import.h"
#include "tests/places/bundled_file.h"

namespace lumetra {
namespace {

using test::BundledPosition;

ImportResult Imported(const std::string& csv) {
    ImportOutcome outcome = ImportCsvHosts(csv, CLandMask::Outline());
    if (const auto* error = std::get_if<ImportError>(&outcome)) {
        ADD_FAILURE() << "line " << error->nLine << ": " << error->message;
        return {};
    }
    return std::get<ImportResult>(std::move(outcome));
}

// The generator's table of bundled hosts is in the import's form: the C++
// import must give the bundled file's lines, positions included.
TEST(ImportCsvHosts, TheBundledTableGivesTheBundledFile) {
    const ImportResult result = Imported(test::SourceFile("tools/resgen/bundled-hosts.csv"));
    EXPECT_TRUE(result.problems.empty());
    EXPECT_EQ(result.lines, test::BundledTargetLines());
}

TEST(ImportCsvHosts, GoodRowsAndEachKindOfBadRow) {
    const std::vector<std::string> rows = {
        "Host, Latitude ,LONGITUDE,type,note,address",                // 1: any case, blanks around names
        "www.washington.edu,47.6553,-122.3035,,,",                    // 2
        ",47.6553,-122.3035,,,",                                      // 3
        "a.example,,-100,,,",                                         // 4
        "a.example,north,-100,,,",                                    // 5
        "a.example,21.3,-157.8,,,",                                   // 6
        "bad host,40,-100,,,",                                        // 7
        "a.example,40,-100,9,,",                                      // 8
        "a.example,40,-100,,,10.0.0.256",                             // 9
        "a.example,40,-100,,\"tab\there\",",                          // 10
        "\"two",                                                      // 11: a record over two lines
        "lines.example\",40,-100,,,",                                 // 12
        "WWW.Washington.edu,47.6553,-122.3035,,,",                    // 13
        "a.example,40,-100",                                          // 14
        "",                                                           // 15
        " , , , , , ",                                                // 16
        "192.0.2.7,+32.8801,-117.2340,7,\"San Diego, \"\"CA\"\"\",",  // 17
        "host.example, 25.7215 , -80.2793 ,2,,198.51.100.1",          // 18
    };
    std::vector<ImportProblem> problems = {
        {3, "no host"},
        {4, "no coordinates"},
        {5, "the latitude \"north\" is not a number"},
        {6, "a.example at 21.3, -157.8: outside the map of the lower 48"},
        {7, "the host \"bad host\" is no valid host name or address"},
        {8, "the type \"9\" is not 1 to 7"},
        {9, "the address \"10.0.0.256\" is no dotted IPv4 address"},
        {10, "the note \"tab\\x09here\" holds a tab or another control character"},
        {11, "the host \"two\\x0alines.example\" is no valid host name or address"},  // LF line ends
        {13, "WWW.Washington.edu is listed already on line 2"},
        {14, "3 fields where the header has 6"},
    };
    const std::vector<std::string> lines = {
        "1\tname\twww.washington.edu\t47.6553,-122.3035\t*\t" + BundledPosition("www.washington.edu") + "\tUSA",
        "7\t192.0.2.7\t192.0.2.7\t+32.8801,-117.2340\tSan Diego, \"CA\"\t" + BundledPosition("www.ucsd.edu") + "\tUSA",
        "2\t198.51.100.1\thost.example\t25.7215,-80.2793\t*\t" + BundledPosition("www.miami.edu") + "\tUSA",
    };
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        std::string csv;
        for (const std::string& row : rows) csv += row + lineEnd;
        if (lineEnd == "\r\n")
            problems[8].message = "the host \"two\\x0d\\x0alines.example\" is no valid host name or address";
        const ImportResult result = Imported(csv);
        EXPECT_EQ(result.lines, lines);
        ASSERT_EQ(result.problems.size(), problems.size());
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_EQ(result.problems[i].nLine, problems[i].nLine);
            EXPECT_EQ(result.problems[i].message, problems[i].message);
        }
    }
}

TEST(ImportCsvHosts, AFileThatCannotBeReadAsAWhole) {
    const struct {
        std::string csv;
        ImportError error;
    } cases[] = {
        {"", {1, "no header row"}},
        {"\n\nhost,lat\nx,1,2\n", {3, "the header names no lon or longitude column"}},
        {"host,lat,Latitude,lon\n", {1, "the header names the column latitude a second time"}},
        {"host,lat,lon\nwww.a.example,40,-100\n\"www.b.example,40,-100\n",
         {3, "the text ends inside the quoted field that starts on line 3"}},
        {"host,lat,lon\n\"www.a.example\"x,40,-100\n", {2, "text after the closing quote of a field"}},
    };
    for (const auto& c : cases) {
        const ImportOutcome outcome = ImportCsvHosts(c.csv, CLandMask::Outline());
        ASSERT_TRUE(std::holds_alternative<ImportError>(outcome)) << c.csv;
        EXPECT_EQ(std::get<ImportError>(outcome).nLine, c.error.nLine) << c.csv;
        EXPECT_EQ(std::get<ImportError>(outcome).message, c.error.message) << c.csv;
    }
}

}  // namespace
}  // namespace lumetra
