#include "targets/target_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "framework/native_path.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

using namespace std::string_literals;
using test::CTempFolder;

std::unique_ptr<PingTarget> Record(const std::string& host) {
    auto target = std::make_unique<PingTarget>();
    target->m_nType = 1;
    target->m_strHost = host;
    target->m_strRegion = "USA";
    return target;
}

std::vector<std::string> Hosts(const TargetList& targets) {
    std::vector<std::string> hosts;
    for (const auto& target : targets) hosts.push_back(target->m_strHost);
    return hosts;
}

void ExpectSameRecords(const TargetList& actual, const TargetList& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    auto a = actual.begin();
    for (auto e = expected.begin(); e != expected.end(); ++a, ++e) {
        const PingTarget& x = **a;
        const PingTarget& y = **e;
        EXPECT_EQ(x.m_nType, y.m_nType);
        EXPECT_EQ(x.m_dwAddress, y.m_dwAddress);
        EXPECT_EQ(x.m_strAddress, y.m_strAddress);
        EXPECT_EQ(x.m_strHost, y.m_strHost);
        EXPECT_EQ(x.m_strInfo, y.m_strInfo);
        EXPECT_EQ(x.m_strNote, y.m_strNote);
        EXPECT_EQ(x.m_nX, y.m_nX);
        EXPECT_EQ(x.m_nY, y.m_nY);
        EXPECT_EQ(x.m_strRegion, y.m_strRegion);
    }
}

// Every record the reader can ever produce has these properties.
void ExpectWellFormed(const PingTarget& target) {
    EXPECT_GE(target.m_nType, 1);
    EXPECT_LE(target.m_nType, 7);
    for (const std::string* field :
         {&target.m_strAddress, &target.m_strHost, &target.m_strInfo, &target.m_strNote, &target.m_strRegion}) {
        EXPECT_FALSE(field->empty());
        EXPECT_EQ(field->find_first_of("\t\n"s + '\0'), std::string::npos);
    }
    EXPECT_EQ(target.m_nRoundTripMs, -1);
    EXPECT_EQ(target.m_nSecondResult, -1);
}

const char kThreeTargets[] =
    "; three hosts\n"
    "3\t10.1.2.3\tone.example\tcampus\t*\t120,85\tUSA\n"
    "\n"
    "1\tbyname\ttwo.example\tinfo\tnote\t300,200\tusa\n"
    "  \t\n"
    "7\t192.168.0.1\tthree.example\tx\t*\t0,0\tUSA";

TEST(LoadTargetFile, ReadsTheBundledSampleInFileOrder) {
    TargetList targets;
    std::string region = "elsewhere";
    LoadTargetFile(LUMETRA_TEST_DATA "/targets/sample.txt", targets, region);
    EXPECT_EQ(region, "USA");
    EXPECT_EQ(Hosts(targets), (std::vector<std::string>{"sample.example", "host.example"}));
    for (const auto& target : targets) ExpectWellFormed(*target);
}

TEST(LoadTargetFile, SkipsCommentsAndBlankLinesAndKeepsOtherRegions) {
    CTempFolder dir;
    TargetList targets;
    std::string region;
    LoadTargetFile(dir.Write("t.txt", kThreeTargets), targets, region);
    EXPECT_EQ(Hosts(targets), (std::vector<std::string>{"one.example", "two.example", "three.example"}));
    EXPECT_EQ((*std::next(targets.begin()))->m_strRegion, "usa");
    EXPECT_EQ(targets.back()->m_dwAddress, 192U | 168U << 8 | 0U << 16 | 1U << 24);
}

TEST(LoadTargetFile, CrLfLineEndsGiveTheSameRecordsAsLf) {
    std::string crlf;
    for (const char c : std::string(kThreeTargets)) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    CTempFolder dir;
    TargetList fromLf;
    TargetList fromCrLf;
    TargetList fromCrLfWithFinalEnd;
    std::string region;
    LoadTargetFile(dir.Write("lf.txt", kThreeTargets), fromLf, region);
    LoadTargetFile(dir.Write("crlf.txt", crlf), fromCrLf, region);
    LoadTargetFile(dir.Write("crlf-end.txt", crlf + "\r\n"), fromCrLfWithFinalEnd, region);
    ASSERT_EQ(fromLf.size(), 3U);
    ExpectSameRecords(fromCrLf, fromLf);
    ExpectSameRecords(fromCrLfWithFinalEnd, fromLf);
    EXPECT_TRUE(IsOfRegion(*fromCrLf.front(), region));
}

TEST(LoadTargetFile, StripsExactlyOneCarriageReturnPerLine) {
    CTempFolder dir;
    TargetList targets;
    std::string region;
    LoadTargetFile(dir.Write("cr.txt", "1\ta\tb\tc\td\t1,2\tUSA\r\r\n2\ta\tb\tc\td\t1,2\tUSA\r"), targets, region);
    ASSERT_EQ(targets.size(), 2U);
    EXPECT_EQ(targets.front()->m_strRegion, "USA\r");
    EXPECT_FALSE(IsOfRegion(*targets.front(), region));
    EXPECT_EQ(targets.back()->m_strRegion, "USA");
}

TEST(LoadTargetFile, AppendsWithoutEmptyingTheList) {
    CTempFolder dir;
    TargetList targets;
    targets.push_back(Record("already.there"));
    std::string region;
    LoadTargetFile(dir.Write("t.txt", kThreeTargets), targets, region);
    EXPECT_EQ(Hosts(targets),
              (std::vector<std::string>{"already.there", "one.example", "two.example", "three.example"}));
}

TEST(LoadTargetFile, AMissingFileLeavesTheListAsItWasAndSetsTheRegion) {
    CTempFolder dir;
    TargetList targets;
    targets.push_back(Record("kept"));
    std::string region = "usa";
    LoadTargetFile((dir.Path() / "missing.txt").string(), targets, region);
    EXPECT_EQ(region, "USA");
    EXPECT_EQ(Hosts(targets), (std::vector<std::string>{"kept"}));
}

TEST(LoadTargetFile, AFileThatDisappearsBetweenTwoRuns) {
    CTempFolder dir;
    const std::string path = dir.Write("t.txt", kThreeTargets);
    TargetList first;
    std::string region;
    LoadTargetFile(path, first, region);
    ASSERT_EQ(first.size(), 3U);
    std::filesystem::remove(path);
    TargetList second;
    region = "other";
    LoadTargetFile(path, second, region);
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(region, "USA");
    // The records of the first run do not depend on the file.
    EXPECT_EQ(Hosts(first), (std::vector<std::string>{"one.example", "two.example", "three.example"}));
}

TEST(LoadTargetFile, AnEmptyFileAddsNothing) {
    CTempFolder dir;
    TargetList targets;
    std::string region;
    LoadTargetFile(dir.Write("empty.txt", ""), targets, region);
    EXPECT_TRUE(targets.empty());
    EXPECT_EQ(region, "USA");
}

#ifndef _WIN32
// A FIFO that no one writes to: opened for reading the usual way, it would
// wait for a writer for ever.
TEST(LoadTargetFile, AFifoIsNotWaitedForAndAddsNothing) {
    CTempFolder dir;
    const std::filesystem::path fifo = dir.Path() / "targets.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    TargetList targets;
    std::string region;
    LoadTargetFile(fifo.string(), targets, region);
    EXPECT_TRUE(targets.empty());
}
#endif

TEST(LoadTargetFile, ABackslashPathOpensTheFileInTheCurrentFolder) {
    CTempFolder dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    dir.Write("lumetra.txt", kThreeTargets);
    dir.Write("sub/inner.txt", "5\ta\tinner.example\tc\td\t1,2\tUSA\n");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    TargetList targets;
    std::string region;
    LoadTargetFile(".\\lumetra.txt", targets, region);
    LoadTargetFile("sub\\inner.txt", targets, region);
    std::filesystem::current_path(previous);
    EXPECT_EQ(Hosts(targets),
              (std::vector<std::string>{"one.example", "two.example", "three.example", "inner.example"}));
}

TEST(LoadTargetFile, ReadsAPathWithEightBitCharacters) {
    CTempFolder dir;
    const std::string path = (dir.Path() / "").string() + "caf\xE9.txt";
    {
        std::ofstream out(NativePath(path), std::ios::binary);
        out << "4\ta\tcafe.example\tc\td\t1,2\tUSA\n";
    }
    TargetList targets;
    std::string region;
    LoadTargetFile(path, targets, region);
    EXPECT_EQ(Hosts(targets), (std::vector<std::string>{"cafe.example"}));
}

TEST(LoadTargetFile, AHundredMegabyteLineIsReadWhole) {
    constexpr std::size_t kHuge = 100U << 20;
    CTempFolder dir;
    const std::filesystem::path path = dir.Path() / "huge.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "2\t10.0.0.1\thuge.example\t";
        const std::string chunk(1U << 20, 'x');
        for (std::size_t written = 0; written < kHuge; written += chunk.size()) out << chunk;
        out << "END\t*\t5,6\tUSA\n4\ta\tafter.example\tc\td\t1,2\tUSA\n";
    }
    TargetList targets;
    std::string region;
    LoadTargetFile(path.string(), targets, region);
    std::filesystem::remove(path);
    ASSERT_EQ(targets.size(), 2U);
    const PingTarget& huge = *targets.front();
    EXPECT_EQ(huge.m_strHost, "huge.example");
    ASSERT_EQ(huge.m_strInfo.size(), kHuge + 3);
    EXPECT_EQ(huge.m_strInfo.find_first_not_of('x'), kHuge);
    EXPECT_EQ(huge.m_nX, 5);
    EXPECT_EQ(huge.m_strRegion, "USA");
    EXPECT_EQ(targets.back()->m_strHost, "after.example");
}

TEST(LoadTargetFile, BinaryGarbageGivesOnlyWellFormedRecords) {
    // Random bytes biased toward the characters the reader cares about.
    std::mt19937 random(20240607);
    const std::string special = "\t\t\t\n\r\0;.,-+ 0123456789"s;
    std::string garbage;
    for (int i = 0; i < (1 << 20); ++i) {
        const auto r = random();
        garbage += r % 3 == 0 ? special[(r >> 8) % special.size()] : static_cast<char>(r >> 16);
    }
    // Valid lines scattered in the garbage must all come through.
    std::string text;
    int planted = 0;
    for (std::size_t pos = 0; pos < garbage.size(); pos += 4096) {
        text += garbage.substr(pos, 4096);
        text += "\n3\t1.2.3.4\tplanted" + std::to_string(planted++) + "\tc\td\t1,2\tUSA\n";
    }
    CTempFolder dir;
    TargetList targets;
    std::string region;
    LoadTargetFile(dir.Write("garbage.bin", text), targets, region);
    int found = 0;
    for (const auto& target : targets) {
        ExpectWellFormed(*target);
        if (target->m_strHost == "planted" + std::to_string(found)) ++found;
    }
    EXPECT_EQ(found, planted);
}

TEST(ReadTargetFile, NumbersEveryLineAndSaysWhatBecameOfIt) {
    CTempFolder dir;
    const std::string path = dir.Write("mixed.txt",
                                       "; comment\n"
                                       "3\t10.1.2.3\thost\tinfo\t*\t120,85\tUSA\n"
                                       "3\t10.1.2.3\thost\n"
                                       "\r\n"
                                       "3\t10.1.2.3\thost\tinfo\t*\t120 ,85\tUSA\r\n"
                                       "3\t10.1.2.3\thost\t\t*\t120,85\tUSA");
    std::vector<std::pair<std::size_t, LineStatus>> seen;
    const std::error_code error = ReadTargetFile(
        path, [&seen](std::size_t number, ParsedLine parsed) { seen.emplace_back(number, parsed.status); });
    EXPECT_FALSE(error) << error.message();
    const std::vector<std::pair<std::size_t, LineStatus>> expected = {
        {1, LineStatus::kIgnored}, {2, LineStatus::kAccepted},    {3, LineStatus::kTooFewFields},
        {4, LineStatus::kIgnored}, {5, LineStatus::kBadPosition}, {6, LineStatus::kBadPosition}};
    EXPECT_EQ(seen, expected);
}

TEST(ReadTargetFile, ReportsTheSystemsReasonForAMissingFile) {
    CTempFolder dir;
    bool called = false;
    const std::error_code error =
        ReadTargetFile((dir.Path() / "missing.txt").string(), [&called](std::size_t, ParsedLine) { called = true; });
    EXPECT_EQ(error, std::errc::no_such_file_or_directory) << error.message();
    EXPECT_FALSE(called);
}

TEST(ReadTargetFile, ReportsAFolderAsUnreadable) {
    CTempFolder dir;
    bool called = false;
    const std::error_code error =
        ReadTargetFile(dir.Path().string(), [&called](std::size_t, ParsedLine) { called = true; });
    EXPECT_TRUE(error);
    EXPECT_FALSE(called);
}

TEST(FreeTargetList, EmptiesTheListAndCanRunTwice) {
    CTempFolder dir;
    TargetList targets;
    std::string region;
    LoadTargetFile(dir.Write("t.txt", kThreeTargets), targets, region);
    ASSERT_EQ(targets.size(), 3U);
    FreeTargetList(targets);
    EXPECT_TRUE(targets.empty());
    FreeTargetList(targets);
    EXPECT_TRUE(targets.empty());
    // The emptied list takes a new file as before.
    LoadTargetFile(dir.Write("t.txt", kThreeTargets), targets, region);
    EXPECT_EQ(targets.size(), 3U);
}

}  // namespace
}  // namespace lumetra
