// Hand-made ini files with the reads they must give and the file that a
// series of writes must leave. Each case NAME is in tests/data/ini:
//   NAME.ini        the file as found
//   NAME.expect     steps, one per line, tab-separated, run in order:
//                   int     SECTION KEY DEFAULT EXPECTED
//                   string  SECTION KEY DEFAULT LIMIT EXPECTED
//                   set     SECTION KEY VALUE
//   NAME.after.ini  the file after every step
#include <gtest/gtest.h>

#include <sstream>

#include "settings/private_profile.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

std::filesystem::path IniData(const std::string& file) {
    return std::filesystem::path(LUMETRA_TEST_DATA) / "ini" / file;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', begin);
        fields.push_back(line.substr(begin, tab - begin));
        if (tab == std::string::npos) return fields;
        begin = tab + 1;
    }
}

// A file without any line end gets the platform's line end for new lines.
std::string WithNativeLineEnds(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += kNativeNewLine;
        } else {
            out += c;
        }
    }
    return out;
}

void RunStep(const std::vector<std::string>& f, const std::string& path) {
    ASSERT_GE(f.size(), 4U);
    const std::string& verb = f[0];
    if (verb == "int") {
        ASSERT_EQ(f.size(), 5U);
        EXPECT_EQ(ReadProfileInt(f[1], f[2], std::stoi(f[3]), path), std::stoi(f[4]));
    } else if (verb == "string") {
        ASSERT_EQ(f.size(), 6U);
        EXPECT_EQ(ReadProfileString(f[1], f[2], f[3], std::stoul(f[4]), path), f[5]);
    } else if (verb == "set") {
        ASSERT_EQ(f.size(), 4U);
        EXPECT_TRUE(WriteProfileValue(f[1], f[2], f[3], path));
    } else {
        FAIL() << "unknown step " << verb;
    }
}

class IniGolden : public testing::TestWithParam<const char*> {};

TEST_P(IniGolden, ReadsAndRewriteMatchTheExpectedFiles) {
    const std::string name = GetParam();
    const std::string input = test::ReadAll(IniData(name + ".ini"));
    const std::string expectedAfter = test::ReadAll(IniData(name + ".after.ini"));
    ASSERT_FALSE(expectedAfter.empty()) << "missing " << name << ".after.ini";

    test::CTempFolder folder;
    const std::string path = folder.File("case.ini");
    test::WriteAll(path, input);

    std::istringstream steps(test::ReadAll(IniData(name + ".expect")));
    int count = 0;
    for (std::string line; std::getline(steps, line); ++count) {
        SCOPED_TRACE(name + ".expect line " + std::to_string(count + 1));
        RunStep(SplitTabs(line), path);
    }
    EXPECT_GE(count, 3);
    const bool hasLineEnd = input.find('\n') != std::string::npos;
    EXPECT_EQ(test::ReadAll(path), hasLineEnd ? expectedAfter : WithNativeLineEnds(expectedAfter));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"case.ini"});  // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(Files, IniGolden,
                         testing::Values("bom_crlf", "bom_only", "duplicates", "empty", "garbage", "garbage_section",
                                         "keys_without_equals", "long_lines", "no_trailing_newline", "odd_sections",
                                         "other_sections"));

}  // namespace
}  // namespace lumetra
