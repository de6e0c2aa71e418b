#include "targets/target_line.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumetra {
namespace {

using namespace std::string_literals;

// The seven fields of a well-formed line.
std::vector<std::string> WorkedFields() {
    return {"3", "10.1.2.3", "host.example", "campus", "*", "120,85", "USA"};
}

std::string Join(const std::vector<std::string>& fields, const std::string& separator = "\t") {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i > 0 ? separator : "") + fields[i];
    return line;
}

std::vector<std::string> With(std::size_t index, const std::string& value) {
    std::vector<std::string> fields = WorkedFields();
    fields[index] = value;
    return fields;
}

// A copy of the accepted record, so it outlives the parse result.
PingTarget Accepted(const ParsedLine& parsed) {
    EXPECT_EQ(parsed.status, LineStatus::kAccepted);
    if (!parsed.target) throw std::runtime_error("line not accepted");
    return *parsed.target;
}

void ExpectSameRecord(const PingTarget& actual, const PingTarget& expected) {
    EXPECT_EQ(actual.m_nType, expected.m_nType);
    EXPECT_EQ(actual.m_dwAddress, expected.m_dwAddress);
    EXPECT_EQ(actual.m_strAddress, expected.m_strAddress);
    EXPECT_EQ(actual.m_strHost, expected.m_strHost);
    EXPECT_EQ(actual.m_strInfo, expected.m_strInfo);
    EXPECT_EQ(actual.m_strNote, expected.m_strNote);
    EXPECT_EQ(actual.m_nX, expected.m_nX);
    EXPECT_EQ(actual.m_nY, expected.m_nY);
    EXPECT_EQ(actual.m_strRegion, expected.m_strRegion);
    EXPECT_EQ(actual.m_nRoundTripMs, expected.m_nRoundTripMs);
    EXPECT_EQ(actual.m_nSecondResult, expected.m_nSecondResult);
}

TEST(ParseTargetLine, TheWorkedLine) {
    const ParsedLine parsed = ParseTargetLine(Join(WorkedFields()));
    const PingTarget& target = Accepted(parsed);
    EXPECT_EQ(target.m_nType, 3);
    std::array<unsigned char, 4> bytes{};
    std::memcpy(bytes.data(), &target.m_dwAddress, bytes.size());
    if constexpr (std::endian::native == std::endian::little) {
        EXPECT_EQ(bytes, (std::array<unsigned char, 4>{10, 1, 2, 3}));  // memory order
    }
    EXPECT_EQ(target.m_dwAddress, 10U + 1U * 256 + 2U * 65536 + 3U * 16777216);
    EXPECT_EQ(target.m_strAddress, "10.1.2.3");
    EXPECT_EQ(target.m_strHost, "host.example");
    EXPECT_EQ(target.m_strInfo, "campus");
    EXPECT_EQ(target.m_strNote, "*");
    EXPECT_EQ(target.m_nX, 120);
    EXPECT_EQ(target.m_nY, 85);
    EXPECT_EQ(target.m_strRegion, "USA");
    EXPECT_TRUE(IsOfRegion(target, kRegionUsa));
    EXPECT_EQ(target.m_nRoundTripMs, -1);
    EXPECT_EQ(target.m_nSecondResult, -1);
    EXPECT_FALSE(target.HasResult());
    EXPECT_EQ(parsed.nFields, 7);
    EXPECT_EQ(DropReason(parsed), "");
}

TEST(ParseTargetLine, RunsOfTabsAreOneSeparator) {
    const std::vector<std::string> fields = WorkedFields();
    const ParsedLine reference = ParseTargetLine(Join(fields));
    for (std::size_t gap = 0; gap + 1 < fields.size(); ++gap) {
        std::string line;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) line += i == gap + 1 ? "\t\t" : "\t";
            line += fields[i];
        }
        SCOPED_TRACE(line);
        ExpectSameRecord(Accepted(ParseTargetLine(line)), *reference.target);
    }
    ExpectSameRecord(Accepted(ParseTargetLine(Join(WorkedFields(), "\t\t\t\t"))), *reference.target);
}

TEST(ParseTargetLine, LeadingAndTrailingTabsAndBlanksGiveNoField) {
    const ParsedLine reference = ParseTargetLine(Join(WorkedFields()));
    ExpectSameRecord(Accepted(ParseTargetLine("\t\t" + Join(WorkedFields()) + "\t\t")), *reference.target);
    ExpectSameRecord(Accepted(ParseTargetLine("  \t \t" + Join(WorkedFields()))), *reference.target);
}

TEST(ParseTargetLine, AnEmptyFourthFieldShiftsTheRestAndDropsTheLine) {
    const ParsedLine parsed = ParseTargetLine(Join(With(3, "")));
    EXPECT_EQ(parsed.status, LineStatus::kBadPosition);  // "USA" stands where the position should
    EXPECT_EQ(parsed.target, nullptr);
    EXPECT_EQ(DropReason(parsed), "position does not read as x,y");
}

TEST(ParseTargetLine, TextAfterTheSeventhFieldIsIgnored) {
    const PingTarget& target = Accepted(ParseTargetLine(Join(WorkedFields()) + "\textra\t9,9\tmore"));
    EXPECT_EQ(target.m_strRegion, "USA");
}

TEST(ParseTargetLine, TypesOutOfRangeBecomeSix) {
    for (const char* type : {"0", "8", "-2", "x", "-", "+", "99999999999", "2147483648"}) {
        EXPECT_EQ(Accepted(ParseTargetLine(Join(With(0, type)))).m_nType, 6) << type;
    }
    EXPECT_EQ(Accepted(ParseTargetLine(Join(With(0, "7abc")))).m_nType, 7);
    EXPECT_EQ(Accepted(ParseTargetLine(Join(With(0, "1")))).m_nType, 1);
    EXPECT_EQ(Accepted(ParseTargetLine(Join(With(0, "+5")))).m_nType, 5);
    // 2^32 + 2 keeps its low bits: 2.
    EXPECT_EQ(Accepted(ParseTargetLine(Join(With(0, "4294967298")))).m_nType, 2);
}

TEST(ParseTargetLine, BlanksBeforeTheTypeAreSkipped) {
    EXPECT_EQ(Accepted(ParseTargetLine("   " + Join(With(0, "4")))).m_nType, 4);
    EXPECT_EQ(Accepted(ParseTargetLine(" \t " + Join(With(0, "4")))).m_nType, 4);
    // Only blanks and tabs come before the fields; other white space is
    // part of the first field, which atoi skips.
    EXPECT_EQ(Accepted(ParseTargetLine(Join(With(0, "\v\f2")))).m_nType, 2);
}

TEST(ParseTargetLine, AddressesThatAreNotFourDottedNumbersGiveZero) {
    for (const char* address : {"byname", "10.1.2", "host.example.com", "0.0.0.0", "10 .1.2.3"}) {
        const PingTarget& target = Accepted(ParseTargetLine(Join(With(1, address))));
        EXPECT_EQ(target.m_dwAddress, 0U) << address;
        EXPECT_EQ(target.m_strAddress, address);
    }
}

TEST(ParseTargetLine, AddressTextIsKeptAsWrittenWhileItsNumbersArePacked) {
    const PingTarget& letters = Accepted(ParseTargetLine(Join(With(1, "192.168.7.9zz"))));
    EXPECT_EQ(letters.m_dwAddress, 192U | 168U << 8 | 7U << 16 | 9U << 24);
    EXPECT_EQ(letters.m_strAddress, "192.168.7.9zz");
    const PingTarget& wide = Accepted(ParseTargetLine(Join(With(1, "300.-1.2.3"))));
    EXPECT_EQ(wide.m_dwAddress, 44U | 255U << 8 | 2U << 16 | 3U << 24);
}

TEST(ParseTargetLine, BlankEmptyAndCommentLinesAreIgnored) {
    for (const std::string line : {"", " ", "\t", " \t \t  ", "; a comment", "  \t;3\t1.2.3.4\th\ti\tn\t1,2\tUSA"}) {
        const ParsedLine parsed = ParseTargetLine(line);
        EXPECT_EQ(parsed.status, LineStatus::kIgnored) << '"' << line << '"';
        EXPECT_EQ(parsed.target, nullptr);
        EXPECT_EQ(DropReason(parsed), "");
    }
}

TEST(ParseTargetLine, ASemicolonElsewhereIsText) {
    const PingTarget& target = Accepted(ParseTargetLine(Join(With(1, ";x"))));
    EXPECT_EQ(target.m_strAddress, ";x");
    EXPECT_EQ(Accepted(ParseTargetLine(Join(With(4, "a;b")))).m_strNote, "a;b");
}

TEST(ParseTargetLine, TooFewFieldsAreCountedAndReported) {
    const std::vector<std::string> fields = WorkedFields();
    for (std::size_t count = 1; count < fields.size(); ++count) {
        const std::vector<std::string> some(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(count));
        const ParsedLine parsed = ParseTargetLine(Join(some));
        EXPECT_EQ(parsed.status, LineStatus::kTooFewFields) << count;
        EXPECT_EQ(parsed.nFields, static_cast<int>(count));
        EXPECT_EQ(DropReason(parsed), "too few fields (" + std::to_string(count) + " of 7)");
    }
}

TEST(ParseTargetLine, PositionsThatDoNotReadAsTwoNumbersDropTheLine) {
    for (const char* position : {"120 ,85", "120", "120;85", "x,y", ",85"}) {
        EXPECT_EQ(ParseTargetLine(Join(With(5, position))).status, LineStatus::kBadPosition) << position;
    }
    // Six fields are dropped for a bad position before the seventh is missed.
    const std::vector<std::string> six = {"3", "10.1.2.3", "host", "info", "*", "nowhere"};
    EXPECT_EQ(ParseTargetLine(Join(six)).status, LineStatus::kBadPosition);
}

TEST(ParseTargetLine, AnyPairOfIntegersIsAPosition) {
    const PingTarget& blank = Accepted(ParseTargetLine(Join(With(5, "120, 85"))));
    EXPECT_EQ(blank.m_nX, 120);
    EXPECT_EQ(blank.m_nY, 85);
    const PingTarget& far = Accepted(ParseTargetLine(Join(With(5, "-70000,+2147483647 and more"))));
    EXPECT_EQ(far.m_nX, -70000);
    EXPECT_EQ(far.m_nY, 2147483647);
}

TEST(ParseTargetLine, RegionIsKeptAsWritten) {
    const PingTarget& lower = Accepted(ParseTargetLine(Join(With(6, "usa"))));
    EXPECT_EQ(lower.m_strRegion, "usa");
    EXPECT_FALSE(IsOfRegion(lower, kRegionUsa));
    const PingTarget& blank = Accepted(ParseTargetLine(Join(With(6, "USA "))));
    EXPECT_EQ(blank.m_strRegion, "USA ");
    EXPECT_FALSE(IsOfRegion(blank, kRegionUsa));
}

TEST(ParseTargetLine, StringsKeepEightBitBytesAndInnerCarriageReturns) {
    const std::string host = "h\xE9\xFF\x01st\r";
    const PingTarget& target = Accepted(ParseTargetLine(Join(With(2, host))));
    EXPECT_EQ(target.m_strHost, host);
}

TEST(ParseTargetLine, TheLineEndsAtItsFirstNulByte) {
    const PingTarget& cut = Accepted(ParseTargetLine(Join(WorkedFields()) + "\0\tmore"s));
    EXPECT_EQ(cut.m_strRegion, "USA");
    const PingTarget& region = Accepted(ParseTargetLine(Join(With(6, "US\0A"s))));
    EXPECT_EQ(region.m_strRegion, "US");
    const ParsedLine early = ParseTargetLine(Join(With(2, "ho\0st"s)));
    EXPECT_EQ(early.status, LineStatus::kTooFewFields);
    EXPECT_EQ(early.nFields, 3);
    EXPECT_EQ(ParseTargetLine("\0"s + Join(WorkedFields())).status, LineStatus::kIgnored);
}

TEST(SplitTabFields, BehavesLikeStrtokWithATab) {
    std::array<std::string_view, 4> fields;
    ASSERT_EQ(SplitTabFields("\t\ta\t\tb c\t", fields), 2U);
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "b c");
    EXPECT_EQ(SplitTabFields("", fields), 0U);
    EXPECT_EQ(SplitTabFields("\t\t\t", fields), 0U);
    ASSERT_EQ(SplitTabFields("1\t2\t3\t4\t5\t6", fields), 4U);  // stops when full
    EXPECT_EQ(fields[3], "4");
}

}  // namespace
}  // namespace lumetra
