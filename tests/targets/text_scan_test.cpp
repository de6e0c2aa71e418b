#include "targets/text_scan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace lumetra {
namespace {

// Packs a.b.c.d as the echo interfaces take it: a in the lowest byte.
std::uint32_t Packed(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return a | b << 8 | c << 16 | d << 24;
}

std::optional<int> Scan(const std::string& text, std::size_t& pos) {
    return ScanDecimal(text, pos);
}

TEST(ScanDecimal, ReadsSignedNumbersAndStopsAfterTheLastDigit) {
    std::size_t pos = 0;
    EXPECT_EQ(Scan("42abc", pos), 42);
    EXPECT_EQ(pos, 2U);
    pos = 0;
    EXPECT_EQ(Scan("-17.5", pos), -17);
    EXPECT_EQ(pos, 3U);
    pos = 0;
    EXPECT_EQ(Scan("+8", pos), 8);
    EXPECT_EQ(pos, 2U);
    pos = 3;
    EXPECT_EQ(Scan("ab 0099", pos), 99);
    EXPECT_EQ(pos, 7U);
}

TEST(ScanDecimal, SkipsEveryKindOfCWhiteSpaceBeforeTheSign) {
    std::size_t pos = 0;
    EXPECT_EQ(Scan(" \t\n\v\f\r-5", pos), -5);
    EXPECT_EQ(pos, 8U);
    pos = 0;
    // White space between sign and digits is not part of a number.
    EXPECT_EQ(Scan("- 5", pos), std::nullopt);
    EXPECT_EQ(pos, 0U);
}

TEST(ScanDecimal, FailsWithoutDigitsAndLeavesThePositionAlone) {
    for (const std::string text : {"", "   ", "+", "-", "+-5", "x1",
                                   "\x01"
                                   "1",
                                   ".5"}) {
        std::size_t pos = 0;
        EXPECT_EQ(Scan(text, pos), std::nullopt) << text;
        EXPECT_EQ(pos, 0U) << text;
    }
    std::size_t pos = 4;
    EXPECT_EQ(Scan("1234", pos), std::nullopt);
    EXPECT_EQ(pos, 4U);
}

TEST(ScanDecimal, OutOfRangeSaturatesTo64BitsThenKeepsTheLow32) {
    std::size_t pos = 0;
    EXPECT_EQ(Scan("2147483647", pos), INT_MAX);
    pos = 0;
    EXPECT_EQ(Scan("-2147483648", pos), INT_MIN);
    pos = 0;
    EXPECT_EQ(Scan("2147483648", pos), INT_MIN);
    pos = 0;
    EXPECT_EQ(Scan("-2147483649", pos), INT_MAX);
    pos = 0;
    EXPECT_EQ(Scan("4294967297", pos), 1);
    pos = 0;
    EXPECT_EQ(Scan("9223372036854775807", pos), -1);  // 2^63-1: all low bits set
    pos = 0;
    EXPECT_EQ(Scan("99999999999999999999999999", pos), -1);  // saturated to 2^63-1
    EXPECT_EQ(pos, 26U);                                     // every digit consumed
    pos = 0;
    EXPECT_EQ(Scan("-99999999999999999999999999", pos), 0);  // saturated to -2^63
}

// strtoll saturates as the reader does, so it is an independent reference
// for the 64-bit step; the cast then keeps the low 32 bits.
TEST(ScanDecimal, AgreesWithStrtollTruncatedToInt) {
    const char* const samples[] = {"0",
                                   "-0",
                                   "7",
                                   "  -123456",
                                   "65536",
                                   "4294967295",
                                   "4294967296",
                                   "-4294967296",
                                   "1099511627776",
                                   "9223372036854775806",
                                   "9223372036854775808",
                                   "-9223372036854775807",
                                   "-9223372036854775809",
                                   "18446744073709551617",
                                   "000000000000000000000000000000012"};
    for (const char* text : samples) {
        errno = 0;
        const long long reference = std::strtoll(text, nullptr, 10);
        std::size_t pos = 0;
        EXPECT_EQ(Scan(text, pos), static_cast<int>(reference)) << text;
    }
}

TEST(LeadingDecimal, ReadsLikeAtoi) {
    EXPECT_EQ(LeadingDecimal("7abc"), 7);
    EXPECT_EQ(LeadingDecimal("abc"), 0);
    EXPECT_EQ(LeadingDecimal(""), 0);
    EXPECT_EQ(LeadingDecimal("\v -2x"), -2);
    EXPECT_EQ(LeadingDecimal("0x10"), 0);
    EXPECT_EQ(LeadingDecimal("+"), 0);
    EXPECT_EQ(LeadingDecimal("12 34"), 12);
}

TEST(ScanDottedAddress, PacksTheFirstNumberIntoTheLowestByte) {
    EXPECT_EQ(ScanDottedAddress("10.1.2.3"), Packed(10, 1, 2, 3));
    EXPECT_EQ(ScanDottedAddress("255.254.253.252"), Packed(255, 254, 253, 252));
    EXPECT_EQ(ScanDottedAddress("0.0.0.0"), 0U);
}

TEST(ScanDottedAddress, KeepsTheLow8BitsOfEveryNumber) {
    EXPECT_EQ(ScanDottedAddress("300.-1.256.511"), Packed(44, 255, 0, 255));
    EXPECT_EQ(ScanDottedAddress("-256.4294967297.+7.-0"), Packed(0, 1, 7, 0));
}

TEST(ScanDottedAddress, AllowsBlanksBeforeNumbersButNotBeforeDots) {
    EXPECT_EQ(ScanDottedAddress(" 1. 2.\t3.\n4"), Packed(1, 2, 3, 4));
    EXPECT_EQ(ScanDottedAddress("1 .2.3.4"), std::nullopt);
    EXPECT_EQ(ScanDottedAddress("1.2.3 .4"), std::nullopt);
}

TEST(ScanDottedAddress, IgnoresTextAfterTheFourthNumber) {
    EXPECT_EQ(ScanDottedAddress("1.2.3.4abc"), Packed(1, 2, 3, 4));
    EXPECT_EQ(ScanDottedAddress("1.2.3.4.5"), Packed(1, 2, 3, 4));
    EXPECT_EQ(ScanDottedAddress("1.2.3.4 x"), Packed(1, 2, 3, 4));
}

TEST(ScanDottedAddress, NeedsAllFourNumbers) {
    for (const char* text :
         {"", "word", "host.example.com", "1.2.3", "1.2.3.", "1.2..3.4", "1,2,3,4", ".1.2.3.4", "1.2.3.x", "1.2.3.-"}) {
        EXPECT_EQ(ScanDottedAddress(text), std::nullopt) << text;
    }
}

TEST(ScanMapPosition, ReadsXCommaY) {
    const auto position = ScanMapPosition("120,85");
    ASSERT_TRUE(position);
    EXPECT_EQ(position->nX, 120);
    EXPECT_EQ(position->nY, 85);
    const auto negative = ScanMapPosition("-5000,+99999tail");
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->nX, -5000);
    EXPECT_EQ(negative->nY, 99999);
}

TEST(ScanMapPosition, BlankBeforeEitherNumberButNotBeforeTheComma) {
    const auto blanks = ScanMapPosition(" 120, 85");
    ASSERT_TRUE(blanks);
    EXPECT_EQ(blanks->nX, 120);
    EXPECT_EQ(blanks->nY, 85);
    EXPECT_EQ(ScanMapPosition("120 ,85"), std::nullopt);
}

TEST(ScanMapPosition, NeedsBothNumbers) {
    for (const char* text : {"", "120", "120,", ",85", "120;85", "x,y", "120,y", "USA"}) {
        EXPECT_EQ(ScanMapPosition(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace lumetra
