#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>

#include "places/host_import.h"
#include "tests/places/bundled_file.h"

namespace lumetra {
namespace {

// One page of the anchors API: in the US, outside the lower 48, in another
// country, without coordinates, without a usable name.
constexpr const char* kAnchors = R"([
  {"id": 1001, "fqdn": "us-sea-as1.anchors.example.net", "country": "US", "city": "Seattle",
   "company": "Example Networks", "geometry": {"type": "Point", "coordinates": [-122.3035, 47.6553]}},
  {"id": 1002, "fqdn": "us-hnl-as2.anchors.example.net", "country": "US",
   "geometry": {"type": "Point", "coordinates": [-157.8, 21.3]}},
  {"id": 1003, "fqdn": "de-ber-as3.anchors.example.net", "country": "DE",
   "geometry": {"type": "Point", "coordinates": [13.4, 52.5]}},
  {"id": 1004, "fqdn": "us-nyc-as4.anchors.example.net", "country": "US", "geometry": null},
  {"id": 1005, "fqdn": "not a name", "country": "US", "geometry": {"coordinates": [-80.2793, 25.7215]}},
  {"id": 1006, "fqdn": "us-mia-as6.anchors.example.net", "country": "US", "city": "",
   "geometry": {"coordinates": [-80.2793, 25.7215]}},
  ["not", "an", "anchor"]
])";

TEST(ImportAnchorsJson, KeepsTheAnchorsOfTheLower48) {
    const std::string list = kAnchors;
    for (const std::string& json : {list, R"({"count": 7, "next": null, "results": )" + list + "}"}) {
        const ImportOutcome outcome = ImportAnchorsJson(json, CLandMask::Outline());
        ASSERT_TRUE(std::holds_alternative<ImportResult>(outcome)) << std::get<ImportError>(outcome).message;
        const ImportResult& result = std::get<ImportResult>(outcome);
        EXPECT_EQ(result.lines, (std::vector<std::string>{
                                    "1\tname\tus-sea-as1.anchors.example.net\tExample Networks\tSeattle\t" +
                                        test::BundledPosition("www.washington.edu") + "\tUSA",
                                    "1\tname\tus-mia-as6.anchors.example.net\tRIPE Atlas anchor\t*\t" +
                                        test::BundledPosition("www.miami.edu") + "\tUSA",
                                }));
        EXPECT_EQ(result.nSkipped, 1U);
        const std::vector<std::pair<std::size_t, std::string>> problems = {
            {4, "anchor 2 (id 1002): us-hnl-as2.anchors.example.net at 21.3, -157.8: outside the map of the lower 48"},
            {8, "anchor 4 (id 1004): no coordinates"},
            {9, "anchor 5 (id 1005): the host \"not a name\" is no valid host name or address"},
            {12, "anchor 7: not an object"},
        };
        ASSERT_EQ(result.problems.size(), problems.size());
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_EQ(result.problems[i].nLine, problems[i].first);
            EXPECT_EQ(result.problems[i].message, problems[i].second);
        }
    }
}

TEST(ImportAnchorsJson, ATextThatIsNoListOfAnchors) {
    const std::string list = kAnchors;
    const std::string half = list.substr(0, list.size() / 2);
    const struct {
        std::string json;
        std::size_t nLine;
        std::string message;
    } cases[] = {
        {half, 1 + static_cast<std::size_t>(std::count(half.begin(), half.end(), '\n')),
         "the JSON text ends before its value is complete"},
        {R"({"results": {}})", 1, "expected a list of anchors, or an object with a \"results\" list"},
        {"", 1, "the JSON text ends before its value is complete (column 1)"},
    };
    for (const auto& c : cases) {
        const ImportOutcome outcome = ImportAnchorsJson(c.json, CLandMask::Outline());
        ASSERT_TRUE(std::holds_alternative<ImportError>(outcome)) << c.json;
        EXPECT_EQ(std::get<ImportError>(outcome).nLine, c.nLine);
        EXPECT_EQ(std::get<ImportError>(outcome).message.rfind(c.message, 0), 0U)
            << std::get<ImportError>(outcome).message;
    }
}

}  // namespace
}  // namespace lumetra
