#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/bmp_file.h"
#include "view/frame_size.h"

namespace lumetra::test {
namespace {

struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

// Splits the way the saver reads a line: leading blanks and tabs skipped,
// runs of tabs as one separator.
std::vector<std::string> SplitAtTabs(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : text) {
        if (c != '\t') {
            field += c;
        } else if (!field.empty()) {
            fields.push_back(field);
            field.clear();
        }
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

bool AllOf(const std::string& s, int (*accept)(int)) {
    for (unsigned char c : s) {
        if (accept(c) == 0) return false;
    }
    return !s.empty();
}

int IsHostChar(int c) {
    return std::islower(c) != 0 || std::isdigit(c) != 0 || c == '.' || c == '-' ? 1 : 0;
}

class BundledTargets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_map = std::make_unique<BmpFile>(BmpFile::Load("map_outline.bmp"));
        std::ifstream in(ResourcePath("lumetra.txt"), std::ios::binary);
        ASSERT_TRUE(in.good());
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            s_lines.push_back(line);
            const std::size_t start = line.find_first_not_of(" \t");
            if (start == std::string::npos || line[start] == ';') continue;
            s_records.push_back({number, SplitAtTabs(line.substr(start))});
        }
    }
    static void TearDownTestSuite() { s_map.reset(); }

    static bool IsWhite(int x, int y) { return s_map->At(x, y) == Rgb{255, 255, 255}; }
    // Land, or a border pixel with land on two opposite sides.
    static bool OnLand(int x, int y) {
        if (IsWhite(x, y)) return true;
        for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {1, 1}, {1, -1}}) {
            if (IsWhite(x + dx, y + dy) && IsWhite(x - dx, y - dy)) return true;
        }
        return false;
    }

    static std::unique_ptr<BmpFile> s_map;
    static std::vector<std::string> s_lines;
    static std::vector<Record> s_records;
};
std::unique_ptr<BmpFile> BundledTargets::s_map;
std::vector<std::string> BundledTargets::s_lines;
std::vector<Record> BundledTargets::s_records;

TEST_F(BundledTargets, StartsWithACommentThatExplainsTheFields) {
    ASSERT_FALSE(s_lines.empty());
    EXPECT_EQ(s_lines.front().front(), ';');
    std::string header;
    for (const std::string& line : s_lines) {
        if (line.empty() || line.front() != ';') break;
        header += line + "\n";
    }
    for (const char* word : {"tab", "type", "address", "host", "info", "note", "x,y", "region", "USA"}) {
        EXPECT_NE(header.find(word), std::string::npos) << word;
    }
}

TEST_F(BundledTargets, AtLeastFortyWellFormedRecordsOfTheRegionUsa) {
    EXPECT_GE(s_records.size(), 40U);
    std::set<std::string> hosts;
    for (const Record& r : s_records) {
        ASSERT_EQ(r.fields.size(), 7U) << "line " << r.line;
        EXPECT_TRUE(AllOf(r.fields[0], isdigit)) << "line " << r.line;
        const int type = std::stoi(r.fields[0]);
        EXPECT_TRUE(type >= 1 && type <= 7) << "line " << r.line;
        EXPECT_EQ(r.fields[6], "USA") << "line " << r.line;
        EXPECT_TRUE(AllOf(r.fields[2], IsHostChar) && r.fields[2].find('.') != std::string::npos)
            << "line " << r.line << ": " << r.fields[2];
        EXPECT_TRUE(hosts.insert(r.fields[2]).second) << "host listed twice: " << r.fields[2];
    }
}

// The saver looks every host up by name: an address field of letters only
// can never be read as a dotted address.
TEST_F(BundledTargets, AddressesAreWordsNeverFixedAddresses) {
    for (const Record& r : s_records) {
        ASSERT_GE(r.fields.size(), 2U);
        EXPECT_TRUE(AllOf(r.fields[1], isalpha)) << "line " << r.line << ": " << r.fields[1];
    }
}

TEST_F(BundledTargets, EveryPositionIsOnTheLandAndItsIconInTheFrame) {
    int quadrant[4] = {0, 0, 0, 0};
    for (const Record& r : s_records) {
        ASSERT_EQ(r.fields.size(), 7U);
        int x = -1;
        int y = -1;
        char comma = 0;
        std::istringstream position(r.fields[5]);
        ASSERT_TRUE(position >> x >> comma >> y && comma == ',') << "line " << r.line;
        ASSERT_TRUE(x >= 8 && x + 8 <= kFrameWidth && y >= 8 && y + 8 <= kFrameHeight) << "line " << r.line;
        EXPECT_TRUE(OnLand(x, y)) << "line " << r.line << " " << r.fields[2] << " at " << x << "," << y;
        ++quadrant[(x < 247 ? 0 : 1) + (y < 157 ? 0 : 2)];
    }
    for (int q = 0; q < 4; ++q) EXPECT_GE(quadrant[q], 5) << "quadrant " << q << " of the country";
}

}  // namespace
}  // namespace lumetra::test
